#pragma once
// Storing the account and password as the main window does when its fields are left, the
// password encrypted with this process's pass phrase (kov::processPassPhrase).
#include <QString>

namespace kov {
/// Writes `Account` unchanged.
void storeAccount(const QString& account);
/// Encrypts, decrypts again, and writes `Protocol` only when that gives back `password`.
/// False (and the trace "Encrypt -> Decrypt IDE ERROR !") when the check fails.
bool storePassword(const QString& password);
} // namespace kov
