#include "accountpassword.h"

#include "foundation/passwordcipher.h"
#include "foundation/programfolder.h"
#include "foundation/programname.h"
#include "foundation/trace.h"
#include "foundation/translate.h"
#include "platform/secretstore.h"
#include "settingscatalogue.h"
#include "settingsstore.h"

#include <QDir>

namespace {
using Outcome = SecretStore::Outcome;

// The cipher form, kept only when it decrypts back to the password.
bool storeInFolder(SettingsStore& settings, const QString& password)
{
    const QString phrase = kov::processPassPhrase();
    const QString encrypted = PasswordCipher::encryptText(password, phrase);
    if (PasswordCipher::decryptText(encrypted, phrase) != password) {
        kov::trace(QStringLiteral("Encrypt -> Decrypt IDE ERROR !"));
        return false;
    }
    return kov::setText(settings, Setting::Protocol, encrypted) &&
           kov::setNumber(settings, Setting::PasswordInKeyring, 0);
}

QString keyringWords(const SecretStore::Result& result)
{
    return result.detail.isEmpty() ? kov::translate(QStringLiteral("it gave no reason"))
                                   : result.detail;
}
} // namespace

bool kov::passwordInKeyring(SettingsStore& settings)
{
    return kov::number(settings, Setting::PasswordInKeyring) == 1;
}

QString kov::keyringItemName(const QString& account)
{
    // Stable whatever the locale: it finds the item again.
    return QStringLiteral("KovFerrit password of %1 (%2)")
        .arg(account, QDir::toNativeSeparators(kov::programFolder()));
}

PasswordStored kov::writePassword(SettingsStore& settings, const QString& password,
                                  PasswordPlace place)
{
    PasswordStored stored;
    const QString account = kov::text(settings, Setting::Account);
    SecretStore& keyring = kov::secretStore();
    if (place == PasswordPlace::Keyring && !password.isEmpty()) {
        const SecretStore::Result written =
            keyring.write(kov::keyringItemName(account), account, password);
        if (written.outcome == Outcome::Done) {
            // The cipher of an earlier store goes: the password lives in the keyring alone.
            stored.stored = kov::setNumber(settings, Setting::PasswordInKeyring, 1) &&
                            (!kov::settingExists(settings, Setting::Protocol) ||
                             kov::deleteSetting(settings, Setting::Protocol));
            stored.inKeyring = stored.stored;
            return stored;
        }
        if (written.outcome != Outcome::Unavailable) {
            // A keyring that refuses is not replaced by the weaker store behind the user's back.
            stored.problem =
                kov::translate(QStringLiteral("The desktop keyring did not take the password: %1"))
                    .arg(keyringWords(written));
            return stored;
        }
        stored.noKeyring = true;
    }
    if (kov::passwordInKeyring(settings)) {
        const SecretStore::Result removed = keyring.remove(kov::keyringItemName(account), account);
        if (removed.outcome != Outcome::Done)
            kov::trace(QStringLiteral("Keyring item not removed: ") + keyringWords(removed));
    }
    stored.stored = storeInFolder(settings, password);
    return stored;
}

PasswordRead kov::readPassword(SettingsStore& settings)
{
    PasswordRead read;
    if (!kov::passwordInKeyring(settings)) {
        read.password = PasswordCipher::decryptText(kov::text(settings, Setting::Protocol),
                                                    kov::processPassPhrase());
        return read;
    }
    const QString account = kov::text(settings, Setting::Account);
    const SecretStore::Result found =
        kov::secretStore().read(kov::keyringItemName(account), account);
    read.detail = found.detail;
    switch (found.outcome) {
    case Outcome::Done:
        read.password = found.secret;
        break;
    case Outcome::Locked:
        read.problem = PasswordRead::Problem::KeyringLocked;
        break;
    case Outcome::NotFound:
        read.problem = PasswordRead::Problem::NotInKeyring;
        break;
    case Outcome::Unavailable:
    case Outcome::Failed:
        read.problem = PasswordRead::Problem::KeyringUnreachable;
        break;
    }
    return read;
}

void kov::moveKeyringPassword(SettingsStore& settings, const QString& from, const QString& to)
{
    if (from == to || !kov::passwordInKeyring(settings))
        return;
    SecretStore& keyring = kov::secretStore();
    const SecretStore::Result found = keyring.read(kov::keyringItemName(from), from);
    // What cannot be read now stays where it is; the next read says why.
    if (found.outcome != Outcome::Done ||
        keyring.write(kov::keyringItemName(to), to, found.secret).outcome != Outcome::Done)
        return;
    keyring.remove(kov::keyringItemName(from), from);
}

QString kov::passwordProblemText(const PasswordRead& read)
{
    switch (read.problem) {
    case PasswordRead::Problem::None:
        break;
    case PasswordRead::Problem::KeyringLocked:
        return kov::translate(QStringLiteral(
            "The desktop keyring is locked, so the password cannot be read until it is unlocked."));
    case PasswordRead::Problem::KeyringUnreachable: {
        const QString text = kov::translate(QStringLiteral(
            "The desktop keyring cannot be reached, so the password cannot be read: enter it "
            "again to keep it in the program folder."));
        return read.detail.isEmpty() ? text : text + QLatin1Char(' ') + read.detail;
    }
    case PasswordRead::Problem::NotInKeyring:
        return kov::translate(QStringLiteral("The desktop keyring holds no password for this "
                                             "account: enter it again."));
    }
    return QString();
}
