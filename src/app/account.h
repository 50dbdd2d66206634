#pragma once
// Storing the account and password as the main window does when its fields are left: the
// password in the desktop keyring where there is one (kov::writePassword).
#include "settings/accountpassword.h"

#include <QString>

namespace kov {
/// Writes `Account` unchanged; a password in the keyring moves to the new name.
void storeAccount(const QString& account);
/// Stores the password of the stored account (kov::writePassword).
PasswordStored storePassword(const QString& password, PasswordPlace place = PasswordPlace::Keyring);
/// "No desktop keyring is available ...", translated, the first time in this process a store
/// wanted the keyring and found none; empty otherwise.
QString keyringNotice(const PasswordStored& stored);
} // namespace kov
