#include "keychainsecretstore.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QEventLoop>
#include <QVariant>

#include <qt6keychain/keychain.h>

namespace {
using Outcome = SecretStore::Outcome;
const QString kSecretService = QStringLiteral("org.freedesktop.secrets");

enum class Keeper
{
    None,    // no session bus, or nobody on it who keeps secrets
    Running, // the Secret Service, or KWallet (which QtKeychain asks on KDE), runs
    OnDemand // the bus would start one
};

// libsecret would only say in words that there is no keyring ("Cannot autolaunch D-Bus without
// X11 $DISPLAY"); the bus tells it plainly.
Keeper keeperOnBus()
{
    static const QStringList keepers{kSecretService, QStringLiteral("org.kde.kwalletd5"),
                                     QStringLiteral("org.kde.kwalletd6")};
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface())
        return Keeper::None;
    const QDBusReply<QStringList> running = bus.interface()->registeredServiceNames();
    const QDBusReply<QStringList> activatable =
        bus.interface()->call(QStringLiteral("ListActivatableNames"));
    const auto offers = [&](const QDBusReply<QStringList>& names) {
        for (const QString& keeper : keepers) {
            if (names.isValid() && names.value().contains(keeper))
                return true;
        }
        return false;
    };
    if (offers(running))
        return Keeper::Running;
    // A keyring started on demand without a desktop to unlock it in (a box reached over ssh)
    // is locked or has no keyring at all, and would wait for a prompt nobody sees.
    const bool desktop =
        qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
    return desktop && offers(activatable) ? Keeper::OnDemand : Keeper::None;
}

// Asked of a Secret Service that runs only (never started by the asking). A lookup in a locked
// collection either prompts to unlock it or, where no prompt can be shown, finds nothing.
bool defaultCollectionLocked()
{
    QDBusMessage get = QDBusMessage::createMethodCall(
        kSecretService, QStringLiteral("/org/freedesktop/secrets/aliases/default"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << QStringLiteral("org.freedesktop.Secret.Collection") << QStringLiteral("Locked");
    get.setAutoStartService(false);
    const QDBusMessage reply = QDBusConnection::sessionBus().call(get);
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
           qvariant_cast<QDBusVariant>(reply.arguments().constFirst()).variant().toBool();
}

SecretStore::Result outcome(Outcome outcome)
{
    SecretStore::Result result;
    result.outcome = outcome;
    return result;
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
        result.outcome = Outcome::Done;
        break;
    case QKeychain::EntryNotFound:
        result.outcome = defaultCollectionLocked() ? Outcome::Locked : Outcome::NotFound;
        break;
    case QKeychain::AccessDenied:
    case QKeychain::AccessDeniedByUser:
        result.outcome = Outcome::Locked;
        break;
    case QKeychain::NoBackendAvailable:
    case QKeychain::NotImplemented:
        result.outcome = Outcome::Unavailable;
        break;
    case QKeychain::CouldNotDeleteEntry:
    case QKeychain::OtherError:
        result.outcome = Outcome::Failed;
        break;
    }
    return result;
}
} // namespace

SecretStore::Result KeychainSecretStore::read(const QString& service, const QString& key)
{
    const Keeper keeper = keeperOnBus();
    if (keeper == Keeper::None)
        return outcome(Outcome::Unavailable);
    // A timer's sync that asked a locked keyring would raise its unlock prompt every minute: a
    // locked one is not asked, and the user unlocks it when logging in (or in Seahorse).
    if (keeper == Keeper::Running && defaultCollectionLocked())
        return outcome(Outcome::Locked);
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
    const Keeper keeper = keeperOnBus();
    if (keeper == Keeper::None)
        return outcome(Outcome::Unavailable);
    QKeychain::WritePasswordJob job(service);
    job.setKey(key);
    job.setTextData(secret);
    Result result = finish(job);
    // A keyring the bus started just now that cannot take it (no keyring yet, and no prompt to
    // make one) is no keyring of a desktop session.
    if (keeper == Keeper::OnDemand && result.outcome != Outcome::Done)
        result.outcome = Outcome::Unavailable;
    return result;
}

SecretStore::Result KeychainSecretStore::remove(const QString& service, const QString& key)
{
    if (keeperOnBus() == Keeper::None)
        return outcome(Outcome::Unavailable);
    QKeychain::DeletePasswordJob job(service);
    job.setKey(key);
    Result result = finish(job);
    if (result.outcome == Outcome::NotFound)
        result.outcome = Outcome::Done;
    return result;
}
