#pragma once
// The desktop keyring through QtKeychain (libsecret, else KWallet), each call waited for.
#include "secretstore.h"

class KeychainSecretStore : public SecretStore
{
public:
    Result read(const QString& service, const QString& key) override;
    Result write(const QString& service, const QString& key, const QString& secret) override;
    Result remove(const QString& service, const QString& key) override;
};
