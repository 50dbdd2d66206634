#include "secretstore.h"

#include "keychainsecretstore.h"

namespace {
SecretStore*& installed()
{
    static SecretStore* store = nullptr;
    return store;
}
} // namespace

SecretStore& kov::secretStore()
{
    static KeychainSecretStore keyring;
    return installed() ? *installed() : keyring;
}

void kov::setSecretStore(SecretStore* store)
{
    installed() = store;
}
