// The VDR backend against a scripted SVDRP server: what it sends, how it reads multi-line
// replies, and that a refusing, silent or broken server costs a bounded wait and no timer.
#include "app/dryrun.h"
#include "app/syncrunscope.h"
#include "apptestsupport.h"
#include "jobs/recordingjob.h"
#include "recorders/recorderfactory.h"
#include "recorders/recorderrunscope.h"
#include "recorders/vdrscheduler.h"
#include "recorders/vdrtimertext.h"
#include "settings/quibfunction.h"

#include <netinet/in.h>
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
        // Waiting for the client and for each of its lines ends after five seconds.
        const timeval wait{5, 0};
        ::setsockopt(m_listener, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
        const int fd = ::accept(m_listener, nullptr, nullptr);
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
        if (greeting == "<close>")
            return void(::close(fd));
        ::send(fd, greeting.constData(), size_t(greeting.size()), MSG_NOSIGNAL);
        FILE* in = ::fdopen(fd, "r");
        for (char line[65536]; in && std::fgets(line, sizeof line, in);) {
            m_received << QString::fromUtf8(line).trimmed();
            const QByteArray answer = answers.isEmpty() ? QByteArray() : answers.takeFirst();
            if (answer == "<close>")
                break;
            ::send(fd, answer.constData(), size_t(answer.size()), MSG_NOSIGNAL);
        }
        in ? std::fclose(in) : ::close(fd);
    }

    int m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
    QStringList m_received;
    std::thread m_thread;
};

QDateTime at(const QString& text)
{
    return QDateTime::fromString(text, Qt::ISODate);
}

// A recording on the evening and the channel of the scripted timers.
RecordingRequest evening(const QString& name, int recurrence = 0)
{
    return {
        name, at(u"2026-12-10T20:15"_s), at(u"2026-12-10T21:00"_s), 7, {}, u"fs:3"_s, recurrence,
        {}};
}

// An LSTT line; `account` null: a hand-made timer, empty: one written before accounts.
QByteArray timer(const char* prefix, int id, int flags, const QString& name,
                 const QString& account = u"anna"_s)
{
    const QString aux = account.isNull()
                            ? u"hand made"_s
                            : kov::vdr::auxField({{{account, name, u"fs:1"_s}}, QString()});
    return prefix + QByteArray::number(id) + ' ' + QByteArray::number(flags) +
           ":7:2026-12-10:2015:2100:50:99:" + (name + u':' + aux).toUtf8() + "\r\n";
}
} // namespace

