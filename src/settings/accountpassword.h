#pragma once
// The account password: in the desktop keyring where there is one (settings.db then only says
// so, in PasswordInKeyring), else in `Protocol` under the password cipher as before.
#include <QString>

class SettingsStore;

enum class PasswordPlace
{
    Keyring,      // the desktop keyring; the program folder when there is none
    ProgramFolder // the program folder, chosen on purpose (kovferrit-cli account --no-keyring)
};

struct PasswordStored
{
    bool stored = false;
    bool inKeyring = false;
    /// Wanted in the keyring, kept in the program folder since no keyring is available.
    bool noKeyring = false;
    /// Why nothing was stored (translated); empty when it was.
    QString problem;
};

struct PasswordRead
{
    enum class Problem
    {
        None,
        KeyringLocked,
        KeyringUnreachable,
        NotInKeyring
    };
    QString password; // empty when none is stored or it cannot be read
    Problem problem = Problem::None;
    QString detail;
    /// The keyring will not give the password now, though it may later: a sync waits for it
    /// rather than asking for the account again.
    bool keyringNotReady() const
    {
        return problem == Problem::KeyringLocked || problem == Problem::KeyringUnreachable;
    }
};

namespace kov {
/// Stores the password of the stored account where `place` says. A password kept in the other
/// place before is removed from there, so it lives in one place only.
PasswordStored writePassword(SettingsStore& settings, const QString& password,
                             PasswordPlace place = PasswordPlace::Keyring);
PasswordRead readPassword(SettingsStore& settings);
/// The password was stored in the keyring (settings.db says so), whether the keyring answers now
/// or not.
bool passwordInKeyring(SettingsStore& settings);
/// The account's name changes: a password in the keyring moves to the new name's item.
void moveKeyringPassword(SettingsStore& settings, const QString& from, const QString& to);
/// Why the password could not be read, translated (one sentence); empty without a problem.
QString passwordProblemText(const PasswordRead& read);
/// The name of the keyring item of `account` in this program folder, which the keyring also
/// shows as its label.
QString keyringItemName(const QString& account);
} // namespace kov
