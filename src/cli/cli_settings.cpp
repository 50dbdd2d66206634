// kovferrit-cli settings ... and account NAME.
#include "app/account.h"
#include "app/settings_listing.h"
#include "cli_commands.h"
#include "cli_frontend.h"
#include "settings/ckovreg.h"
#include "settings/settings_catalogue.h"

#include <cstdio>
#include <iostream>
#include <string>

namespace cli {
namespace {
// A name the program never reads, the other kind or a number out of its bounds is a typing
// mistake unless --force says otherwise.
int setCommand(QStringList args)
{
    bool force = false;
    if (args.value(0) == QLatin1String("--force") || args.value(3) == QLatin1String("--force")) {
        args.removeAt(args.value(0) == QLatin1String("--force") ? 0 : 3);
        force = true;
    }
    const bool number = args.value(1) == QLatin1String("--number");
    if (args.size() != 3 || (!number && args[1] != QLatin1String("--text")))
        return usage();
    QVariant value = args[2];
    if (number) {
        bool ok = false;
        value = args[2].toInt(&ok);
        if (!ok)
            return usage(QStringLiteral("not a 32-bit number: ") + args[2]);
    }
    const QString problem = kov_SettingValueProblem(args[0], value);
    if (!force && !problem.isEmpty())
        return complain(problem + QStringLiteral(" (--force stores it all the same)"), kUsage);
    CKovReg reg = kov_Settings();
    const bool stored = number ? reg.setLng(args[0], value.toInt()) : reg.setStr(args[0], args[2]);
    return stored ? kOk : kFailed;
}
} // namespace

int settingsCommand(const QStringList& args)
{
    const QString verb = args.value(0);
    CKovReg reg = kov_Settings();
    if (verb == QLatin1String("list") && args.size() == 1) {
        QString listing = kov_SettingsListing();
        listing.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        std::fputs(listing.toLocal8Bit().constData(), stdout);
        return kOk;
    }
    if (verb == QLatin1String("get") && args.size() == 2) {
        if (!reg.ValueExists(args[1]))
            return kFailed;
        cliPrint(reg.value(args[1]).toString());
        return kOk;
    }
    if (verb == QLatin1String("set"))
        return setCommand(args.mid(1));
    if (verb == QLatin1String("delete") && args.size() == 2)
        return reg.DeleteValue(args[1]) ? kOk : kFailed;
    if (verb == QLatin1String("export") && args.size() == 2) {
        QString why;
        if (reg.Export(args[1], QString(), &why))
            return kOk;
        return complain(QStringLiteral("cannot export to %1: %2").arg(args[1], why), kFailed);
    }
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

} // namespace cli
