// kovferrit-cli driving a real VDR (started by the CTest fixture, tests/e2e/vdr.sh): the
// timers are read back over a plain socket, never through KovFerrit's own code.
#include "clitest.h"

#include <QTcpSocket>
#include <QtTest>

namespace {
QString vdrDir()
{
    return qEnvironmentVariable("KOVFERRIT_VDR_DIR");
}

quint16 vdrPort()
{
    QFile f(vdrDir() + QStringLiteral("/port"));
    return f.open(QIODevice::ReadOnly) ? quint16(f.readAll().trimmed().toUInt()) : 0;
}

// One SVDRP command; the reply's lines as VDR sent them.
QStringList svdrp(const QString& command)
{
    QTcpSocket s;
    s.connectToHost(QStringLiteral("127.0.0.1"), vdrPort());
    QStringList reply;
    auto line = [&s] {
        while (!s.canReadLine() && s.waitForReadyRead(5000)) {
        }
        return QString::fromUtf8(s.readLine()).trimmed();
    };
    if (!s.waitForConnected(5000) || !line().startsWith(QLatin1String("220")))
        return reply;
    s.write(command.toUtf8() + "\r\nQUIT\r\n");
    for (QString l = line(); !l.isEmpty(); l = l.at(3) == QLatin1Char(' ') ? QString() : line())
        reply << l;
    return reply;
}

// KovFerrit's timers (AUX names the program) or the others, as "TITLE DAY CHANNEL" (the file
// name is the title, "_" and the start time).
QStringList timers(bool own)
{
    QStringList found;
    for (const QString& line : svdrp(QStringLiteral("LSTT"))) {
        const QStringList f = line.mid(4).section(QLatin1Char(' '), 1).split(QLatin1Char(':'));
        if (line.startsWith(QLatin1String("250")) && f.size() >= 9 &&
            f.mid(8).join(QLatin1Char(':')).contains(QLatin1String("<kovferrit>")) == own)
            found << f.at(7).section(QLatin1Char('_'), 0, 0) + QLatin1Char(' ') + f.at(2) +
                         QLatin1Char(' ') + f.at(1);
    }
    found.sort();
    return found;
}

const QDate kDay = QDate::currentDate().addDays(3); // VDR drops one-off timers in the past

QString job(const QString& channel, const QString& action, const QString& title, int sequence = 0)
{
    const QString day = kDay.toString(Qt::ISODate);
    return QStringList{channel,
                       QStringLiteral("101"),
                       QStringLiteral("77"),
                       day + QStringLiteral(" 20:15:00 +0100"),
                       day + QStringLiteral(" 21:00:00 +0100"),
                       action,
                       title,
                       QStringLiteral("0"),
                       QStringLiteral("1"),
                       QString::number(sequence),
                       QStringLiteral("2"),
                       QStringLiteral("0"),
                       QStringLiteral("n"),
                       QStringLiteral("f"),
                       QString(),
                       QString(),
                       QString()}
        .join(QLatin1Char(','));
}

QJsonObject withJobs(const QStringList& records)
{
    return standard(
        QJsonObject{{u"serial"_s, 4711}, {u"records"_s, QJsonArray::fromStringList(records)}});
}

} // namespace

class TestE2eVdr : public CliTest
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void syncMakesTimersOnce();
    void deleteTouchesOnlyItsOwnTimer();
    void dryRunChangesNothing();
    void channelsMatchFillsNumbers();

private:
    void pointAtVdr();
};

void TestE2eVdr::initTestCase()
{
    QVERIFY2(vdrPort() != 0, "the VDR fixture did not start");
}

void TestE2eVdr::init()
{
    CliTest::init();
    // Every test starts from a VDR without timers; ids are deleted from the highest down.
    QStringList ids;
    for (const QString& line : svdrp(QStringLiteral("LSTT")))
        ids.prepend(line.mid(4).section(QLatin1Char(' '), 0, 0));
    for (const QString& id : ids)
        svdrp(QStringLiteral("DELT ") + id);
    QCOMPARE(timers(true) + timers(false), QStringList());
}

void TestE2eVdr::pointAtVdr()
{
    set(u"Recorder"_s, u"vdr"_s, u"--text"_s);
    set(u"VdrHost"_s, u"127.0.0.1"_s, u"--text"_s);
    set(u"VdrPort"_s, QString::number(vdrPort()));
}

