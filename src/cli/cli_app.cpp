#include "cli_app.h"

#include "app/account.h"
#include "app/settings_listing.h"
#include "app/translate.h"
#include "foundation/ckovreg.h"
#include "foundation/kov_paths.h"
#include "foundation/settings_catalogue.h"
#include "terminal_ui.h"

#include <cstdio>
#include <iostream>
#include <string>

namespace {
constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

const char* const kUsageText =
    "usage: kovferrit-cli [--home DIR] COMMAND ...\n"
    "commands:\n"
    "  settings list\n"
    "  settings get NAME\n"
    "  settings set NAME --text T | --number N\n"
    "  settings delete NAME\n"
    "  settings export FILE\n"
    "  account NAME              (password from the first line of standard input)\n"
    "  translate TEXT\n";

void out(const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stdout);
    std::fputc('\n', stdout);
}

int usage(const QString& problem = QString())
{
    if (!problem.isEmpty())
        std::fprintf(stderr, "kovferrit-cli: %s\n", problem.toLocal8Bit().constData());
    std::fputs(kUsageText, stderr);
    return kUsage;
}

CKovReg settings()
{
    CKovReg reg;
    reg.SetInfo(kov_SettingsKey());
    return reg;
}

int settingsCommand(const QStringList& args)
{
    const QString verb = args.value(0);
    CKovReg reg = settings();
    if (verb == QLatin1String("list") && args.size() == 1) {
        QString listing = kov_SettingsListing();
        listing.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        std::fputs(listing.toLocal8Bit().constData(), stdout);
        return kOk;
    }
    if (verb == QLatin1String("get") && args.size() == 2) {
        if (!reg.ValueExists(args[1]))
            return kFailed;
        out(reg.value(args[1]).toString());
        return kOk;
    }
    if (verb == QLatin1String("set") && args.size() == 4) {
        if (args[2] == QLatin1String("--text"))
            return reg.setStr(args[1], args[3]) ? kOk : kFailed;
        if (args[2] == QLatin1String("--number")) {
            bool ok = false;
            const qint32 number = args[3].toInt(&ok);
            if (!ok)
                return usage(QStringLiteral("not a 32-bit number: ") + args[3]);
            return reg.setLng(args[1], number) ? kOk : kFailed;
        }
    }
    if (verb == QLatin1String("delete") && args.size() == 2)
        return reg.DeleteValue(args[1]) ? kOk : kFailed;
    if (verb == QLatin1String("export") && args.size() == 2)
        return reg.Export(args[1]) ? kOk : kFailed;
    return usage();
}

int accountCommand(const QStringList& args)
{
    if (args.size() != 1)
        return usage();
    std::string line;
    std::getline(std::cin, line);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    kov_StoreAccount(args[0]);
    return kov_StorePassword(QString::fromLocal8Bit(line.c_str())) ? kOk : kFailed;
}

// The CLI decrypts with the executable name the desktop program recorded, so both agree.
void adoptRecordedExecutableName()
{
    CKovReg reg = settings();
    if (reg.ValueExists(KovSetting::AppEXEName)) {
        const QString recorded = reg.Str(KovSetting::AppEXEName);
        if (!recorded.isEmpty())
            kov_SetExecutableName(recorded);
    }
}
} // namespace

int runCli(QStringList args)
{
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
    adoptRecordedExecutableName();
    if (command == QLatin1String("settings"))
        return settingsCommand(args);
    if (command == QLatin1String("account"))
        return accountCommand(args);
    if (command == QLatin1String("translate") && args.size() == 1) {
        out(Translate(args[0]));
        return kOk;
    }
    if (command == QLatin1String("--help") || command == QLatin1String("help")) {
        std::fputs(kUsageText, stdout);
        return kOk;
    }
    return usage(QStringLiteral("unknown command: ") + command);
}
