#pragma once
// The command groups of kovferrit-cli; each returns the program's exit status (kOk, kFailed,
// kUsage), so scripts can tell a refused operation from a mistyped command.
#include <QStringList>

namespace cli {
constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

int usage(const QString& problem = QString());
/// Prints "kovferrit-cli: PROBLEM" to standard error and answers `status`.
int complain(const QString& problem, int status);
int settingsCommand(const QStringList& args);
int accountCommand(const QStringList& args);
int fetchCommand(const QStringList& args);
int syncCommand(const QStringList& args);
int tickCommand(const QStringList& args, bool keepTicking);
int channelsCommand(const QStringList& args);
int recordingsCommand(const QStringList& args);
} // namespace cli
