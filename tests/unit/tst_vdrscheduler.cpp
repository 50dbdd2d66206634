// The VDR backend against a scripted SVDRP server: what it sends, how it reads multi-line
// replies, and that a refusing, silent or broken server costs a bounded wait and no timer.
#include "recorders/vdrscheduler.h"
#include "testsupport.h"

#include <QtTest>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>

namespace {
const char* const kGreeting = "220 vm SVDRP VideoDiskRecorder 2.6.0; today; UTF-8\r\n";

/// Accepts one client; sends the greeting, then answers the n-th command line with the n-th
/// answer ("" keeps silent, "<close>" hangs up). Records the lines it got.
class ScriptedVdr
{
public:
    ScriptedVdr(QByteArray greeting, QList<QByteArray> answers)
        : m_greeting(std::move(greeting)), m_answers(std::move(answers))
    {
        m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof addr;
        ::bind(m_listener, reinterpret_cast<sockaddr*>(&addr), len);
        ::listen(m_listener, 1);
        ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&addr), &len);
        m_port = ntohs(addr.sin_port);
        m_thread = std::thread([this] { serve(); });
    }
    ~ScriptedVdr()
    {
        if (m_thread.joinable())
            m_thread.join();
        ::close(m_listener);
    }
    quint16 port() const { return m_port; }
    /// The command lines received, once the client has gone.
    QStringList received()
    {
        if (m_thread.joinable())
            m_thread.join();
        return m_received;
    }

private:
    void serve()
    {
        pollfd p{m_listener, POLLIN, 0};
        if (::poll(&p, 1, 5000) != 1)
            return;
        const int fd = ::accept(m_listener, nullptr, nullptr);
        ::send(fd, m_greeting.constData(), size_t(m_greeting.size()), MSG_NOSIGNAL);
        QByteArray pending;
        for (const QByteArray& answer : m_answers) {
            const QByteArray line = readLine(fd, pending);
            if (line.isNull())
                break;
            m_received << QString::fromUtf8(line);
            if (answer == "<close>")
                break;
            ::send(fd, answer.constData(), size_t(answer.size()), MSG_NOSIGNAL);
        }
        // Whatever comes after the script (QUIT) is read until the client hangs up.
        for (QByteArray line; !m_answers.isEmpty() && !(line = readLine(fd, pending)).isNull();)
            m_received << QString::fromUtf8(line);
        ::close(fd);
    }
    static QByteArray readLine(int fd, QByteArray& pending)
    {
        while (!pending.contains('\n')) {
            pollfd p{fd, POLLIN, 0};
            char buffer[4096];
            if (::poll(&p, 1, 5000) != 1)
                return QByteArray();
            const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
            if (n <= 0)
                return QByteArray();
            pending.append(buffer, n);
        }
        const qsizetype end = pending.indexOf('\n');
        QByteArray line = pending.left(end);
        pending.remove(0, end + 1);
        return line.endsWith('\r') ? line.chopped(1) : line;
    }

    QByteArray m_greeting;
    QList<QByteArray> m_answers;
    QStringList m_received;
    int m_listener = -1;
    quint16 m_port = 0;
    std::thread m_thread;
};

std::unique_ptr<VdrScheduler> connectTo(ScriptedVdr& vdr)
{
    return VdrScheduler::Connect(QStringLiteral("127.0.0.1"), vdr.port(), 1);
}

QDateTime at(const char* text)
{
    return QDateTime::fromString(QString::fromLatin1(text), Qt::ISODate);
}

QByteArray timerLine(const char* prefix, int id, int flags, const QString& name,
                     const char* aux = nullptr)
{
    const QString a =
        aux ? QString::fromLatin1(aux) : VdrScheduler::AuxFor(name, QStringLiteral("fs:1"));
    return QByteArray(prefix) + QByteArray::number(id) + ' ' + QByteArray::number(flags) +
           ":7:2026-12-10:2015:2100:50:99:" + name.toUtf8() + ':' + a.toUtf8() + "\r\n";
}
} // namespace

