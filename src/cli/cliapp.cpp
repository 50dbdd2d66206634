#include "cliapp.h"

#include "app/sessioncontext.h"
#include "app/startup.h"
#include "clicommands.h"
#include "clifrontend.h"
#include "foundation/filewriters.h"
#include "foundation/journalstream.h"
#include "foundation/programfolder.h"
#include "foundation/programname.h"
#include "foundation/translate.h"
#include "platform/qthttptransfer.h"
#include "platform/settingsdatabase.h"
#include "recorders/recorderbackends.h"
#include "settings/settingscatalogue.h"
#include "settings/settingsstore.h"
#include "terminalui.h"

#include <cstdio>

namespace cli {
namespace {
const QString kProgram = QStringLiteral("kovferrit-cli");

QCommandLineOption flag(const QString& name, const QString& description)
{
    return QCommandLineOption(name, description);
}

QCommandLineOption valued(const QString& name, const QString& description, const QString& value)
{
    return QCommandLineOption(name, description, value);
}

QCommandLineOption jsonOption()
{
    return flag(QStringLiteral("json"), QStringLiteral("Print one JSON document instead."));
}

int translateCommand(const QCommandLineParser& /*parser*/, const QStringList& args)
{
    if (args.size() != 1)
        return usage(QStringLiteral("translate needs one text"));
    kov::printLine(kov::translate(args[0]));
    return kOk;
}

const QList<Command>& commandTable()
{
    static const QList<Command> table = {
        {QStringLiteral("settings"),
         QStringLiteral("ACTION [--text T | --number N] [--force] [--json] [--show-secrets]"),
         QStringLiteral("Show, change or export the settings."),
         {valued(QStringLiteral("text"), QStringLiteral("set: store T as text."),
                 QStringLiteral("T")),
          valued(QStringLiteral("number"), QStringLiteral("set: store N as a 32-bit number."),
                 QStringLiteral("N")),
          flag(QStringLiteral("force"),
               QStringLiteral("set: store a name the program does not read, or a value out of "
                              "its bounds, all the same.")),
          flag(QStringLiteral("json"), QStringLiteral("list: print one JSON document.")),
          flag(QStringLiteral("show-secrets"),
               QStringLiteral("list, get: show the password's cipher (Protocol) and the access "
                              "strings of the stored queries instead of (hidden)."))},
         {{QStringLiteral("list"), QStringLiteral("Every setting as NAME : VALUE.")},
          {QStringLiteral("get NAME"), QStringLiteral("One value; exit 1 when it is not set.")},
          {QStringLiteral("set NAME"), QStringLiteral("Store a value (--text or --number).")},
          {QStringLiteral("delete NAME"), QStringLiteral("Remove a value.")},
          {QStringLiteral("export FILE"), QStringLiteral("Write the settings as a .reg file.")}},
         settingsCommand},
        {QStringLiteral("account"),
         QStringLiteral("[--no-keyring] NAME"),
         QStringLiteral("Store the account; the password comes on standard input and goes to the "
                        "desktop keyring where there is one."),
         {flag(QStringLiteral("no-keyring"),
               QStringLiteral("Keep the password in the program folder, not in the keyring."))},
         {{QStringLiteral("NAME"), QStringLiteral("The account name at the Quib service.")}},
         accountCommand},
        {QStringLiteral("translate"),
         QStringLiteral("TEXT"),
         QStringLiteral("Show TEXT as the program's string files translate it."),
         {},
         {{QStringLiteral("TEXT"), QStringLiteral("A text the program shows.")}},
         translateCommand,
         true},
        {QStringLiteral("fetch"),
         QStringLiteral("FUNCTION [--manual] [--zero-serial]"),
         QStringLiteral("Ask the service one function and print its answer code."),
         {flag(QStringLiteral("manual"), QStringLiteral("Ask as a sync started by the user.")),
          flag(QStringLiteral("zero-serial"), QStringLiteral("Send the serial number 0."))},
         {{QStringLiteral("FUNCTION"),
           QStringLiteral("getjobs, channelguide or gettargetsystems.")}},
         fetchCommand},
        {QStringLiteral("sync"),
         QStringLiteral("[--timed] [--dry-run [--json]] [--channel NAME=NUMBER]..."),
         QStringLiteral("Download the jobs and schedule them into the recorder."),
         {flag(QStringLiteral("timed"), QStringLiteral("Sync as the update timer does.")),
          flag(QStringLiteral("dry-run"),
               QStringLiteral("Only report each job; change neither the recorder nor the "
                              "channel database.")),
          valued(QStringLiteral("channel"),
                 QStringLiteral("The tuner number of a channel the channel database lacks, "
                                "instead of asking."),
                 QStringLiteral("NAME=NUMBER")),
          flag(QStringLiteral("json"),
               QStringLiteral("With --dry-run: print the jobs as one JSON document."))},
         {},
         syncCommand},
        {QStringLiteral("tick"),
         QStringLiteral("[--admin]"),
         QStringLiteral("One step of the update timer: sync when it is due."),
         {flag(QStringLiteral("admin"), QStringLiteral("Run as in administrator mode."))},
         {},
         tickCommand},
        {QStringLiteral("daemon"),
         QStringLiteral("[--admin]"),
         QStringLiteral("Run the update timer every minute until SIGTERM or SIGINT."),
         {flag(QStringLiteral("admin"), QStringLiteral("Run as in administrator mode."))},
         {},
         daemonCommand},
        {QStringLiteral("channels"),
         QStringLiteral("list [--json] | set NAME NUMBER | match"),
         QStringLiteral("Show or change the tuner numbers of the service's channels."),
         {},
         {{QStringLiteral("list [--json]"),
           QStringLiteral("Every channel and its number, TAB-separated or as JSON.")},
          {QStringLiteral("set NAME NUMBER"),
           QStringLiteral("Give a channel a number from 1 to 999 (empty removes it).")},
          {QStringLiteral("match"),
           QStringLiteral("Fill the missing numbers from the recorder's channels by name.")}},
         channelsCommand,
         true},
        {QStringLiteral("recordings"),
         QStringLiteral("[--json]"),
         QStringLiteral("List the recorder's programs, TAB-separated."),
         {jsonOption()},
         {},
         recordingsCommand},
        {QStringLiteral("status"),
         QStringLiteral("[--json]"),
         QStringLiteral("Show the account, the recorder, the last and the next sync; exit 0 when "
                        "the last sync went well."),
         {jsonOption()},
         {},
         statusCommand},
    };
    return table;
}

const Command* findCommand(const QString& name)
{
    for (const Command& command : commandTable()) {
        if (command.name == name)
            return &command;
    }
    return nullptr;
}

QCommandLineOption helpOption()
{
    return QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")},
                              QStringLiteral("Show this help."));
}

// The parser's help with our own usage line in place of its first line, which names the
// executable by the path it was started with.
QString helpText(const QCommandLineParser& parser, const QString& usageLine)
{
    return QStringLiteral("usage: ") + usageLine + QLatin1Char('\n') +
           parser.helpText().section(QLatin1Char('\n'), 1);
}

void setUpProgramParser(QCommandLineParser& parser)
{
    parser.setApplicationDescription(
        QStringLiteral("Downloads recording jobs from the Quib service and schedules them into "
                       "the\nrecorder, without a window."));
    parser.addOption(valued(QStringLiteral("home"),
                            QStringLiteral("The program folder: settings, channel database, "
                                           "logs."),
                            QStringLiteral("DIR")));
    parser.addOption(helpOption());
    parser.addOption(flag(QStringLiteral("version"), QStringLiteral("Show the version.")));
    parser.addOption(QCommandLineOption({QStringLiteral("q"), QStringLiteral("quiet")},
                                        QStringLiteral("No progress and no informational lines; "
                                                       "results and errors only.")));
    parser.addOption(QCommandLineOption({QStringLiteral("v"), QStringLiteral("verbose")},
                                        QStringLiteral("Show the diagnostic lines (as "
                                                       "KOVFERRIT_TRACE=1 does).")));
    // Everything after the command name belongs to the command.
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
}

QString programHelp()
{
    QCommandLineParser parser;
    setUpProgramParser(parser);
    QString text =
        helpText(parser, kProgram + QStringLiteral(" [--home DIR] [-q | -v] COMMAND ..."));
    text += QStringLiteral("\nCommands:\n");
    for (const Command& command : commandTable())
        text += QStringLiteral("  %1%2\n").arg(command.name, -12).arg(command.summary);
    text += QStringLiteral("  %1%2\n")
                .arg(QStringLiteral("help"), -12)
                .arg(QStringLiteral("Show this help, or a command's with help COMMAND."));
    // From the list the factory makes recorders from, so a new backend shows here by itself.
    text += QStringLiteral("\nRecorders (settings set Recorder --text NAME):\n");
    for (const RecorderBackend& backend : kov::recorderBackends())
        text += QStringLiteral("  %1%2\n").arg(backend.name, -12).arg(backend.label());
    return text + QStringLiteral("\n\"%1 COMMAND --help\" shows the arguments and options of a "
                                 "command.\n")
                      .arg(kProgram);
}

void setUpCommandParser(QCommandLineParser& parser, const Command& command)
{
    parser.setApplicationDescription(command.summary);
    parser.addOption(helpOption());
    parser.addOptions(command.options);
    if (command.freeArguments)
        parser.setOptionsAfterPositionalArgumentsMode(
            QCommandLineParser::ParseAsPositionalArguments);
}

QString commandHelp(const Command& command)
{
    QCommandLineParser parser;
    setUpCommandParser(parser, command);
    QString text = helpText(parser, QStringLiteral("%1 [--home DIR] %2 %3")
                                        .arg(kProgram, command.name, command.syntax)
                                        .trimmed());
    // Written here, not by the parser: it wraps argument names longer than its option names.
    if (!command.arguments.isEmpty())
        text += QStringLiteral("\nArguments:\n");
    qsizetype width = 0;
    for (const auto& argument : command.arguments)
        width = qMax(width, argument.first.size());
    for (const auto& [name, description] : command.arguments)
        text += QStringLiteral("  %1  %2\n").arg(name, -int(width)).arg(description);
    return text;
}

// The command whose usage an error shows; none before the command is known.
const Command* g_running = nullptr;

void print(FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

// QCommandLineParser's "Unknown option 'x'." as our other problems read: "unknown option 'x'".
QString parseProblem(const QCommandLineParser& parser)
{
    QString text = parser.errorText();
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    if (!text.isEmpty())
        text[0] = text[0].toLower();
    return text;
}

// The CLI decrypts with the executable name the desktop program recorded, so both agree.
void adoptRecordedExecutableName()
{
    SettingsStore settings = kov::settings();
    if (kov::settingExists(settings, Setting::ExecutableName)) {
        const QString recorded = kov::rawText(settings, Setting::ExecutableName);
        if (!recorded.isEmpty())
            kov::setExecutableName(recorded);
    }
}

// Opens what every command keeps its state in, then runs it. Without the program folder a
// command would answer from defaults and store nothing.
int runCommand(const Command& command, const QCommandLineParser& parser)
{
    if (const QString problem = kov::programFolderProblem(); !problem.isEmpty())
        return complain(QStringLiteral("cannot use the program folder %1: %2")
                            .arg(kov::programFolder(), problem),
                        kFailed);
    if (const QString problem = SettingsDatabase::instance().problem(); !problem.isEmpty())
        return complain(QStringLiteral("cannot open the settings store %1: %2")
                            .arg(SettingsDatabase::instance().path(), problem),
                        kFailed);
    adoptRecordedExecutableName();
    // The HTTP transfer lives as long as the command; the session goes before it.
    QtHttpTransfer transfer;
    kov::prepareSession(&transfer);
    int status = command.run(parser, parser.positionalArguments());
    // A file of the program's that could not be written was named on standard error when it
    // failed; the command has not done all its work.
    if (!kov::takeWriteFailure().isEmpty() && status == kOk)
        status = kFailed;
    kov::resetSupport();
    kov::setSharedTransfer(nullptr);
    return status;
}
} // namespace

int usage(const QString& problem)
{
    // The problem and where to read more, rather than a whole help that scrolls it away.
    if (!problem.isEmpty())
        std::fprintf(stderr, "kovferrit-cli: %s\n", problem.toLocal8Bit().constData());
    const QString help =
        g_running ? g_running->name + QStringLiteral(" --help") : QStringLiteral("--help");
    std::fprintf(stderr, "Try 'kovferrit-cli %s'.\n", help.toLocal8Bit().constData());
    return kUsage;
}

int complain(const QString& problem, int status)
{
    // kOk: a report, such as a sync's summary, not a problem.
    kov::writeStderrLine(status == kOk ? kov::LogPriority::Info : kov::LogPriority::Error,
                         QStringLiteral("kovferrit-cli: ") + problem);
    return status;
}
} // namespace cli

