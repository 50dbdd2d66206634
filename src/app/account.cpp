#include "account.h"

#include "foundation/aes.h"
#include "foundation/ckovreg.h"
#include "foundation/kov_vb.h"
#include "foundation/settings_catalogue.h"

namespace {
CKovReg settings()
{
    CKovReg reg;
    reg.SetInfo(kov_SettingsKey());
    return reg;
}
} // namespace

void kov_StoreAccount(const QString& account)
{
    CKovReg reg = settings();
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
    CKovReg reg = settings();
    return reg.setStr(KovSetting::Protocol, encrypted);
}

QString kov_StoredPassword()
{
    CKovReg reg = settings();
    return AES::DecryptText(reg.Str(KovSetting::Protocol), kov_ProcessPassPhrase());
}