class TestVdrScheduler : public EnvironmentTest
{
    Q_OBJECT
    std::unique_ptr<VdrScheduler> connect(const ScriptedVdr& vdr, VdrOptions options = {},
                                          QString* why = nullptr)
    {
        options.host = u"127.0.0.1"_s;
        options.port = vdr.port;
        options.timeoutSeconds = 1;
        options.account = u"anna"_s;
        return VdrScheduler::connect(options, why);
    }
    // start, end, recurrence, VPS time, margins before and after (and "novps"), VDR's answer to
    // LSTC, the result and the NEWT line sent
    using Create = Columns<QString, QString, int, QString, QString, QByteArray, int, QString>;

private slots:
    void create_data()
    {
        Create::add();
        const QByteArray known = "250 7 Alpha TV;Test:11836:h:S19.2E:0:0:0:0:0:1:1:0\r\n";
        const QString sent =
            u"NEWT %1:7:%2:50:99:Film| A&B:<kovferrit><claim><account>anna"
            "</account><name>Film&#58; A&#38;B</name><tag>fs&#58;4711</tag></claim>"
            "</kovferrit>"_s;
        const QString evening = u"2026-12-10T20:15"_s;
        const QString end = u"2026-12-10T21:00"_s;
        QTest::newRow("single") << evening << end << 0 << QString() << u"0 0"_s << known << 0
                                << sent.arg(u"1"_s, u"2026-12-10:2015:2100"_s);
        QTest::newRow("past midnight, every day")
            << u"2026-12-10T23:30"_s << u"2026-12-11T00:30"_s << 1 << QString() << u"0 0"_s << known
            << 0 << sent.arg(u"1"_s, u"MTWTFSS@2026-12-10:2330:0030"_s);
        QTest::newRow("margin back over midnight")
            << u"2026-12-11T00:01"_s << u"2026-12-11T01:00"_s << 0 << QString() << u"2 10"_s
            << known << 0 << sent.arg(u"1"_s, u"2026-12-10:2359:0110"_s);
        QTest::newRow("VPS column empty, shifted by an offset")
            << evening << end << 0 << u"1899-12-30T01:00"_s << u"2 10"_s << known << 0
            << sent.arg(u"1"_s, u"2026-12-10:2013:2110"_s);
        QTest::newRow("VPS switched off")
            << evening << end << 0 << u"2026-12-10T20:14"_s << u"2 10 novps"_s << known << 0
            << sent.arg(u"1"_s, u"2026-12-10:2013:2110"_s);
        QTest::newRow("unknown channel")
            << evening << end << 0 << QString() << u"0 0"_s
            << QByteArray("250 8 Other:11836:h:S19.2E:0:0:0:0:0:1:1:0\r\n") << 2 << QString();
        QTest::newRow("refused") << evening << end << 0 << QString() << u"0 0"_s << known << 3
                                 << sent.arg(u"1"_s, u"2026-12-10:2015:2100"_s);
        QTest::newRow("end not after start")
            << evening << evening << 0 << QString() << u"0 0"_s << QByteArray() << 1 << QString();
    }
    void create()
    {
        const auto [start, end, recurrence, vps, options, lstc, result, sent] = Create::fetch();
        const QStringList o = options.split(u' ');
        VdrOptions settings;
        settings.marginBefore = o.value(0).toInt();
        settings.marginAfter = o.value(1).toInt();
        settings.useVps = o.value(2) != u"novps"_s;
        const QByteArray newt = result == 3 ? "501 Error in timer settings\r\n"
                                            : "250 1 1:7:2026-12-10:2015:2100:50:99:x:y\r\n";
        ScriptedVdr server(kGreeting, {lstc, "550 No timers defined\r\n", newt});
        QCOMPARE(connect(server, settings)
                     ->createRecording({u"Film: A&B"_s, at(start), at(end), 7, u"file"_s,
                                        u"fs:4711"_s, recurrence, at(vps)}),
                 result);
        const QStringList got = server.received();
        QCOMPARE(got.filter(u"NEWT"_s), sent.isEmpty() ? QStringList() : QStringList{sent});
        QCOMPARE(got.value(0), result == 1 ? u"QUIT"_s : u"LSTC"_s);
    }
    void readsTimersOncePerConnection()
    {
        // Film: written before timers carried accounts; 4: by hand; News: this account's;
        // Show: another account's.
        const QByteArray list =
            timer("250-", 3, 1, u"Film"_s, u""_s) + timer("250-", 4, 1, u"Film"_s, QString()) +
            timer("250-", 5, 1, u"News"_s) + timer("250 ", 6, 1, u"Show"_s, u"ben"_s);
        ScriptedVdr server(kGreeting,
                           {list, timer("250 ", 5, 1, u"News"_s), "250 Timer \"5\" deleted\r\n"});
        {
            const auto vdr = connect(server);
            QVERIFY(vdr->hasRecording(u"News"_s));
            QVERIFY(!vdr->hasRecording(u"Show"_s));
            QVERIFY(vdr->deleteRecording(u"News"_s));
            QVERIFY(!vdr->deleteRecording(u"Show"_s));
            QVERIFY(!vdr->hasRecording(u"News"_s));
            const QList<ScheduledProgram> own = vdr->recordingNames();
            QCOMPARE(own.size(), 1); // neither the hand-made timer nor the other account's
            QCOMPARE((QStringList{own[0].name, own[0].tag, QString::number(own[0].channel)}),
                     (QStringList{u"Film"_s, u"fs:1"_s, u"7"_s}));
            QCOMPARE(own[0].start, at(u"2026-12-10T20:15"_s));
        }
        // The list once; the timer read again just before it is deleted.
        QCOMPARE(server.received(), (QStringList{u"LSTT"_s, u"LSTT 5"_s, u"DELT 5"_s, u"QUIT"_s}));
    }
    void followsOthersChanges_data()
    {
        // VDR's answer to the first command and to those after it, the call ("exists",
        // "delete", "create" of a repeating recording), its result and the commands after the
        // first.
        Columns<QByteArray, QList<QByteArray>, QString, bool, QStringList>::add();
        const QString film = u"1:7:2026-12-10:2015:2100:50:99:Film:<kovferrit>"_s;
        const QString anna = u"<claim><account>anna</account><name>Film</name><tag>fs&#58;1</tag>"
                             u"</claim>"_s;
        const QString ben = QString(anna).replace(u"anna"_s, u"ben"_s);
        const QByteArray old = timer("250 ", 3, 1, u"Film"_s, u""_s);
        QTest::newRow("a claim without account becomes this account's")
            << old << QList<QByteArray>{old, "250 3 x\r\n"} << u"exists"_s << true
            << QStringList{u"LSTT 3"_s, u"MODT 3 "_s + film + anna + u"</kovferrit>"_s};
        const QByteArray shared = "250 3 " + (film + anna + ben).toUtf8() + "</kovferrit>\r\n";
        QTest::newRow("delete releases this account's claim only")
            << shared << QList<QByteArray>{shared, "250 3 x\r\n"} << u"delete"_s << true
            << QStringList{u"LSTT 3"_s, u"MODT 3 "_s + film + ben + u"</kovferrit>"_s};
        QTest::newRow("renumbered: the list once more")
            << timer("250 ", 5, 1, u"Film"_s)
            << QList<QByteArray>{"501 Timer \"5\" not defined\r\n", timer("250 ", 2, 1, u"Film"_s),
                                 timer("250 ", 2, 1, u"Film"_s), "250 Timer \"2\" deleted\r\n"}
            << u"delete"_s << true << QStringList{u"LSTT 5"_s, u"LSTT"_s, u"LSTT 2"_s, u"DELT 2"_s};
        // Once its first day has passed VDR lists a repeating timer by its weekdays alone.
        const QByteArray daily =
            "250 6 1:7:MTWTFSS:2015:2100:50:99:Daily:" +
            kov::vdr::auxField({{{u"ben"_s, u"Daily"_s, u"fs:2"_s}}, {}}).toUtf8() + "\r\n";
        QTest::newRow("another account's repeating timer joined")
            << QByteArray("250 7 Alpha\r\n") << QList<QByteArray>{daily, daily, "250 6 x\r\n"}
            << u"create"_s << true << QStringList{u"LSTT"_s, u"LSTT 6"_s, u"MODT 6"_s};
    }
    void followsOthersChanges()
    {
        const auto [list, answers, call, result, sent] =
            Columns<QByteArray, QList<QByteArray>, QString, bool, QStringList>::fetch();
        ScriptedVdr server(kGreeting, QList<QByteArray>{list} + answers);
        {
            const auto vdr = connect(server);
            QCOMPARE(call == u"exists"_s   ? vdr->hasRecording(u"Film"_s)
                     : call == u"delete"_s ? vdr->deleteRecording(u"Film"_s)
                                           : vdr->createRecording(evening(u"Daily"_s, 1)) == 0,
                     result);
        }
        QStringList got = server.received().mid(1);
        got.removeAll(u"QUIT"_s);
        for (QString& line : got) // a MODT is known by its start where the test says so
            line = sent.contains(line) ? line : line.section(u' ', 0, 1);
        QCOMPARE(got, sent);
    }
    void leavesARecordingTimer()
    {
        ScriptedVdr server(kGreeting,
                           {timer("250 ", 2, 1, u"Film"_s), timer("250 ", 2, 9, u"Film"_s)});
        QVERIFY(!connect(server)->deleteRecording(u"Film"_s));
        QCOMPARE(server.received(), (QStringList{u"LSTT"_s, u"LSTT 2"_s, u"QUIT"_s}));
        QCOMPARE(env->ui.boxes, QStringList{u"Film is being recorded and was not deleted."_s});
    }
    void dryRunTellsARecordingTimer()
    {
        SettingsStore settings = kov::settings();
        settings.setNumber(u"NoDataFields_getjobs"_s, 17);
        const QString line = u"Alpha TV,101,5001,2026-12-10 20:15:00 +0100,2026-12-10 21:00:00 "
                             u"+0100,delete,Film,0,1,0,2,1,n,f,,d,"_s;
        RecordingJob job;
        QVERIFY(job.readJob(line, &settings));
        ScriptedVdr server(kGreeting, {timer("250 ", 2, 9, job.recordingName())});
        QStringList verdicts;
        kov::setText(settings, Setting::Account, u"anna"_s);
        kov::setText(settings, Setting::Recorder, u"vdr"_s);
        kov::setText(settings, Setting::VdrHost, u"127.0.0.1"_s);
        kov::setNumber(settings, Setting::VdrPort, server.port);
        {
            RunRecorders run; // as in `sync --dry-run`: the run's VDR connection
            DryRunRecords preview;
            preview.setRunRecorders(&run);
            CsvRow fields;
            fields.setText(line);
            preview.takeRecord(QuibFunction::GetJobs, 0, line, fields);
            verdicts = preview.lines();
        }
        QCOMPARE(verdicts.value(0).section(u'\t', 0, 0), u"recording"_s);
        QCOMPARE(server.received(), (QStringList{u"LSTT"_s, u"QUIT"_s})); // it changes nothing
    }
    void serviceTextsStayInTheirFields_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("line ends") << u"Show\nDELT 1\r\nx"_s;
        QTest::newRow("NUL and TAB") << u"a"_s + QChar(0) + u"\tb"_s;
        QTest::newRow("markup and separators") << u"<name>A:B|C~D</name> & &amp; &#58;"_s;
        QTest::newRow("beyond ASCII") << u"Tatort: Schöne Grüße \U0001F600"_s;
        QTest::newRow("long") << QString(1000, u'x');
        QTest::newRow("VDR's pattern and words") << u"{*}x TITLE EPISODE"_s;
    }
    void serviceTextsStayInTheirFields()
    {
        QFETCH(QString, text);
        const kov::vdr::Mark mark{{{text, text, text}, {u"ben"_s, u"x"_s, QString()}}, u"<z/>"_s};
        const QString aux = kov::vdr::auxField(mark);
        for (const QChar c : aux)
            QVERIFY2(c.unicode() >= 0x20 && c.unicode() < 0x7f && c != u':' && c != u'|',
                     qPrintable(aux));
        const auto back = kov::vdr::markOf(aux);
        QVERIFY(back);
        QCOMPARE(back->claims.size(), 2);
        QCOMPARE((QStringList{back->claims[0].account, back->claims[0].name, back->claims[0].tag}),
                 (QStringList{text, text, text}));
        QCOMPARE(back->rest, u"<z/>"_s);
        const QString file = kov::vdr::fileField(u"Kov~TV"_s, text);
        QVERIFY(file.startsWith(u"Kov~TV~"_s));
        QCOMPARE(file.count(u'~'), 2); // the name's own '~' makes no folder
        QVERIFY(file.toUtf8().size() <= 210);
        for (const QChar c : file)
            QVERIFY(c.unicode() >= 0x20 && c != u':' && c != u'{' && c != u'}');
        QVERIFY(!file.contains(u"TITLE"_s) && !file.contains(u"EPISODE"_s));
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
        const auto vdr = connect(server, {}, &why);
        QCOMPARE(bool(vdr), connects);
        QCOMPARE(why.section(u": "_s, 1), reason);
        if (vdr) {
            QVERIFY(!vdr->hasRecording(u"Film"_s));
            // Once it failed to answer, nothing more is asked: no second wait.
            QVERIFY(vdr->failure().startsWith(u"VDR at 127.0.0.1, port "_s));
            QCOMPARE(vdr->createRecording(evening(u"Film"_s)), 3);
            QVERIFY(!vdr->deleteRecording(u"Film"_s));
            QCOMPARE(server.received().size(), 1);
        }
        QVERIFY(clock.elapsed() < 2500); // one wait of a second, at most
    }
    void vdrStoppingMidRunCostsOneWait()
    {
        // VDR takes the first job's timer, then stops answering. That job has a VPS time; the
        // others get the margins and the folder of the settings.
        ScriptedVdr server(kGreeting, {"550 No timers defined\r\n",
                                       "250 1 Alpha TV:11836:h:S19.2E:0:0:0:0:0:1:1:0\r\n",
                                       "250 1 1:1:2026-12-10:2015:2100:50:99:x:y\r\n", ""});
        SettingsStore settings = kov::settings();
        kov::setText(settings, Setting::Recorder, u"vdr"_s);
        kov::setText(settings, Setting::VdrHost, u"127.0.0.1"_s);
        kov::setNumber(settings, Setting::VdrPort, server.port);
        kov::setNumber(settings, Setting::VdrTimeoutSeconds, 1);
        kov::setNumber(settings, Setting::VdrMarginBefore, 5);
        kov::setNumber(settings, Setting::VdrMarginAfter, 15);
        kov::setText(settings, Setting::VdrFolder, u"Family~TV"_s);
        settings.setNumber(u"NoDataFields_getjobs"_s, 17);
        writeBytes(env->file(u"dbchannel.dat"_s), "1,Alpha TV\r\n");
        QElapsedTimer clock;
        clock.start();
        SyncRunScope run;
        for (int i = 0; i < 5; ++i) {
            RecordingJob job;
            QVERIFY(job.readJob(
                u"Alpha TV,101,%1,2026-12-10 20:15:00 +0100,2026-12-10 21:00:00 +0100,rec,"
                "Film %1,0,1,0,2,0,n,f,%2,,"_s.arg(i)
                    .arg(i ? u""_s : u"2026-12-10 20:14:00 +0100"_s),
                &settings));
            job.schedule(run.recorders());
        }
        QVERIFY(clock.elapsed() < 2500); // one wait of a second for the run, not one a job
        QCOMPARE(env->ui.boxes, QStringList());
        QVERIFY(!run.reportRecorder());
        QCOMPARE(env->ui.boxes.size(), 1);
        QVERIFY(env->ui.boxes[0].contains(u"VDR at 127.0.0.1, port "_s +
                                          QString::number(server.port) +
                                          u", cannot be used: it did not answer in time."_s));
        QVERIFY(env->ui.boxes[0].endsWith(u"Jobs left unscheduled in this run: 4"_s));
        QStringList made = server.received().filter(u"NEWT"_s);
        for (QString& line : made)
            line = line.section(u':', 0, 7);
        QCOMPARE(
            made,
            (QStringList{
                u"NEWT 5:1:2026-12-10:2014:2059:50:99:Family~TV~Film_0_2026-12-10_20_15_00"_s,
                u"NEWT 1:1:2026-12-10:2010:2115:50:99:Family~TV~Film_1_2026-12-10_20_15_00"_s}));
    }
    void listsChannels()
    {
        ScriptedVdr server(kGreeting, {"250-1 Alpha TV;Test:11836:h:S19.2E:0:0:0:0:0:1:1:0\r\n"
                                       "250-2 Beta One,B1;Test:11836:h:S19.2E:0:0:0:0:0:1:1:0\r\n"
                                       "250 12 Gamma:11836:h:S19.2E:0:0:0:0:0:1:1:0\r\n"});
        const auto channels = connect(server)->channels();
        QCOMPARE(channels.value_or(QList<RecorderChannel>()).size(), 3);
        QCOMPARE(channels->at(1).name, u"Beta One"_s);
        QCOMPARE(channels->at(2).number, 12);
    }
};

QTEST_GUILESS_MAIN(TestVdrScheduler)
#include "tst_vdrscheduler.moc"
