#pragma once
// Storing the account and password as the main window does when its fields are left, the
// password encrypted with this process's pass phrase (kov_ProcessPassPhrase).
#include <QString>

/// Writes `Account` unchanged.
void kov_StoreAccount(const QString& account);
/// Encrypts, decrypts again, and writes `Protocol` only when that gives back `password`.
/// False (and the trace "Encrypt -> Decrypt IDE ERROR !") when the check fails.
bool kov_StorePassword(const QString& password);