int runCli(const QStringList& args)
{
    using namespace cli;
    static TerminalUserInterface ui;
    kov::setUserInterface(&ui);
    g_running = nullptr;
    QCommandLineParser program;
    setUpProgramParser(program);
    if (!program.parse(QStringList{kProgram} + args))
        return usage(parseProblem(program));
    if (program.isSet(QStringLiteral("help"))) {
        print(stdout, programHelp());
        return kOk;
    }
    if (program.isSet(QStringLiteral("version"))) {
        print(stdout, kProgram + QStringLiteral(" " KOVFERRIT_VERSION "\n"));
        return kOk;
    }
    if (program.isSet(QStringLiteral("quiet")) && program.isSet(QStringLiteral("verbose")))
        return usage(QStringLiteral("--quiet and --verbose exclude each other"));
    kov::setQuiet(program.isSet(QStringLiteral("quiet")));
    // The trace channel reads its switch from the environment, once, when it first traces.
    if (program.isSet(QStringLiteral("verbose")))
        qputenv("KOVFERRIT_TRACE", "1");
    if (program.isSet(QStringLiteral("home"))) {
        // An empty value (an unset variable in "--home=$DIR") would fall back to the default
        // folder and change another program folder than the one meant.
        const QString home = program.value(QStringLiteral("home"));
        if (home.isEmpty())
            return usage(QStringLiteral("--home needs a folder"));
        kov::setProgramFolder(home);
    }
    QStringList rest = program.positionalArguments();
    if (rest.isEmpty())
        return usage(QStringLiteral("no command given"));
    const QString name = rest.takeFirst();
    if (name == QLatin1String("help")) {
        if (rest.isEmpty()) {
            print(stdout, programHelp());
            return kOk;
        }
        if (const Command* command = findCommand(rest[0]); command && rest.size() == 1) {
            print(stdout, commandHelp(*command));
            return kOk;
        }
        return usage(QStringLiteral("no help on: ") + rest.join(QLatin1Char(' ')));
    }
    const Command* command = findCommand(name);
    if (!command)
        return usage(QStringLiteral("unknown command: ") + name);
    g_running = command;
    QCommandLineParser parser;
    setUpCommandParser(parser, *command);
    if (!parser.parse(QStringList{kProgram + QLatin1Char(' ') + name} + rest))
        return usage(parseProblem(parser));
    if (parser.isSet(QStringLiteral("help"))) {
        print(stdout, commandHelp(*command));
        return kOk;
    }
    const int status = runCommand(*command, parser);
    kov::endProgressLine(); // a run stopped before its last job leaves the line open
    return status;
}
