#pragma once
// The commands of kovferrit-cli; each returns the program's exit status (kOk, kFailed, kUsage,
// and for a sync kSkipped), so scripts can tell a refused operation from a mistyped command.
#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>

namespace cli {
constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;
constexpr int kSkipped = 3; ///< a sync that did its work but skipped jobs (see its summary)

/// One command: what its help shows, the options it owns and the function that runs it with
/// the parsed options and the arguments after the command name.
struct Command
{
    QString name;
    QString syntax;  // the arguments in the usage line
    QString summary; // one line in the command list and on top of its help
    QList<QCommandLineOption> options;
    QList<std::pair<QString, QString>> arguments; // name and description, for the help
    int (*run)(const QCommandLineParser& parser, const QStringList& args);
    // Options only before the first argument, so that "-5" or a text starting with "-" is taken
    // as the argument it is.
    bool freeArguments = false;
};

/// "kovferrit-cli: PROBLEM" and then the usage of the running command (or of the program) on
/// standard error; answers kUsage.
int usage(const QString& problem = QString());
/// Prints "kovferrit-cli: PROBLEM" to standard error and answers `status`.
int complain(const QString& problem, int status);
int settingsCommand(const QCommandLineParser& parser, const QStringList& args);
int accountCommand(const QCommandLineParser& parser, const QStringList& args);
int fetchCommand(const QCommandLineParser& parser, const QStringList& args);
int syncCommand(const QCommandLineParser& parser, const QStringList& args);
int tickCommand(const QCommandLineParser& parser, const QStringList& args);
int daemonCommand(const QCommandLineParser& parser, const QStringList& args);
int channelsCommand(const QCommandLineParser& parser, const QStringList& args);
int recordingsCommand(const QCommandLineParser& parser, const QStringList& args);
int statusCommand(const QCommandLineParser& parser, const QStringList& args);
} // namespace cli