void TestE2eVdr::syncMakesTimersOnce()
{
    Simulator sim;
    QVERIFY(sim.start(withJobs(
        {job(QStringLiteral("Alpha TV"), QStringLiteral("rec"), QStringLiteral("Film")),
         job(QStringLiteral("Beta One"), QStringLiteral("rec"), QStringLiteral("Daily"), 127),
         job(QStringLiteral("Gamma"), QStringLiteral("rec"), QStringLiteral("Nowhere"))})));
    setUp(sim, false);
    pointAtVdr();
    const QStringList answers = QStringList{u"--channel"_s,  u"Alpha TV=1"_s, u"--channel"_s,
                                            u"Beta One=2"_s, u"--channel"_s,  u"Gamma=9"_s};
    const Run first = run(QStringList{QStringLiteral("sync")} + answers);
    QCOMPARE(first.status, 0);
    QVERIFY2(first.err.contains(QLatin1String("CreateProgram FAILED: 2")), qPrintable(first.err));
    const QString day = kDay.toString(Qt::ISODate);
    const QStringList expected{QStringLiteral("Daily MTWTFSS@") + day + QStringLiteral(" 2"),
                               QStringLiteral("Film ") + day + QStringLiteral(" 1")};
    QCOMPARE(timers(true), expected);
    QCOMPARE(run({QStringLiteral("sync")}).status, 0);
    QCOMPARE(timers(true), expected); // no duplicates
    QCOMPARE(run({QStringLiteral("recordings")}).lines().size(), 2);

    // VDR keeps its timers in timers.conf, written a moment after a change.
    QTRY_VERIFY_WITH_TIMEOUT(readBytes(vdrDir() + u"/conf/timers.conf"_s).count('\n') == 2, 15000);
    QCOMPARE(QProcess::execute(QStringLiteral("sh"),
                               {QString::fromLocal8Bit(qgetenv("KOVFERRIT_SOURCE_DIR")) +
                                    QStringLiteral("/tests/e2e/vdr.sh"),
                                QStringLiteral("restart"), vdrDir()}),
             0);
    QCOMPARE(timers(true), expected);
}

void TestE2eVdr::deleteTouchesOnlyItsOwnTimer()
{
    const QString rec =
        job(QStringLiteral("Alpha TV"), QStringLiteral("rec"), QStringLiteral("Film"));
    const QString remove =
        job(QStringLiteral("Alpha TV"), QStringLiteral("delete"), QStringLiteral("Film"));
    Simulator sim;
    QVERIFY(sim.start(withJobs({rec, remove})));
    setUp(sim, false);
    pointAtVdr();
    writeBytes(m_home->filePath(u"dbchannel.dat"_s), "1,Alpha TV\r\n");
    const QString handMade = QStringLiteral("NEWT 1:1:") + kDay.toString(Qt::ISODate) +
                             QStringLiteral(":2015:2100:50:99:Film_by_hand:");
    QVERIFY(svdrp(handMade).value(0).startsWith(QLatin1String("250")));
    QCOMPARE(run({QStringLiteral("sync")}).status, 0);
    QCOMPARE(timers(true), QStringList()); // created, then deleted by the second job
    QCOMPARE(timers(false).size(), 1);
}

void TestE2eVdr::dryRunChangesNothing()
{
    Simulator sim;
    QVERIFY(sim.start(withJobs(
        {job(QStringLiteral("Alpha TV"), QStringLiteral("rec"), QStringLiteral("Film")),
         job(QStringLiteral("Beta One"), QStringLiteral("rec"), QStringLiteral("News")),
         job(QStringLiteral("Alpha TV"), QStringLiteral("delete"), QStringLiteral("Old")),
         job(QStringLiteral("Alpha TV"), QStringLiteral("move"), QStringLiteral("Odd"))})));
    setUp(sim, false);
    pointAtVdr();
    const QByteArray channels = "1,Alpha TV\r\n";
    writeBytes(m_home->filePath(u"dbchannel.dat"_s), channels);
    const Run result = run({QStringLiteral("sync"), QStringLiteral("--dry-run")});
    QCOMPARE(result.status, 0);
    QStringList verdicts;
    for (const QString& line : result.lines()) {
        if (!line.contains(QLatin1Char(':')) || line.contains(QLatin1Char('\t')))
            verdicts << line.section(QLatin1Char('\t'), 0, 0);
    }
    QCOMPARE(verdicts,
             (QStringList{u"create"_s, u"unknown-channel"_s, u"absent"_s, u"unsupported"_s}));
    QCOMPARE(timers(true), QStringList());
    QCOMPARE(readBytes(m_home->filePath(u"dbchannel.dat"_s)), channels);
}

void TestE2eVdr::channelsMatchFillsNumbers()
{
    pointAtVdr();
    writeBytes(m_home->filePath(u"kovquibcg.dat"_s),
               "0,17,csv,4\r\nisocode,name,id,country,category,lang\r\n"
               "de,Alpha TV,101,DE,General,de\r\nde,Beta One,102,DE,News,de\r\n"
               "de,Gamma Kultur,103,DE,Culture,de\r\nde,Delta,104,DE,Sport,de\r\n");
    writeBytes(m_home->filePath(u"dbchannel.dat"_s), "12,Alpha TV\r\n");
    const Run result = run({QStringLiteral("channels"), QStringLiteral("match")});
    QCOMPARE(result.status, 0);
    QCOMPARE(result.lines(), (QStringList{u"matched\tBeta One\t2"_s, u"ambiguous\tDelta"_s,
                                          u"unmatched\tGamma Kultur"_s}));
    // Alpha TV keeps the number the user gave it.
    QCOMPARE(run({QStringLiteral("channels"), QStringLiteral("list")}).lines(),
             (QStringList{u"Alpha TV\t12"_s, u"Beta One\t2"_s, u"Gamma Kultur\t"_s, u"Delta\t"_s}));
}

QTEST_GUILESS_MAIN(TestE2eVdr)
#include "tst_e2e_vdr.moc"
