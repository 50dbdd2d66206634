// kovferrit-cli daemon as a service: what it tells the service manager through NOTIFY_SOCKET,
// its one line per sync (with priorities when standard error is the journal), a stop during
// and after a sync, and a reload on SIGHUP.
#include "clitest.h"

#include <csignal>
#include <cstddef>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {
// The service manager's end: a datagram socket bound to a file, or to a name in the abstract
// namespace, given as "@name".
class NotifyListener
{
    QTemporaryDir m_dir; // first: the file socket's name lies in it

public:
    explicit NotifyListener(bool abstract)
        : name(abstract ? "@kovferrit-test-" + QByteArray::number(getpid())
                        : m_dir.filePath(u"notify"_s).toLocal8Bit()),
          m_fd(socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0))
    {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, name.constData(), static_cast<std::size_t>(name.size()));
        if (abstract)
            address.sun_path[0] = '\0';
        bound = bind(m_fd, reinterpret_cast<sockaddr*>(&address),
                     static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + name.size())) == 0;
    }
    ~NotifyListener() { close(m_fd); }
    /// Every datagram so far.
    const QStringList& received()
    {
        char buffer[4096];
        for (ssize_t n; (n = recv(m_fd, buffer, sizeof buffer, MSG_DONTWAIT)) > 0;)
            m_received << QString::fromUtf8(buffer, n);
        return m_received;
    }
    /// The last STATUS= sent.
    QString status()
    {
        QString last;
        for (const QString& datagram : received())
            for (const QString& line : datagram.split(u'\n'))
                if (line.startsWith(u"STATUS="_s))
                    last = line.mid(7);
        return last;
    }

    const QByteArray name;
    bool bound = false;

private:
    int m_fd;
    QStringList m_received;
};

// `journal`: standard error is the stream JOURNAL_STREAM names; else the variable names another
// one, as in a terminal a desktop session started.
void startDaemon(QProcess& daemon, const QString& home, const QByteArray& socket,
                 bool journal = false)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"NOTIFY_SOCKET"_s, QString::fromLocal8Bit(socket));
    environment.insert(u"JOURNAL_STREAM"_s, u"1:1"_s);
    daemon.setProcessEnvironment(environment);
    const QString stream =
        journal ? u"JOURNAL_STREAM=$(stat -L -c %d:%i /proc/self/fd/2) "_s : QString();
    daemon.start(u"sh"_s, {u"-c"_s, stream + u"exec \"$0\" \"$@\""_s,
                           qEnvironmentVariable("KOVFERRIT_CLI"), u"--home"_s, home, u"daemon"_s});
}
} // namespace

