// kovferrit-cli against a real GNOME Keyring (tests/e2e/keyring.sh starts one, unlocked, on a
// session bus of its own): the password goes into the keyring and into no file of the program
// folder, a sync reads it back, a locked keyring holds the sync until it is unlocked, a
// password stored before moves in, and without a keyring the program folder keeps it.
#include "clitest.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDirIterator>

namespace {
const QString kService = u"org.freedesktop.secrets"_s;
const QString kLogin = u"/org/freedesktop/secrets/collection/login"_s;
// "demo-password" under kovferrit-cli's pass phrase.
const QByteArray kCipher = "5637A682C675B2F295541AE853F5340DFBEF365CDDF91E509C6F40725A45099A";

QString serviceOwner()
{
    return QDBusConnection::sessionBus().interface()->serviceOwner(kService).value();
}

bool loginKeyringLocked()
{
    QDBusMessage get = QDBusMessage::createMethodCall(
        kService, kLogin, u"org.freedesktop.DBus.Properties"_s, u"Get"_s);
    get << u"org.freedesktop.Secret.Collection"_s << u"Locked"_s;
    const QDBusMessage reply = QDBusConnection::sessionBus().call(get);
    return qvariant_cast<QDBusVariant>(reply.arguments().value(0)).variant().toBool();
}
} // namespace

class TestKeyring : public CliTest
{
    Q_OBJECT
    Simulator sim;
    QProcess unlocked; // the keyring daemon that takes over, unlocked, once the user logs in

    QString get(const QString& name)
    {
        return run({u"settings"_s, u"get"_s, name, u"--show-secrets"_s}).out.trimmed();
    }
    void setDue() { set(u"NextSync"_s, u"2000-01-01 00:00:00"_s, u"--text"_s); }
    /// The files of the program folder that hold `bytes`.
    QStringList filesHolding(const QByteArray& bytes)
    {
        QStringList found;
        QDirIterator files(m_home->path(), QDir::Files | QDir::Hidden,
                           QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString file = files.next();
            if (readBytes(file).contains(bytes))
                found << file;
        }
        return found;
    }

private slots:
    void initTestCase() { QVERIFY(sim.start(standard({{u"records"_s, QJsonArray{}}}))); }

    void passwordInTheKeyringOnly()
    {
        setUp(sim, true);
        QCOMPARE(get(u"PasswordInKeyring"_s), u"1"_s);
        QCOMPARE(run({u"settings"_s, u"get"_s, u"Protocol"_s}).status, 1);
        QCOMPARE(run({u"sync"_s}).status, 0); // the access string from the keyring's password
        QCOMPARE(sim.served(u"account"_s).last(), u"demo"_s);
        const QByteArray utf16(reinterpret_cast<const char*>(u"demo-password"), 26);
        for (const QByteArray& form : {QByteArray("demo-password"), utf16, kCipher})
            QCOMPARE(filesHolding(form), QStringList());
        // One item per account and program folder, labelled so a user knows it.
        QProcess lookup;
        lookup.start(u"secret-tool"_s, {u"search"_s, u"user"_s, u"demo"_s});
        QVERIFY(lookup.waitForFinished());
        const QString found = QString::fromUtf8(lookup.readAllStandardOutput());
        QVERIFY2(found.contains(u"label = KovFerrit password of demo (%1)"_s.arg(m_home->path())),
                 qPrintable(found));
    }

    void storedPasswordMovesIn()
    {
        QCOMPARE(run({u"account"_s, u"--no-keyring"_s, u"demo"_s}, "demo-password\n").status, 0);
        QCOMPARE(get(u"Protocol"_s), QString::fromLatin1(kCipher));
        const Run moved = run({u"account"_s, u"demo"_s}, "demo-password\n");
        QCOMPARE(moved.status, 0);
        QCOMPARE(moved.err, QString()); // nothing to say: it went where asked
        QCOMPARE(get(u"PasswordInKeyring"_s), u"1"_s);
        QCOMPARE(run({u"settings"_s, u"get"_s, u"Protocol"_s}).status, 1);
        QCOMPARE(filesHolding(kCipher), QStringList()); // not even in a freed page
    }