class TestVdrScheduler : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }
    void createSendsOneTimer_data();
    void createSendsOneTimer();
    void findsAndDeletesOnlyItsOwnTimer();
    void leavesARecordingTimer();
    void brokenServers_data();
    void brokenServers();
    void listsChannels();

private:
    std::unique_ptr<TestEnvironment> m_env;
};

void TestVdrScheduler::createSendsOneTimer_data()
{
    QTest::addColumn<QDateTime>("start");
    QTest::addColumn<QDateTime>("end");
    QTest::addColumn<int>("recurrence");
    QTest::addColumn<QByteArray>("lstc");
    QTest::addColumn<QByteArray>("newt");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("sent");

    const QByteArray known =
        "250 7 Alpha TV;Test:11836:hC34M2S0:S19.2E:27500:101=2:0:0:0:1:1:0\r\n";
    const QByteArray ok = "250 1 1:7:2026-12-10:2015:2100:50:99:x:y\r\n";
    const char* aux = "<kovferrit><name>Film: A&amp;B</name><tag>fs:4711</tag></kovferrit>";
    QTest::newRow("single") << at("2026-12-10T20:15:00") << at("2026-12-10T21:00:00") << 0 << known
                            << ok << 0
                            << QStringLiteral("NEWT 1:7:2026-12-10:2015:2100:50:99:Film| A&B:") +
                                   QLatin1String(aux);
    QTest::newRow("past midnight, every day")
        << at("2026-12-10T23:30:00") << at("2026-12-11T00:30:00") << 1 << known << ok << 0
        << QStringLiteral("NEWT 1:7:MTWTFSS@2026-12-10:2330:0030:50:99:Film| A&B:") +
               QLatin1String(aux);
    QTest::newRow("unknown channel")
        << at("2026-12-10T20:15:00") << at("2026-12-10T21:00:00") << 0
        << QByteArray("501 Channel \"7\" not defined\r\n") << QByteArray() << 2 << QString();
    QTest::newRow("refused") << at("2026-12-10T20:15:00") << at("2026-12-10T21:00:00") << 0 << known
                             << QByteArray("501 Error in timer settings\r\n") << 3
                             << QStringLiteral("NEWT 1:7:2026-12-10:2015:2100:50:99:Film| A&B:") +
                                    QLatin1String(aux);
}

void TestVdrScheduler::createSendsOneTimer()
{
    QFETCH(QDateTime, start);
    QFETCH(QDateTime, end);
    QFETCH(int, recurrence);
    QFETCH(QByteArray, lstc);
    QFETCH(QByteArray, newt);
    QFETCH(int, result);
    QFETCH(QString, sent);
    ScriptedVdr server(kGreeting,
                       newt.isEmpty() ? QList<QByteArray>{lstc} : QList<QByteArray>{lstc, newt});
    {
        auto vdr = connectTo(server);
        QVERIFY(vdr);
        QCOMPARE(vdr->CreateProgram(1, QStringLiteral("Film: A&B"), start, end, 7, 1,
                                    QStringLiteral("file"), QStringLiteral("fs:4711"), recurrence,
                                    QVariant(), true),
                 result);
    }
    const QStringList got = server.received();
    QCOMPARE(got.value(0), QStringLiteral("LSTC 7"));
    QCOMPARE(got.value(1), sent.isEmpty() ? QStringLiteral("QUIT") : sent);
}