class TestDaemon : public CliTest
{
    Q_OBJECT
private slots:
    void notifiesAndLogsEachSync_data()
    {
        // Abstract socket, the getjobs answer (none: nobody listens), standard error as the
        // journal, the one line of the first sync (%1: the port).
        Columns<bool, QJsonObject, bool, QString>::add();
        const QString recJob = u"Alpha TV,101,5001,2026-12-24 20:15:00 +0100,2026-12-24 23:00:00 "
                               u"+0100,rec,F5001,0,1,0,2,1,n,f,,d,"_s;
        const QString skipped = u"Jobs: 0 scheduled, 0 deleted, 0 already there, 1 skipped (no "
                                u"channel number: Alpha TV); New Data Received"_s;
        const QString refused = u"Jobs: 0 scheduled, 0 deleted, 0 already there, 0 skipped; "
                                u"GetJobs FAILED -1; The Quib service at localhost, port %1, "
                                u"cannot be used: the connection was refused."_s;
        QTest::newRow("file socket, plain stream")
            << false << QJsonObject{{u"records"_s, QJsonArray{recJob}}} << false
            << u"sync succeeded: "_s + skipped;
        QTest::newRow("abstract socket, journal")
            << true << QJsonObject{{u"records"_s, QJsonArray{recJob}}} << true
            << u"<6>sync succeeded: "_s + skipped;
        QTest::newRow("refused, journal")
            << true << QJsonObject() << true << u"<3>sync failed: "_s + refused;
        QTest::newRow("refused, plain stream")
            << false << QJsonObject() << false << u"sync failed: "_s + refused;
    }
    void notifiesAndLogsEachSync()
    {
        const auto [abstract, getjobs, journal, line] =
            Columns<bool, QJsonObject, bool, QString>::fetch();
        Simulator sim;
        if (getjobs.isEmpty()) {
            QVERIFY((sim.port = refusingPort()) != 0);
        } else {
            QVERIFY(sim.start(standard(getjobs)));
        }
        setUp(sim, true);
        set(u"TimeoutSeconds"_s, u"1"_s);
        set(u"OpenURLRetries"_s, u"1"_s);
        NotifyListener manager(abstract);
        QVERIFY(manager.bound);
        QProcess daemon;
        startDaemon(daemon, m_home->path(), manager.name, journal);
        QTRY_VERIFY_WITH_TIMEOUT(manager.status().contains(u"Last sync"_s), 30000);
        const QString expected = QString(line).replace(u"%1"_s, QString::number(sim.port));
        QCOMPARE(manager.received().first(), u"READY=1\nSTATUS=Next sync now."_s);
        const QRegularExpression status(u"^Next sync %1\\. Last sync %1 %2$"_s.arg(
            u"\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d"_s,
            QRegularExpression::escape(expected.mid(expected.indexOf(u"sync "_s) + 5))));
        QVERIFY2(status.match(manager.status()).hasMatch(), qPrintable(manager.status()));
        daemon.terminate();
        QVERIFY(daemon.waitForFinished(10000));
        QCOMPARE(daemon.exitCode(), 0);
        QCOMPARE(manager.received().last(), u"STOPPING=1"_s);
        // One line for the sync, no countdown.
        QCOMPARE(QString::fromUtf8(daemon.readAllStandardError()), expected + u'\n');
        QCOMPARE(daemon.readAllStandardOutput(), QByteArray());
    }
    void stopsDuringAndAfterASync_data()
    {
        // The getjobs answers, whether SIGTERM comes during the first sync, the requests
        // served once a tick has followed.
        Columns<QJsonArray, bool, QStringList>::add();
        const QJsonObject noNews{{u"status"_s, 1}};
        QTest::newRow("after the first sync") << QJsonArray{noNews} << false << QStringList{u"1"_s};
        // The first sync stops before its first record and stays due.
        QTest::newRow("during the first sync")
            << QJsonArray{QJsonObject{{u"misbehave"_s, u"delay"_s}, {u"seconds"_s, 2}}, noNews}
            << true << QStringList{u"1"_s, u"1"_s};
    }
    void stopsDuringAndAfterASync()
    {
        const auto [answers, during, served] = Columns<QJsonArray, bool, QStringList>::fetch();
        QJsonObject functions = standard({});
        functions[u"getjobs"_s] = answers;
        Simulator sim;
        QVERIFY(sim.start(functions));
        setUp(sim, true);
        NotifyListener manager(false);
        QProcess daemon; // its first tick syncs at once
        startDaemon(daemon, m_home->path(), manager.name);
        if (during)
            QTRY_VERIFY_WITH_TIMEOUT(sim.served(u"function"_s).contains(u"getjobs"_s), 30000);
        else
            QTRY_VERIFY_WITH_TIMEOUT(manager.status().contains(u"Last sync"_s), 30000);
        daemon.terminate(); // SIGTERM ends it cleanly
        QVERIFY(daemon.waitForFinished(10000));
        QCOMPARE(daemon.exitStatus(), QProcess::NormalExit);
        QCOMPARE(daemon.exitCode(), 0);
        QCOMPARE(manager.received().last(), u"STOPPING=1"_s);
        QCOMPARE(run({u"tick"_s}).status, 0); // a sync only when the first one was cut short
        QCOMPARE(sim.served(u"initiator"_s), served);
    }
    void hangUpReloadsAndCarriesOn()
    {
        // The first sync finds nobody at the port; after the port is corrected, a HUP makes
        // the daemon read the settings again and sync at once, and it keeps running.
        Simulator sim;
        QVERIFY(sim.start(standard({{u"status"_s, 1}})));
        Simulator dead;
        QVERIFY((dead.port = refusingPort()) != 0);
        setUp(dead, true);
        set(u"TimeoutSeconds"_s, u"1"_s);
        set(u"OpenURLRetries"_s, u"1"_s);
        NotifyListener manager(false);
        QProcess daemon;
        startDaemon(daemon, m_home->path(), manager.name);
        QByteArray err;
        QTRY_VERIFY_WITH_TIMEOUT((err += daemon.readAllStandardError()).contains("sync failed"),
                                 30000);
        set(u"Port"_s, QString::number(sim.port));
        set(u"NextSync"_s, u"2000-01-01 00:00:00"_s, u"--text"_s);
        QCOMPARE(::kill(static_cast<pid_t>(daemon.processId()), SIGHUP), 0);
        QTRY_VERIFY_WITH_TIMEOUT((err += daemon.readAllStandardError()).contains("sync succeeded"),
                                 30000);
        QCOMPARE(daemon.state(), QProcess::Running);
        QVERIFY(manager.received().contains(u"RELOADING=1"_s));
        QVERIFY(manager.status().contains(u"succeeded"_s));
        daemon.terminate();
        QVERIFY(daemon.waitForFinished(10000));
        QCOMPARE(daemon.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(err).split(u'\n', Qt::SkipEmptyParts).mid(1, 1),
                 QStringList{u"settings reloaded"_s});
        QCOMPARE(sim.served(u"function"_s), QStringList{u"getjobs"_s});
    }
};

QTEST_GUILESS_MAIN(TestDaemon)
#include "tst_daemon.moc"
