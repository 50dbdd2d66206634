// The VDR backend against a scripted SVDRP server: what it sends, how it reads multi-line
// replies, and that a refusing, silent or broken server costs a bounded wait and no timer.
#include "recorders/vdrscheduler.h"
#include "testsupport.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>

namespace {
const QByteArray kGreeting = "220 vm SVDRP VideoDiskRecorder 2.6.0; today; UTF-8\r\n";

/// Accepts one client, greets it, answers its n-th line with the n-th answer ("" keeps silent,
/// "<close>" hangs up) and records every line it got until the client goes.
class ScriptedVdr
{
public:
    ScriptedVdr(QByteArray greeting, QList<QByteArray> answers)
    {
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof addr;
        ::bind(m_listener, reinterpret_cast<sockaddr*>(&addr), len);
        ::listen(m_listener, 1);
        ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&addr), &len);
        port = ntohs(addr.sin_port);
        m_thread = std::thread([=] { serve(greeting, answers); });
    }
    ~ScriptedVdr() { received(), ::close(m_listener); }
    QStringList received()
    {
        if (m_thread.joinable())
            m_thread.join();
        return m_received;
    }
    quint16 port = 0;

private:
    void serve(const QByteArray& greeting, QList<QByteArray> answers)
    {
        pollfd p{m_listener, POLLIN, 0};
        const int fd = ::poll(&p, 1, 5000) == 1 ? ::accept(m_listener, nullptr, nullptr) : -1;
        if (greeting == "<close>")
            return void(::close(fd));
        ::send(fd, greeting.constData(), size_t(greeting.size()), MSG_NOSIGNAL);
        QByteArray pending;
        for (QByteArray line; !(line = readLine(fd, pending)).isNull();) {
            m_received << QString::fromUtf8(line);
            const QByteArray answer = answers.isEmpty() ? QByteArray() : answers.takeFirst();
            if (answer == "<close>")
                break;
            ::send(fd, answer.constData(), size_t(answer.size()), MSG_NOSIGNAL);
        }
        ::close(fd);
    }
    static QByteArray readLine(int fd, QByteArray& pending)
    {
        char buffer[4096];
        for (pollfd p{fd, POLLIN, 0}; !pending.contains('\n'); p.revents = 0) {
            const ssize_t n = ::poll(&p, 1, 5000) == 1 ? ::recv(fd, buffer, sizeof buffer, 0) : 0;
            if (n <= 0)
                return QByteArray();
            pending.append(buffer, n);
        }
        const QByteArray line = pending.left(pending.indexOf('\n')).trimmed();
        pending.remove(0, pending.indexOf('\n') + 1);
        return line;
    }

    int m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
    QStringList m_received;
    std::thread m_thread;
};

QDateTime at(const QString& text)
{
    return QDateTime::fromString(text, Qt::ISODate);
}

QByteArray timer(const char* prefix, int id, int flags, const QString& name, QString aux = {})
{
    if (aux.isEmpty())
        aux = VdrScheduler::AuxFor(name, u"fs:1"_s);
    return prefix + QByteArray::number(id) + ' ' + QByteArray::number(flags) +
           ":7:2026-12-10:2015:2100:50:99:" + (name + u':' + aux).toUtf8() + "\r\n";
}
} // namespace

