#pragma once
// The CLI's output, one prefixed line per text so scripts can read it: "message: TEXT" for
// showMessage, "update: TEXT" for showUpdateText, "box: TEXT" for what kov::runServerFunction
// writes into its output box.
#include "clitextbox.h"
#include "platform/syncfrontend.h"

#include <QJsonObject>
#include <QStringList>

class CliFrontEnd : public SyncFrontEnd
{
public:
    void showMessage(const QString& text) override;
    void showProblem(const QString& text) override;
    void showUpdateText(const QString& text) override;
    /// "message: " and the full summary, and the same on standard error, where a script or a
    /// daemon's log sees jobs that were skipped.
    void showSummary(const QString& brief, const QString& full) override;
    TextBox* messageArea() override { return &m_box; }
    void enableUpdateTimer() override { m_timerEnabled = true; }
    AccountEntry accountEntry() const override { return AccountEntry::Command; }
    bool timerEnabled() const { return m_timerEnabled; }

private:
    CliTextBox m_box;
    bool m_timerEnabled = false;
};

namespace kov {
/// Prints one line to standard output and flushes it, after ending an open progress line.
void printLine(const QString& line);
/// The fields joined by TABs into one output line, each with a backslash, CR, LF and TAB
/// written as \\, \r, \n and \t, so a name holding them keeps to its line and column.
QString tableRow(const QStringList& fields);
/// Sends the "message:", "update:" and "box:" lines to standard error instead, so that standard
/// output holds one JSON document alone.
void reportOnStderr(bool onStderr);
/// One "message:", "update:" or "box:" line, on standard output unless kov::reportOnStderr.
void reportLine(const QString& line);
/// -q: no progress line, no "box:" and "update:" lines and no summary of a sync that skipped
/// nothing; the "message:" lines, the results and every error stay.
void setQuiet(bool quiet);
bool quiet();
/// Prints `document` as one indented JSON document on standard output.
void printJson(const QJsonObject& document);
/// Shows `text` as the progress line on standard error, in place of the last one.
void progressLine(const QString& text);
/// Ends the progress line, if one is shown, so the next output starts on a line of its own.
void endProgressLine();
} // namespace kov