void TestVdrScheduler::findsAndDeletesOnlyItsOwnTimer()
{
    const QByteArray list = timerLine("250-", 3, 1, QStringLiteral("Film")) +
                            timerLine("250-", 4, 1, QStringLiteral("Film"), "hand made") +
                            timerLine("250 ", 5, 1, QStringLiteral("News"));
    ScriptedVdr server(kGreeting, {list, list, "250 Timer \"5\" deleted\r\n", list});
    {
        auto vdr = connectTo(server);
        QVERIFY(vdr);
        QVERIFY(vdr->DoesProgramExist(QStringLiteral("News")));
        QVERIFY(vdr->DeleteProgram(QStringLiteral("News")));
        const QList<ScheduledProgram> own = vdr->Programs();
        QCOMPARE(own.size(), 2); // the hand-made timer is not KovFerrit's
        QCOMPARE(own.at(0).name, QStringLiteral("Film"));
        QCOMPARE(own.at(0).channel, 7);
        QCOMPARE(own.at(0).start, at("2026-12-10T20:15:00"));
        QCOMPARE(own.at(0).tag, QStringLiteral("fs:1"));
    }
    QCOMPARE(server.received().value(2), QStringLiteral("DELT 5"));
}

void TestVdrScheduler::leavesARecordingTimer()
{
    ScriptedVdr server(kGreeting, {timerLine("250 ", 2, 9, QStringLiteral("Film"))});
    {
        auto vdr = connectTo(server);
        QVERIFY(vdr);
        QVERIFY(!vdr->DeleteProgram(QStringLiteral("Film")));
    }
    QCOMPARE(server.received(), (QStringList{u"LSTT"_s, u"QUIT"_s}));
    QCOMPARE(m_env->ui.boxes.size(), 1);
    QCOMPARE(m_env->ui.boxes.at(0), QStringLiteral("Film is being recorded and was not deleted."));
}

void TestVdrScheduler::brokenServers_data()
{
    QTest::addColumn<QByteArray>("greeting");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<bool>("connects");

    QTest::newRow("no greeting") << QByteArray() << QByteArray() << false;
    QTest::newRow("host not allowed")
        << QByteArray("554 Access denied!\r\n") << QByteArray() << false;
    QTest::newRow("not SVDRP") << QByteArray("HTTP/1.1 400 Bad Request\r\n") << QByteArray()
                               << false;
    QTest::newRow("stops mid-reply")
        << QByteArray(kGreeting) << timerLine("250-", 1, 1, QStringLiteral("Film")) << true;
    QTest::newRow("hangs up") << QByteArray(kGreeting) << QByteArray("<close>") << true;
    QTest::newRow("garbage reply") << QByteArray(kGreeting) << QByteArray("hello\r\n") << true;
}

void TestVdrScheduler::brokenServers()
{
    QFETCH(QByteArray, greeting);
    QFETCH(QByteArray, answer);
    QFETCH(bool, connects);
    ScriptedVdr server(greeting, {answer});
    QElapsedTimer clock;
    clock.start();
    auto vdr = connectTo(server);
    QCOMPARE(bool(vdr), connects);
    if (vdr) {
        QVERIFY(!vdr->DoesProgramExist(QStringLiteral("Film")));
        QCOMPARE(vdr->CreateProgram(1, QStringLiteral("Film"), at("2026-12-10T20:15:00"),
                                    at("2026-12-10T21:00:00"), 7, 1, QString(), QString(), 0,
                                    QVariant(), true),
                 3);
    }
    QVERIFY(clock.elapsed() < 4000); // one second per wait, at most
}

void TestVdrScheduler::listsChannels()
{
    ScriptedVdr server(kGreeting, {"250-1 Alpha TV;Test:11836:h:S19.2E:0:0:0:0:0:1:1:0\r\n"
                                   "250-2 Beta One,B1;Test:11836:h:S19.2E:0:0:0:0:0:1:1:0\r\n"
                                   "250 12 Gamma:11836:h:S19.2E:0:0:0:0:0:1:1:0\r\n"});
    auto vdr = connectTo(server);
    QVERIFY(vdr);
    const auto channels = vdr->Channels();
    QVERIFY(channels);
    QCOMPARE(channels->size(), 3);
    QCOMPARE(channels->at(1).name, QStringLiteral("Beta One"));
    QCOMPARE(channels->at(2).number, 12);
}

QTEST_GUILESS_MAIN(TestVdrScheduler)
#include "tst_vdrscheduler.moc"
