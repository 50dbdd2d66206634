#pragma once
// Where the account password is kept when the desktop offers a keyring (the Secret Service of
// GNOME Keyring or KWallet). Tests install a store of their own; the programs use the keyring.
#include <QString>

class SecretStore
{
public:
    enum class Outcome
    {
        Done,
        NotFound,    // the keyring answers, but holds no such item
        Locked,      // the keyring holds its items but will not give them out until unlocked
        Unavailable, // no keyring here at all (no session bus, no Secret Service)
        Failed
    };
    struct Result
    {
        Outcome outcome = Outcome::Failed;
        QString secret; // what a read found
        QString detail; // the keyring's own words when it failed
    };

    virtual ~SecretStore() = default;
    /// One item is named by `service` (also the label the keyring shows) and `key`.
    virtual Result read(const QString& service, const QString& key) = 0;
    virtual Result write(const QString& service, const QString& key, const QString& secret) = 0;
    /// Removing an item that is not there is Done.
    virtual Result remove(const QString& service, const QString& key) = 0;
};

namespace kov {
/// The process-wide store: the desktop keyring (KeychainSecretStore) unless a test installs
/// another.
SecretStore& secretStore();
/// Installs the store for this process (not owned); nullptr restores the keyring.
void setSecretStore(SecretStore* store);
} // namespace kov
