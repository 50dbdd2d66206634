// kovferrit-cli settings ... and account NAME.
#include "app/account.h"
#include "app/settingslisting.h"
#include "clicommands.h"
#include "clifrontend.h"
#include "settings/settingscatalogue.h"
#include "settings/settingsstore.h"

#include <QHash>

#include <cstdio>
#include <iostream>
#include <string>

namespace cli {
namespace {
const QString kSetNeeds =
    QStringLiteral("settings set takes NAME and either --text T or --number N");

// A name the program never reads, the other kind or a number out of its bounds is a typing
// mistake unless --force says otherwise.
int setCommand(const QCommandLineParser& parser, const QString& name)
{
    const bool number = parser.isSet(QStringLiteral("number"));
    if (number == parser.isSet(QStringLiteral("text")))
        return usage(kSetNeeds);
    const QString given = parser.value(number ? QStringLiteral("number") : QStringLiteral("text"));
    QVariant value = given;
    if (number) {
        bool ok = false;
        value = given.toInt(&ok);
        if (!ok)
            return usage(QStringLiteral("not a 32-bit number: ") + given);
    }
    const QString problem = kov::settingValueProblem(name, value);
    if (!parser.isSet(QStringLiteral("force")) && !problem.isEmpty())
        return complain(problem + QStringLiteral(" (--force stores it all the same)"), kUsage);
    SettingsStore settings = kov::settings();
    const bool stored =
        number ? settings.setNumber(name, value.toInt()) : settings.setText(name, given);
    return stored ? kOk : kFailed;
}
} // namespace

int settingsCommand(const QCommandLineParser& parser, const QStringList& args)
{
    const QString verb = args.value(0);
    // The options each action takes; an unknown action is answered with the list of actions.
    static const QHash<QString, QStringList> kOptions = {
        {QStringLiteral("set"),
         {QStringLiteral("text"), QStringLiteral("number"), QStringLiteral("force")}},
        {QStringLiteral("list"), {QStringLiteral("json"), QStringLiteral("show-secrets")}},
        {QStringLiteral("get"), {QStringLiteral("show-secrets")}},
        {QStringLiteral("delete"), {}},
        {QStringLiteral("export"), {}}};
    for (const QString& option : parser.optionNames()) {
        if (kOptions.contains(verb) && !kOptions[verb].contains(option))
            return usage(QStringLiteral("settings %1 does not take --%2").arg(verb, option));
    }
    if (verb == QLatin1String("set"))
        return args.size() == 2 ? setCommand(parser, args[1]) : usage(kSetNeeds);
    // The password's cipher and the access strings would log in as the account: hidden unless
    // asked for.
    const kov::Secrets secrets =
        parser.isSet(QStringLiteral("show-secrets")) ? kov::Secrets::Shown : kov::Secrets::Hidden;
    SettingsStore settings = kov::settings();
    if (verb == QLatin1String("list") && args.size() == 1 && parser.isSet(QStringLiteral("json"))) {
        kov::printJson({{QStringLiteral("settings"), kov::settingsObject(secrets)}});
        return kOk;
    }
    if (verb == QLatin1String("list") && args.size() == 1) {
        QString listing = kov::settingsListing(secrets);
        listing.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        std::fputs(listing.toLocal8Bit().constData(), stdout);
        return kOk;
    }
    if (verb == QLatin1String("get") && args.size() == 2) {
        if (!settings.valueExists(args[1]))
            return kFailed;
        kov::printLine(kov::shownValue(args[1], settings.value(args[1]), secrets).toString());
        return kOk;
    }
    if (verb == QLatin1String("delete") && args.size() == 2)
        return settings.deleteValue(args[1]) ? kOk : kFailed;
    // The export is for restoring the settings, so it keeps every value; it is written for the
    // owner alone.
    if (verb == QLatin1String("export") && args.size() == 2) {
        QString why;
        if (settings.exportTo(args[1], QString(), &why))
            return kOk;
        return complain(QStringLiteral("cannot export to %1: %2").arg(args[1], why), kFailed);
    }
    return usage(QStringLiteral("settings takes list, get NAME, set NAME, delete NAME or export "
                                "FILE"));
}

int accountCommand(const QCommandLineParser& parser, const QStringList& args)
{
    if (args.size() != 1)
        return usage(QStringLiteral("account needs one name"));
    std::string line;
    std::getline(std::cin, line);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    // An empty password could never log in, and would replace a working one: the input was
    // forgotten (a closed or empty standard input), so it is a usage error and nothing is stored.
    if (line.empty())
        return usage(QStringLiteral("account needs the password on the first line of standard "
                                    "input"));
    kov::storeAccount(args[0]);
    const PasswordStored stored =
        kov::storePassword(QString::fromLocal8Bit(line.c_str()),
                           parser.isSet(QStringLiteral("no-keyring")) ? PasswordPlace::ProgramFolder
                                                                      : PasswordPlace::Keyring);
    if (!stored.problem.isEmpty())
        return complain(stored.problem + QStringLiteral(" (account --no-keyring keeps it in the "
                                                        "program folder)"),
                        kFailed);
    if (const QString notice = kov::keyringNotice(stored); !notice.isEmpty())
        complain(notice, kOk);
    return stored.stored ? kOk : kFailed;
}

} // namespace cli
