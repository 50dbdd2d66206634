#include "keychainsecretstore.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QEventLoop>
#include <QVariant>

#include <qt6keychain/keychain.h>

namespace {
const QString kSecretService = QStringLiteral("org.freedesktop.secrets");

// Without a session bus, or with nobody on it who keeps secrets (the Secret Service, or KWallet,
// which QtKeychain asks on KDE), there is no keyring to ask; libsecret would only say so in words
// ("Cannot autolaunch D-Bus without X11 $DISPLAY").
bool keyringReachable()
{
    static const QStringList keepers{kSecretService, QStringLiteral("org.kde.kwalletd5"),
                                     QStringLiteral("org.kde.kwalletd6")};
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface())
        return false;
    const QDBusReply<QStringList> running = bus.interface()->registeredServiceNames();
    const QDBusReply<QStringList> activatable =
        bus.interface()->call(QStringLiteral("ListActivatableNames"));
    for (const QString& keeper : keepers) {
        if ((running.isValid() && running.value().contains(keeper)) ||
            (activatable.isValid() && activatable.value().contains(keeper)))
            return true;
    }
    return false;
}

// A locked collection hides its items from a lookup, which then reads as "not found".
bool defaultCollectionLocked()
{
    QDBusMessage get = QDBusMessage::createMethodCall(
        kSecretService, QStringLiteral("/org/freedesktop/secrets/aliases/default"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << QStringLiteral("org.freedesktop.Secret.Collection") << QStringLiteral("Locked");
    const QDBusMessage reply = QDBusConnection::sessionBus().call(get);
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
           qvariant_cast<QDBusVariant>(reply.arguments().constFirst()).variant().toBool();
}

SecretStore::Result finish(QKeychain::Job& job)
{
    QEventLoop loop;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    job.setAutoDelete(false);
    job.start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    SecretStore::Result result;
    result.detail = job.errorString();
    switch (job.error()) {
    case QKeychain::NoError:
        result.outcome = SecretStore::Outcome::Done;
        break;
    case QKeychain::EntryNotFound:
        result.outcome = defaultCollectionLocked() ? SecretStore::Outcome::Locked
                                                   : SecretStore::Outcome::NotFound;
        break;
    case QKeychain::AccessDenied:
    case QKeychain::AccessDeniedByUser:
        result.outcome = SecretStore::Outcome::Locked;
        break;
    case QKeychain::NoBackendAvailable:
    case QKeychain::NotImplemented:
        result.outcome = SecretStore::Outcome::Unavailable;
        break;
    case QKeychain::CouldNotDeleteEntry:
    case QKeychain::OtherError:
        result.outcome = SecretStore::Outcome::Failed;
        break;
    }
    return result;
}

SecretStore::Result unreachable()
{
    SecretStore::Result result;
    result.outcome = SecretStore::Outcome::Unavailable;
    return result;
}
} // namespace

SecretStore::Result KeychainSecretStore::read(const QString& service, const QString& key)
{
    if (!keyringReachable())
        return unreachable();
    QKeychain::ReadPasswordJob job(service);
    job.setKey(key);
    Result result = finish(job);
    if (result.outcome == Outcome::Done)
        result.secret = job.textData();
    return result;
}

SecretStore::Result KeychainSecretStore::write(const QString& service, const QString& key,
                                               const QString& secret)
{
    if (!keyringReachable())
        return unreachable();
    QKeychain::WritePasswordJob job(service);
    job.setKey(key);
    job.setTextData(secret);
    return finish(job);
}

SecretStore::Result KeychainSecretStore::remove(const QString& service, const QString& key)
{
    if (!keyringReachable())
        return unreachable();
    QKeychain::DeletePasswordJob job(service);
    job.setKey(key);
    Result result = finish(job);
    if (result.outcome == Outcome::NotFound)
        result.outcome = Outcome::Done;
    return result;
}
