#include "account.h"

#include "foundation/translate.h"
#include "settings/settingscatalogue.h"
#include "settings/settingsstore.h"

void kov::storeAccount(const QString& account)
{
    SettingsStore settings = kov::settings();
    kov::moveKeyringPassword(settings, kov::text(settings, Setting::Account), account);
    kov::setText(settings, Setting::Account, account);
}

PasswordStored kov::storePassword(const QString& password, PasswordPlace place)
{
    SettingsStore settings = kov::settings();
    return kov::writePassword(settings, password, place);
}

QString kov::keyringNotice(const PasswordStored& stored)
{
    static bool said = false;
    if (!stored.noKeyring || said)
        return QString();
    said = true;
    return kov::translate(QStringLiteral("No desktop keyring is available, so the password is "
                                         "kept in the program folder."));
}
