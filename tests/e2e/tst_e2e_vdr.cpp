// kovferrit-cli driving a real VDR (started by the CTest fixture, tests/e2e/vdr.sh): the
// timers are read back over a plain socket, never through KovFerrit's own code.
#include "clitest.h"

#include <QTcpSocket>

#include <csignal>

namespace {
const QString kDir = qEnvironmentVariable("KOVFERRIT_VDR_DIR");
const QDate kDay = QDate::currentDate().addDays(3); // VDR drops one-off timers in the past
const QString kDate = kDay.toString(Qt::ISODate);

quint16 vdrPort()
{
    return readBytes(kDir + u"/port"_s).trimmed().toUShort();
}

// One SVDRP command; the reply's lines as VDR sent them.
QStringList svdrp(const QString& command)
{
    QTcpSocket s;
    s.connectToHost(u"127.0.0.1"_s, vdrPort());
    auto line = [&s] {
        while (!s.canReadLine() && s.waitForReadyRead(5000)) {
        }
        return QString::fromUtf8(s.readLine()).trimmed();
    };
    QStringList reply;
    if (!s.waitForConnected(5000) || !line().startsWith(u"220"_s))
        return reply;
    s.write(command.toUtf8() + "\r\nQUIT\r\n");
    for (QString l = line(); !l.isEmpty(); l = l.at(3) == u' ' ? QString() : line())
        reply << l;
    return reply;
}

// KovFerrit's timers (AUX names the program) or the others, as "TITLE DAY CHANNEL" (the file
// name is the title, "_" and the start time).
QStringList timers(bool own)
{
    QStringList found;
    for (const QString& line : svdrp(u"LSTT"_s)) {
        const QStringList f = line.mid(4).section(u' ', 1).split(u':');
        if (line.startsWith(u"250"_s) && f.size() >= 9 &&
            f.mid(8).join(u':').contains(u"<kovferrit>"_s) == own)
            found << f[7].section(u'_', 0, 0) + u' ' + f[2] + u' ' + f[1];
    }
    found.sort();
    return found;
}

// Each of VDR's timers as its id and its fields, the file name (which may hold ':') last.
QList<QStringList> timerFields()
{
    QList<QStringList> all;
    for (const QString& line : svdrp(u"LSTT"_s)) {
        const QString timer = line.mid(4);
        QStringList f = timer.section(u' ', 1).split(u':');
        if (line.startsWith(u"250"_s) && f.size() >= 9)
            all << (QStringList{timer.section(u' ', 0, 0)} + f.mid(0, 8) << f.mid(8).join(u':'));
    }
    return all;
}

QString job(const QString& channel, const QString& action, const QString& title, int sequence = 0)
{
    return u"%1,101,77,%2 20:15:00 +0100,%2 21:00:00 +0100,%3,%4,0,1,%5,2,0,n,f,,,"_s.arg(
        channel, kDate, action, title, QString::number(sequence));
}

QJsonObject withJobs(const QStringList& records)
{
    return standard({{u"serial"_s, 4711}, {u"records"_s, QJsonArray::fromStringList(records)}});
}

// Wakes a stopped VDR again, whatever the test's outcome.
struct Frozen
{
    explicit Frozen(qint64 pid) : pid(pid) { ::kill(pid_t(pid), SIGSTOP); }
    ~Frozen() { ::kill(pid_t(pid), SIGCONT); }
    qint64 pid;
};
} // namespace

