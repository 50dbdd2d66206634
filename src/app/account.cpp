#include "account.h"

#include "foundation/passwordcipher.h"
#include "foundation/trace.h"
#include "settings/settingscatalogue.h"
#include "settings/settingsstore.h"

void kov::storeAccount(const QString& account)
{
    SettingsStore settings = kov::settings();
    kov::setText(settings, Setting::Account, account);
}

bool kov::storePassword(const QString& password)
{
    const QString phrase = kov::processPassPhrase();
    const QString encrypted = PasswordCipher::encryptText(password, phrase);
    if (PasswordCipher::decryptText(encrypted, phrase) != password) {
        kov::trace(QStringLiteral("Encrypt -> Decrypt IDE ERROR !"));
        return false;
    }
    SettingsStore settings = kov::settings();
    return kov::setText(settings, Setting::Protocol, encrypted);
}