class TestVdrScheduler : public EnvironmentTest
{
    Q_OBJECT
    std::unique_ptr<VdrScheduler> connect(const ScriptedVdr& vdr)
    {
        return VdrScheduler::Connect(u"127.0.0.1"_s, vdr.port, 1);
    }
    using Create = Columns<QString, QString, int, QByteArray, QByteArray, int, QString>;

private slots:
    void create_data()
    {
        // start, end, recurrence, answers to LSTC and NEWT, the result, the NEWT line sent
        Create::add();
        const QByteArray known = "250 7 Alpha TV;Test:11836:h:S19.2E:0:0:0:0:0:1:1:0\r\n";
        const QByteArray ok = "250 1 1:7:2026-12-10:2015:2100:50:99:x:y\r\n";
        const QString sent = u"NEWT 1:7:%1:50:99:Film| A&B:<kovferrit><name>Film: A&amp;B</name>"
                             "<tag>fs:4711</tag></kovferrit>"_s;
        QTest::newRow("single") << u"2026-12-10T20:15"_s << u"2026-12-10T21:00"_s << 0 << known
                                << ok << 0 << sent.arg(u"2026-12-10:2015:2100"_s);
        QTest::newRow("past midnight, every day")
            << u"2026-12-10T23:30"_s << u"2026-12-11T00:30"_s << 1 << known << ok << 0
            << sent.arg(u"MTWTFSS@2026-12-10:2330:0030"_s);
        QTest::newRow("unknown channel")
            << u"2026-12-10T20:15"_s << u"2026-12-10T21:00"_s << 0
            << QByteArray("501 Channel \"7\" not defined\r\n") << QByteArray() << 2 << u"QUIT"_s;
        QTest::newRow("refused") << u"2026-12-10T20:15"_s << u"2026-12-10T21:00"_s << 0 << known
                                 << QByteArray("501 Error in timer settings\r\n") << 3
                                 << sent.arg(u"2026-12-10:2015:2100"_s);
        QTest::newRow("end not after start") << u"2026-12-10T20:15"_s << u"2026-12-10T20:15"_s << 0
                                             << QByteArray() << QByteArray() << 1 << QString();
    }
    void create()
    {
        const auto [start, end, recurrence, lstc, newt, result, sent] = Create::fetch();
        ScriptedVdr server(kGreeting, {lstc, newt});
        QCOMPARE(connect(server)->CreateProgram(1, u"Film: A&B"_s, at(start), at(end), 7, 1,
                                                u"file"_s, u"fs:4711"_s, recurrence, {}, true),
                 result);
        const QStringList got = server.received();
        QCOMPARE(got.value(0), sent.isEmpty() ? u"QUIT"_s : u"LSTC 7"_s);
        QCOMPARE(got.value(1), sent);
    }
    void findsAndDeletesOnlyItsOwnTimer()
    {
        const QByteArray list = timer("250-", 3, 1, u"Film"_s) +
                                timer("250-", 4, 1, u"Film"_s, u"hand made"_s) +
                                timer("250 ", 5, 1, u"News"_s);
        ScriptedVdr server(kGreeting, {list, list, "250 Timer \"5\" deleted\r\n", list});
        {
            const auto vdr = connect(server);
            QVERIFY(vdr->DoesProgramExist(u"News"_s));
            QVERIFY(vdr->DeleteProgram(u"News"_s));
            const QList<ScheduledProgram> own = vdr->Programs();
            QCOMPARE(own.size(), 2); // the hand-made timer is not KovFerrit's
            QCOMPARE((QStringList{own[0].name, own[0].tag, QString::number(own[0].channel)}),
                     (QStringList{u"Film"_s, u"fs:1"_s, u"7"_s}));
            QCOMPARE(own[0].start, at(u"2026-12-10T20:15"_s));
        }
        QCOMPARE(server.received().value(2), u"DELT 5"_s);
    }
    void leavesARecordingTimer()
    {
        ScriptedVdr server(kGreeting, {timer("250 ", 2, 9, u"Film"_s)});
        QVERIFY(!connect(server)->DeleteProgram(u"Film"_s));
        QCOMPARE(server.received(), (QStringList{u"LSTT"_s, u"QUIT"_s}));
        QCOMPARE(env->ui.boxes, QStringList{u"Film is being recorded and was not deleted."_s});
    }
    void brokenServers_data()
    {
        // The greeting, the answer to the first command, whether the connection is made, and
        // else the reason the user is told.
        Columns<QByteArray, QByteArray, bool, QString>::add();
        const QString denied =
            u"it does not let this computer in; add its address to VDR's svdrphosts.conf."_s;
        QTest::newRow("no greeting")
            << QByteArray() << QByteArray() << false << u"it did not answer in time."_s;
        QTest::newRow("host not allowed")
            << QByteArray("554 Access denied\r\n") << QByteArray() << false << denied;
        QTest::newRow("host not allowed, VDR's words")
            << QByteArray("Access denied!\n") << QByteArray() << false << denied;
        QTest::newRow("not SVDRP") << QByteArray("HTTP/1.1 400 Bad\r\n") << QByteArray() << false
                                   << u"it answers something that is not SVDRP: HTTP/1.1 400 Bad"_s;
        QTest::newRow("hangs up before greeting")
            << QByteArray("<close>") << QByteArray() << false << u"it closed the connection."_s;
        QTest::newRow("stops mid-reply")
            << kGreeting << timer("250-", 1, 1, u"Film"_s) << true << QString();
        QTest::newRow("hangs up") << kGreeting << QByteArray("<close>") << true << QString();
        QTest::newRow("garbage reply") << kGreeting << QByteArray("hello\r\n") << true << QString();
    }
    void brokenServers()
    {
        const auto [greeting, answer, connects, reason] =
            Columns<QByteArray, QByteArray, bool, QString>::fetch();
        ScriptedVdr server(greeting, {answer});
        QElapsedTimer clock;
        clock.start();
        QString why;
        const auto vdr = VdrScheduler::Connect(u"127.0.0.1"_s, server.port, 1, &why);
        QCOMPARE(bool(vdr), connects);
        QCOMPARE(why.section(u": "_s, 1), reason);
        if (vdr) {
            QVERIFY(!vdr->DoesProgramExist(u"Film"_s));
            QCOMPARE(vdr->CreateProgram(1, u"Film"_s, at(u"2026-12-10T20:15"_s),
                                        at(u"2026-12-10T21:00"_s), 7, 1, {}, {}, 0, {}, true),
                     3);
        }
        QVERIFY(clock.elapsed() < 4000); // one second per wait, at most
    }
    void listsChannels()
    {
        ScriptedVdr server(kGreeting, {"250-1 Alpha TV;Test:11836:h:S19.2E:0:0:0:0:0:1:1:0\r\n"
                                       "250-2 Beta One,B1;Test:11836:h:S19.2E:0:0:0:0:0:1:1:0\r\n"
                                       "250 12 Gamma:11836:h:S19.2E:0:0:0:0:0:1:1:0\r\n"});
        const auto channels = connect(server)->Channels();
        QCOMPARE(channels.value_or(QList<RecorderChannel>()).size(), 3);
        QCOMPARE(channels->at(1).name, u"Beta One"_s);
        QCOMPARE(channels->at(2).number, 12);
    }
};

QTEST_GUILESS_MAIN(TestVdrScheduler)
#include "tst_vdrscheduler.moc"