class TestE2eVdr : public CliTest
{
    Q_OBJECT
    void pointAtVdr()
    {
        set(u"Recorder"_s, u"vdr"_s, u"--text"_s);
        set(u"VdrHost"_s, u"127.0.0.1"_s, u"--text"_s);
        set(u"VdrPort"_s, QString::number(vdrPort()));
    }
    /// A simulator serving `jobs`, the account set up and Port pointing at it.
    void serve(const QStringList& jobs)
    {
        m_sims.push_back(std::make_unique<Simulator>());
        QVERIFY(m_sims.back()->start(withJobs(jobs)));
        setUp(*m_sims.back(), m_sims.size() > 1);
        pointAtVdr();
    }
    std::vector<std::unique_ptr<Simulator>> m_sims;

private slots:
    void initTestCase() { QVERIFY2(vdrPort() != 0, "the VDR fixture did not start"); }
    void init()
    {
        CliTest::init();
        m_sims.clear();
        // Every test starts from a VDR without timers; ids are deleted from the highest down.
        QStringList ids;
        for (const QString& line : svdrp(u"LSTT"_s))
            ids.prepend(line.mid(4).section(u' ', 0, 0));
        for (const QString& id : ids)
            svdrp(u"DELT "_s + id);
        QCOMPARE(timers(true) + timers(false), QStringList());
    }
    void syncMakesTimersOnce()
    {
        serve({job(u"Alpha TV"_s, u"rec"_s, u"Film"_s),
               job(u"Beta One"_s, u"rec"_s, u"Daily"_s, 127),
               job(u"Gamma"_s, u"rec"_s, u"Nowhere"_s)});
        const Run first = run({u"sync"_s, u"--channel"_s, u"Alpha TV=1"_s, u"--channel"_s,
                               u"Beta One=2"_s, u"--channel"_s, u"Gamma=9"_s});
        // VDR has no channel 9: that job is refused, and the run says so and exits 3.
        QCOMPARE(first.status, 3);
        QVERIFY2(first.err.contains(u"CreateProgram FAILED: 2"_s), qPrintable(first.err));
        QVERIFY2(first.err.contains(u"Jobs: 2 scheduled, 0 deleted, 0 already there, 1 skipped "
                                    u"(refused by the recorder: 1)\n"_s),
                 qPrintable(first.err));
        const QStringList expected{u"KovFerrit~Daily MTWTFSS@"_s + kDate + u" 2"_s,
                                   u"KovFerrit~Film "_s + kDate + u" 1"_s};
        QCOMPARE(timers(true), expected);
        QCOMPARE(run({u"sync"_s}).status, 3);
        QCOMPARE(timers(true), expected); // no duplicates
        QCOMPARE(run({u"recordings"_s}).lines().size(), 2);
    }
    // Odd titles reach VDR inside their fields, and our claim on each timer is still found
    // after VDR has written its timers to timers.conf and read them back on a restart.
    void serviceTextsSurviveARestart()
    {
        writeBytes(m_home->filePath(u"dbchannel.dat"_s), "1,Alpha TV\r\n");
        QVERIFY(
            svdrp(u"NEWT 1:1:"_s + kDate + u":0600:0700:50:99:Mine:"_s)[0].startsWith(u"250"_s));
        const QStringList handMade = svdrp(u"LSTT"_s);
        const QString id = handMade.value(0).mid(4).section(u' ', 0, 0);
        // The first title would delete the hand-made timer if its line feeds reached VDR.
        const QStringList titles{u"Show\nDELT\t"_s + id + u"\nx"_s,
                                 u"Carriage\rreturn"_s,
                                 u"Tab\there"_s,
                                 u"Colon: part two"_s,
                                 u"Tilde~folder"_s,
                                 u"<b>Bold</b>"_s,
                                 u"Fish & chips"_s,
                                 u"Nul"_s + QChar(0) + u"byte"_s,
                                 u"Long"_s + QString(996, u'x')};
        QStringList jobs;
        for (const QString& title : titles)
            jobs << job(u"Alpha TV"_s, u"rec"_s, u'"' + title + u'"');
        serve(jobs);
        QCOMPARE(run({u"sync"_s}).status, 0);
        QCOMPARE(timers(true).size(), titles.size());
        // VDR keeps its timers in timers.conf, written a moment after a change.
        QTRY_COMPARE_WITH_TIMEOUT(readBytes(kDir + u"/conf/timers.conf"_s).count('\n'),
                                  titles.size() + 1, 15000);
        QCOMPARE(QProcess::execute(u"sh"_s, {qEnvironmentVariable("KOVFERRIT_SOURCE_DIR") +
                                                 u"/tests/e2e/vdr.sh"_s,
                                             u"restart"_s, kDir}),
                 0);
        QCOMPARE(run({u"sync"_s}).status, 0);
        QCOMPARE(timers(true).size(), titles.size()); // each one found again
        // The restart numbers the timers afresh: the hand-made one is found by its fields.
        QStringList others;
        int handMadeFound = 0;
        for (const QStringList& timer : timerFields()) {
            if (timer.mid(1).join(u':') == handMade.value(0).section(u' ', 2))
                ++handMadeFound;
            else
                others << timer[8];
        }
        QCOMPARE(handMadeFound, 1);
        QCOMPARE(others.size(), titles.size());
        for (const QString& file : others) // a '~' of the service's makes no folder of its own
            QVERIFY2(file.count(u'~') == 1, qPrintable(file));
    }
    void frozenVdrCostsOneWait()
    {
        writeBytes(m_home->filePath(u"dbchannel.dat"_s), "1,Alpha TV\r\n");
        QStringList jobs;
        for (int i = 0; i < 10; ++i)
            jobs << job(u"Alpha TV"_s, u"rec"_s, u"Film "_s + QString::number(i));
        serve(jobs);
        set(u"VdrTimeoutSeconds"_s, u"2"_s);
        const QString reason = u"VDR at 127.0.0.1, port "_s + QString::number(vdrPort()) +
                               u", cannot be used: it did not answer in time."_s;
        // A timed tick (a sync, then the channel update it finds due), a dry run and a sync.
        for (const QStringList& args :
             {QStringList{u"tick"_s}, QStringList{u"sync"_s, u"--dry-run"_s},
              QStringList{u"sync"_s}}) {
            QElapsedTimer clock;
            Run frozen;
            {
                const Frozen stopped(readBytes(kDir + u"/pid"_s).trimmed().toLongLong());
                clock.start();
                frozen = run(args);
            }
            // Ten jobs at one wait each took twenty seconds; now a run stops asking after one.
            QVERIFY2(clock.elapsed() < 8000, qPrintable(QString::number(clock.elapsed())));
            QCOMPARE(frozen.status, 1);
            QCOMPARE(frozen.err.count(u"KOVSched.ocx is required"_s), 1);
            QVERIFY2(frozen.err.contains(reason), qPrintable(frozen.err));
            if (args == QStringList{u"sync"_s})
                QVERIFY(frozen.err.contains(u"Jobs left unscheduled in this run: 10"_s));
        }
        QCOMPARE(run({u"sync"_s}).status, 0); // the next run tries again
        QCOMPARE(timers(true).size(), 10);
    }
    void dryRunChangesNothing()
    {
        writeBytes(m_home->filePath(u"dbchannel.dat"_s), "1,Alpha TV\r\n");
        serve({job(u"Alpha TV"_s, u"rec"_s, u"Film"_s)});
        QCOMPARE(run({u"sync"_s}).status, 0);
        const QStringList before = svdrp(u"LSTT"_s);
        serve({job(u"Alpha TV"_s, u"rec"_s, u"Film"_s), job(u"Alpha TV"_s, u"rec"_s, u"New"_s),
               job(u"Beta One"_s, u"rec"_s, u"News"_s), job(u"Alpha TV"_s, u"delete"_s, u"Film"_s),
               job(u"Alpha TV"_s, u"delete"_s, u"Old"_s), job(u"Alpha TV"_s, u"move"_s, u"Odd"_s)});
        const Run preview = run({u"sync"_s, u"--dry-run"_s});
        QCOMPARE(preview.status, 0);
        QStringList verdicts;
        for (const QString& line : preview.lines().filter(u"\t"_s))
            verdicts << line.section(u'\t', 0, 0);
        QCOMPARE(verdicts, (QStringList{u"exists"_s, u"create"_s, u"unknown-channel"_s, u"delete"_s,
                                        u"absent"_s, u"unsupported"_s}));
        QCOMPARE(svdrp(u"LSTT"_s), before);
        QCOMPARE(readBytes(m_home->filePath(u"dbchannel.dat"_s)), "1,Alpha TV\r\n");
    }
    void channelsMatchFillsNumbers()
    {
        pointAtVdr();
        writeBytes(m_home->filePath(u"kovquibcg.dat"_s),
                   "0,17,csv,4\r\nisocode,name,id,country,category,lang\r\n"
                   "de,Alpha TV,101,DE,General,de\r\nde,Beta One,102,DE,News,de\r\n"
                   "de,Gamma Kultur,103,DE,Culture,de\r\nde,Delta,104,DE,Sport,de\r\n");
        writeBytes(m_home->filePath(u"dbchannel.dat"_s), "12,Alpha TV\r\n");
        const Run match = run({u"channels"_s, u"match"_s});
        QCOMPARE(match.status, 0);
        QCOMPARE(match.lines(), (QStringList{u"matched\tBeta One\t2"_s, u"ambiguous\tDelta"_s,
                                             u"unmatched\tGamma Kultur"_s}));
        // Alpha TV keeps the number the user gave it.
        QCOMPARE(
            run({u"channels"_s, u"list"_s}).lines(),
            (QStringList{u"Alpha TV\t12"_s, u"Beta One\t2"_s, u"Gamma Kultur\t"_s, u"Delta\t"_s}));
    }
};

QTEST_GUILESS_MAIN(TestE2eVdr)
#include "tst_e2e_vdr.moc"
