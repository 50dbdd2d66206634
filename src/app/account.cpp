#include "account.h"

#include "foundation/aes.h"
#include "foundation/trace.h"
#include "settings/ckovreg.h"
#include "settings/settings_catalogue.h"

void kov_StoreAccount(const QString& account)
{
    CKovReg reg = kov_Settings();
    reg.setStr(KovSetting::Account, account);
}

bool kov_StorePassword(const QString& password)
{
    const QString phrase = kov_ProcessPassPhrase();
    const QString encrypted = AES::EncryptText(password, phrase);
    if (AES::DecryptText(encrypted, phrase) != password) {
        kov_DebugMessage(QStringLiteral("Encrypt -> Decrypt IDE ERROR !"));
        return false;
    }
    CKovReg reg = kov_Settings();
    return reg.setStr(KovSetting::Protocol, encrypted);
}
