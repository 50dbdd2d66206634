#pragma once
// Lines on standard error as the journal wants them: when systemd connected standard error to
// the journal, each line starts with its syslog priority ("<3>" an error, "<4>" a warning,
// "<6>" information, "<7>" a trace line), so the journal files it by priority, and a text of
// several lines becomes one line, so one message keeps one entry and one priority.
#include <QString>

namespace kov {
enum class LogPriority
{
    Error = 3,
    Warning = 4,
    Info = 6,
    Debug = 7,
};

/// True when standard error is the stream JOURNAL_STREAM names (its device and inode), so a
/// terminal that merely inherited the variable from a desktop session gets plain lines.
bool stderrIsJournal();
/// `text` as one line for standard error, ending in a line break: as it is, or under the
/// journal with the priority prefix and its line breaks made blanks.
QByteArray stderrLine(LogPriority priority, const QString& text);
/// Writes stderrLine() and flushes standard error.
void writeStderrLine(LogPriority priority, const QString& text);
} // namespace kov