    void withoutKeyringTheFolderKeepsIt_data()
    {
        QTest::addColumn<bool>("busOfItsOwn");
        QTest::newRow("no session bus at all") << false;
        // Over ssh: a bus that would start GNOME Keyring on demand, but no desktop to unlock it.
        QTest::newRow("a keyring only on demand, no desktop") << true;
    }
    void withoutKeyringTheFolderKeepsIt()
    {
        QFETCH(bool, busOfItsOwn);
        QProcess account;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(u"DISPLAY"_s);
        environment.remove(u"WAYLAND_DISPLAY"_s);
        if (!busOfItsOwn)
            environment.insert(u"DBUS_SESSION_BUS_ADDRESS"_s, u"unix:path=/nonexistent"_s);
        account.setProcessEnvironment(environment);
        const QStringList command{qEnvironmentVariable("KOVFERRIT_CLI"), u"--home"_s,
                                  m_home->path(), u"account"_s, u"demo"_s};
        if (busOfItsOwn)
            account.start(u"dbus-run-session"_s, QStringList{u"--"_s} + command);
        else
            account.start(command[0], command.mid(1));
        account.write("demo-password\n");
        account.closeWriteChannel();
        QVERIFY(account.waitForFinished(60000));
        QCOMPARE(account.exitCode(), 0);
        QVERIFY(QString::fromUtf8(account.readAllStandardError())
                    .contains(u"kovferrit-cli: No desktop keyring is available, so the password "
                              u"is kept in the program folder.\n"_s));
        QCOMPARE(get(u"Protocol"_s), QString::fromLatin1(kCipher));
        QCOMPARE(get(u"PasswordInKeyring"_s), u"0"_s);
    }

    void lockedKeyringHoldsTheSync()
    {
        setUp(sim, true);
        setDue();
        QDBusMessage lock =
            QDBusMessage::createMethodCall(kService, u"/org/freedesktop/secrets"_s,
                                           u"org.freedesktop.Secret.Service"_s, u"Lock"_s);
        lock << QVariant::fromValue(QList<QDBusObjectPath>{QDBusObjectPath(kLogin)});
        QDBusConnection::sessionBus().call(lock);
        QVERIFY(loginKeyringLocked());
        const QString locked =
            u"The desktop keyring is locked, so the password cannot be read until it is unlocked."_s;
        const Run tick = run({u"tick"_s});
        QCOMPARE(tick.status, 1);
        QVERIFY2(tick.out.contains(locked), qPrintable(tick.out + tick.err));
        QCOMPARE(get(u"NextSync"_s), u"2000-01-01 00:00:00"_s); // still due
        QVERIFY(run({u"status"_s}).out.contains(locked));
        // The user logs in: a keyring daemon unlocked with the login password takes over.
        // Until it owns the service's name, nothing may ask the service: the bus would start
        // another keyring daemon, a locked one, on demand.
        const QString before = serviceOwner();
        unlocked.start(u"gnome-keyring-daemon"_s, {u"--replace"_s, u"--foreground"_s, u"--unlock"_s,
                                                   u"--components=secrets"_s});
        unlocked.write(qgetenv("KOVFERRIT_TEST_KEYRING_PASSWORD"));
        unlocked.closeWriteChannel();
        for (int i = 0; i < 100 && (serviceOwner().isEmpty() || serviceOwner() == before); ++i)
            QTest::qWait(100);
        QVERIFY(!loginKeyringLocked());
        QCOMPARE(run({u"tick"_s}).status, 0);
        QVERIFY(get(u"NextSync"_s) != u"2000-01-01 00:00:00"_s);
    }

    void cleanupTestCase()
    {
        unlocked.kill();
        unlocked.waitForFinished();
    }
};

QTEST_GUILESS_MAIN(TestKeyring)
#include "tst_keyring.moc"
