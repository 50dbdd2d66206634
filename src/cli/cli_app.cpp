#include "cli_app.h"

#include "app/kovferritsupport.h"
#include "app/startup.h"
#include "cli_commands.h"
#include "cli_frontend.h"
#include "foundation/kov_paths.h"
#include "foundation/translate.h"
#include "platform/httptransfer.h"
#include "platform/registrystore.h"
#include "settings/ckovreg.h"
#include "settings/settings_catalogue.h"
#include "terminal_ui.h"

#include <cstdio>

namespace cli {
namespace {
const char* const kUsageText =
    "usage: kovferrit-cli [--home DIR] COMMAND ...\n"
    "commands:\n"
    "  settings list | get NAME | set NAME (--text T | --number N) [--force] | delete NAME\n"
    "  settings export FILE\n"
    "  account NAME              (password from the first line of standard input)\n"
    "  translate TEXT\n"
    "  fetch FUNCTION [--manual] [--zero-serial]\n"
    "  sync [--timed] [--dry-run] [--channel NAME=NUMBER]...\n"
    "  tick [--admin]\n"
    "  daemon [--admin]\n"
    "  channels list | set NAME NUMBER | match\n"
    "  recordings\n";

// The CLI decrypts with the executable name the desktop program recorded, so both agree.
void adoptRecordedExecutableName()
{
    CKovReg reg = kov_Settings();
    if (reg.ValueExists(KovSetting::AppEXEName)) {
        const QString recorded = reg.Str(KovSetting::AppEXEName);
        if (!recorded.isEmpty())
            kov_SetExecutableName(recorded);
    }
}
} // namespace

int usage(const QString& problem)
{
    if (!problem.isEmpty())
        std::fprintf(stderr, "kovferrit-cli: %s\n", problem.toLocal8Bit().constData());
    std::fputs(kUsageText, stderr);
    return kUsage;
}

int complain(const QString& problem, int status)
{
    std::fprintf(stderr, "kovferrit-cli: %s\n", problem.toLocal8Bit().constData());
    return status;
}
} // namespace cli

int runCli(QStringList args)
{
    using namespace cli;
    static TerminalUserInterface ui;
    kov_SetUserInterface(&ui);
    if (args.value(0) == QLatin1String("--home")) {
        if (args.size() < 2)
            return usage(QStringLiteral("--home needs a folder"));
        kov_SetProgramFolder(args[1]);
        args = args.mid(2);
    }
    if (args.isEmpty())
        return usage();
    const QString command = args.takeFirst();
    if (command == QLatin1String("--help") || command == QLatin1String("help")) {
        std::fputs(kUsageText, stdout);
        return kOk;
    }
    // Every command keeps its state in the program folder; without it a command would answer
    // from defaults and store nothing.
    if (const QString problem = kov_ProgramFolderProblem(); !problem.isEmpty())
        return complain(QStringLiteral("cannot use the program folder %1: %2")
                            .arg(kov_ProgramFolder(), problem),
                        kFailed);
    if (const QString problem = RegistryStore::instance().problem(); !problem.isEmpty())
        return complain(QStringLiteral("cannot open the settings store %1: %2")
                            .arg(RegistryStore::instance().path(), problem),
                        kFailed);
    adoptRecordedExecutableName();
    // The transfer component lives as long as the command; the session goes before it.
    QtHttpTransfer transfer;
    kov_PrepareSession(&transfer);
    int status = kUsage;
    if (command == QLatin1String("settings"))
        status = settingsCommand(args);
    else if (command == QLatin1String("account"))
        status = accountCommand(args);
    else if (command == QLatin1String("translate") && args.size() == 1) {
        cliPrint(Translate(args[0]));
        status = kOk;
    } else if (command == QLatin1String("fetch"))
        status = fetchCommand(args);
    else if (command == QLatin1String("sync"))
        status = syncCommand(args);
    else if (command == QLatin1String("tick"))
        status = tickCommand(args, false);
    else if (command == QLatin1String("daemon"))
        status = tickCommand(args, true);
    else if (command == QLatin1String("channels"))
        status = channelsCommand(args);
    else if (command == QLatin1String("recordings"))
        status = recordingsCommand(args);
    else
        status = usage(QStringLiteral("unknown command: ") + command);
    kov_ResetSupport();
    kov_SetTransferComponent(nullptr);
    return status;
}
