// kovferrit-cli settings ... and account NAME.
#include "app/account.h"
#include "app/settings_listing.h"
#include "cli_commands.h"
#include "cli_frontend.h"
#include "settings/ckovreg.h"

#include <cstdio>
#include <iostream>
#include <string>

namespace cli {

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

} // namespace cli
