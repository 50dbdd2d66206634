#include "account.h"

#include "foundation/passwordcipher.h"
#include "foundation/trace.h"
#include "settings/settingscatalogue.h"
#include "settings/settingsstore.h"

void kov::storeAccount(const QString& account)
{
    SettingsStore reg = kov::settings();
    reg.setText(KovSetting::Account, account);
}

bool kov::storePassword(const QString& password)
{
    const QString phrase = kov::processPassPhrase();
    const QString encrypted = PasswordCipher::encryptText(password, phrase);
    if (PasswordCipher::decryptText(encrypted, phrase) != password) {
        kov::trace(QStringLiteral("Encrypt -> Decrypt IDE ERROR !"));
        return false;
    }
    SettingsStore reg = kov::settings();
    return reg.setText(KovSetting::Protocol, encrypted);
}
