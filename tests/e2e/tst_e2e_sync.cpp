// kovferrit-cli sync, tick, channels and recordings against the Quib simulator (issue 4).
#include "harness.h"

#include <QDir>
#include <QJsonDocument>
#include <QtTest>

namespace {
QJsonObject jobs(const QStringList& records, int status = 0)
{
    return QJsonObject{{QStringLiteral("status"), status},
                       {QStringLiteral("serial"), 4711},
                       {QStringLiteral("records"), QJsonArray::fromStringList(records)}};
}

QJsonObject standard(const QJsonObject& jobsAnswer)
{
    return scenario({{QStringLiteral("gettargetsystems"), targetsAnswer()},
                     {QStringLiteral("getjobs"), jobsAnswer},
                     {QStringLiteral("channelguide"), guideAnswer()}});
}

QStringList messages(const CliRun& run)
{
    QStringList list;
    for (const QString& line : run.lines()) {
        if (line.startsWith(QLatin1String("message: ")))
            list << line.mid(9);
    }
    return list;
}

const QStringList kAnswers = {QStringLiteral("--channel"), QStringLiteral("Alpha TV=7"),
                              QStringLiteral("--channel"), QStringLiteral("Beta One=8")};
} // namespace

class TestE2eSync : public QObject
{
    Q_OBJECT
private slots:
    void firstAndSecondRun();
    void statusTen();
    void quibInactive();
    void unknownChannelAnsweredAndCancelled();
    void existingRecAndDelete();
    void sequences();
    void tickSyncsWhenDue();
    void channelsListAndSet();
    void daemonTicksUntilTerminated();
};

void TestE2eSync::firstAndSecondRun()
{
    Simulator sim;
    QVERIFY(sim.start(standard(jobs({jobLine(QStringLiteral("Alpha TV"), QStringLiteral("rec"),
                                             QStringLiteral("Concert"), 5001),
                                     jobLine(QStringLiteral("Beta One"), QStringLiteral("rec"),
                                             QStringLiteral("News"), 5002)}))));
    CliHome home;
    home.setUp(sim);
    const CliRun first = home.run(QStringList{QStringLiteral("sync")} + kAnswers);
    QCOMPARE(first.status, 0);
    QCOMPARE(sim.functions(),
             (QStringList{QStringLiteral("gettargetsystems"), QStringLiteral("getjobs"),
                          QStringLiteral("channelguide")}));
    QCOMPARE(home.get(QStringLiteral("HaveServers")), QStringLiteral("1"));
    QCOMPARE(home.get(QStringLiteral("HaveChannelDatabase")), QStringLiteral("1"));
    const QStringList shown = messages(first);
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[0], QStringLiteral("Channel database has been received from the server."));
    QVERIFY2(shown[1].endsWith(QLatin1String(":00:New Data Received")), qPrintable(shown[1]));
    const QStringList recordings = home.run({QStringLiteral("recordings")}).lines();
    QCOMPARE(recordings.size(), 2);
    QVERIFY(recordings[0].endsWith(
        QLatin1String("\t2026-12-24T20:15:00\t2026-12-24T23:00:00\t7\t") +
        recordings[0].section(QLatin1Char('\t'), 0, 0) + QLatin1String("\tfs:5001\t0")));
    QCOMPARE(readLines(home.file(QStringLiteral("dbchannel.dat"))),
             (QStringList{QStringLiteral("7,Alpha TV\r"), QStringLiteral("8,Beta One\r")}));
    // Every request carried the demo account's access string and the manual initiator.
    for (const QJsonObject& r : sim.requests())
        QCOMPARE(r.value(QStringLiteral("params"))
                     .toObject()
                     .value(QStringLiteral("initiator"))
                     .toString(),
                 QStringLiteral("0"));

    const CliRun second = home.run({QStringLiteral("sync")});
    QCOMPARE(second.status, 0);
    QCOMPARE(sim.functions().mid(3), QStringList{QStringLiteral("getjobs")});
    QCOMPARE(home.run({QStringLiteral("recordings")}).lines().size(),
             2); // existing ones not created twice
    QVERIFY(second.err.isEmpty());
}

void TestE2eSync::statusTen()
{
    Simulator sim;
    QVERIFY(sim.start(standard(jobs({}, 10))));
    CliHome home;
    home.setUp(sim);
    const CliRun run = home.run({QStringLiteral("sync")});
    QCOMPARE(run.status, 1);
    QCOMPARE(messages(run), QStringList{QStringLiteral("GetJobs FAILED : Account Unknown")});
    QVERIFY(run.lines().contains(QStringLiteral("box: Job List Download OK 10")));
    QCOMPARE(home.get(QStringLiteral("HaveChannelDatabase")), QString());
}

void TestE2eSync::quibInactive()
{
    Simulator sim;
    QJsonObject inactive{
        {QStringLiteral("misbehave"), QStringLiteral("raw")},
        {QStringLiteral("body"), QStringLiteral("40 Quib for PC is switched off")}};
    QVERIFY(sim.start(standard(inactive)));
    CliHome home;
    home.setUp(sim);
    home.set(QStringLiteral("HaveServers"), 1);
    const CliRun run = home.run({QStringLiteral("sync")});
    QCOMPARE(run.status, 1);
    QCOMPARE(messages(run), QStringList{QStringLiteral("Quib For PC is not active")});
    QCOMPARE(sim.functions().size(), 3); // the invalid reply was tried OpenURLRetries times
}

void TestE2eSync::unknownChannelAnsweredAndCancelled()
{
    Simulator sim;
    QVERIFY(sim.start(standard(jobs({jobLine(QStringLiteral("Gamma 1"), QStringLiteral("rec"),
                                             QStringLiteral("Doc"), 6001)}))));
    CliHome home;
    home.setUp(sim);
    home.set(QStringLiteral("HaveServers"), 1);
    home.set(QStringLiteral("HaveChannelDatabase"), 1);
    // Nobody to ask (standard input is not a terminal): the prompt counts as cancelled.
    QCOMPARE(home.run({QStringLiteral("sync")}).status, 0);
    QVERIFY(home.run({QStringLiteral("recordings")}).lines().isEmpty());
    QVERIFY(!QFile::exists(home.file(QStringLiteral("dbchannel.dat"))));
    // Answered from --channel: stored and recorded.
    QCOMPARE(
        home.run({QStringLiteral("sync"), QStringLiteral("--channel"), QStringLiteral("Gamma 1=9")})
            .status,
        0);
    QCOMPARE(readLines(home.file(QStringLiteral("dbchannel.dat"))),
             QStringList{QStringLiteral("9,Gamma 1\r")});
    const QStringList recordings = home.run({QStringLiteral("recordings")}).lines();
    QCOMPARE(recordings.size(), 1);
    QCOMPARE(recordings[0].section(QLatin1Char('\t'), 3, 3), QStringLiteral("9"));
}

void TestE2eSync::existingRecAndDelete()
{
    const QString rec =
        jobLine(QStringLiteral("Alpha TV"), QStringLiteral("rec"), QStringLiteral("Film"), 7001);
    const QString del =
        jobLine(QStringLiteral("Alpha TV"), QStringLiteral("delete"), QStringLiteral("Film"), 7001);
    QJsonObject functions{
        {QStringLiteral("getjobs"), QJsonArray{jobs({rec}), jobs({rec}), jobs({del})}}};
    Simulator sim;
    QVERIFY(sim.start(scenario(functions)));
    CliHome home;
    home.setUp(sim);
    home.set(QStringLiteral("HaveServers"), 1);
    home.set(QStringLiteral("HaveChannelDatabase"), 1);
    home.set(QStringLiteral("LogReplies"), 1);
    QCOMPARE(home.run(QStringList{QStringLiteral("sync")} + kAnswers).status, 0);
    QCOMPARE(home.run({QStringLiteral("recordings")}).lines().size(), 1);
    const CliRun again = home.run({QStringLiteral("sync")});
    QVERIFY(again.err.isEmpty());
    QCOMPARE(home.run({QStringLiteral("recordings")}).lines().size(), 1);
    QCOMPARE(home.run({QStringLiteral("sync")}).status, 0);
    QVERIFY(home.run({QStringLiteral("recordings")}).lines().isEmpty());
    const QStringList log = readLines(home.file(QStringLiteral("ReplyLog.txt")));
    QCOMPARE(log.filter(QStringLiteral("Scheduler rec ")).size(), 2);
    QCOMPARE(log.filter(QStringLiteral("Scheduler delete ")).size(), 1);
}

void TestE2eSync::sequences()
{
    Simulator sim;
    QVERIFY(sim.start(standard(
        jobs({jobLine(QStringLiteral("Alpha TV"), QStringLiteral("rec"), QStringLiteral("Daily"), 1,
                      QStringLiteral("2026-12-24 06:00:00 +0100"), 127),
              jobLine(QStringLiteral("Alpha TV"), QStringLiteral("rec"), QStringLiteral("Odd"), 2,
                      QStringLiteral("2026-12-24 07:00:00 +0100"), 31)}))));
    CliHome home;
    home.setUp(sim);
    home.set(QStringLiteral("HaveServers"), 1);
    home.set(QStringLiteral("HaveChannelDatabase"), 1);
    QCOMPARE(home.run(QStringList{QStringLiteral("sync")} + kAnswers).status, 0);
    const QStringList recordings = home.run({QStringLiteral("recordings")}).lines();
    QCOMPARE(recordings.size(), 2);
    QVERIFY(recordings[0].startsWith(QLatin1String("Daily_")) &&
            recordings[0].endsWith(QLatin1String("\t1")));
    QVERIFY(recordings[1].startsWith(QLatin1String("Odd_")) &&
            recordings[1].endsWith(QLatin1String("\t0")));
    QCOMPARE(QDir(home.path()).entryList({QStringLiteral("ERROR_*.txt")}).size(), 1);
}

void TestE2eSync::tickSyncsWhenDue()
{
    Simulator sim;
    QVERIFY(sim.start(standard(jobs({}, 1))));
    CliHome home;
    home.setUp(sim);
    home.markSynced();
    const CliRun first = home.run({QStringLiteral("tick")});
    QCOMPARE(first.status, 0);
    QCOMPARE(sim.functions(), QStringList{QStringLiteral("getjobs")});
    QVERIFY(first.lines().last().startsWith(QLatin1String("update: Next Update: ")));
    QCOMPARE(sim.requests()[0]
                 .value(QStringLiteral("params"))
                 .toObject()
                 .value(QStringLiteral("initiator"))
                 .toString(),
             QStringLiteral("1"));
    home.run({QStringLiteral("tick")}); // not due again
    QCOMPARE(sim.functions().size(), 1);
}

void TestE2eSync::channelsListAndSet()
{
    Simulator sim;
    QVERIFY(sim.start(standard(jobs({}, 1))));
    CliHome home;
    home.setUp(sim);
    QCOMPARE(home.run({QStringLiteral("channels"), QStringLiteral("list")}).status,
             1); // no guide yet
    home.run({QStringLiteral("sync")});
    QCOMPARE(home.run({QStringLiteral("channels"), QStringLiteral("list")}).lines(),
             (QStringList{QStringLiteral("Alpha TV\t"), QStringLiteral("Beta One\t")}));
    QCOMPARE(home.run({QStringLiteral("channels"), QStringLiteral("set"),
                       QStringLiteral("Beta One"), QStringLiteral("12abc")})
                 .status,
             0);
    QCOMPARE(home.run({QStringLiteral("channels"), QStringLiteral("set"),
                       QStringLiteral("Alpha TV"), QStringLiteral("3")})
                 .status,
             0);
    QCOMPARE(readLines(home.file(QStringLiteral("dbchannel.dat"))),
             (QStringList{QStringLiteral("3,Alpha TV\r"), QStringLiteral("12,Beta One\r")}));
    QCOMPARE(readLines(home.file(QStringLiteral("dbchannel_.dat"))),
             QStringList{QStringLiteral("12,Beta One\r")});
    QCOMPARE(home.run({QStringLiteral("channels"), QStringLiteral("set"), QStringLiteral("Nope"),
                       QStringLiteral("3")})
                 .status,
             1);
}

void TestE2eSync::daemonTicksUntilTerminated()
{
    Simulator sim;
    QVERIFY(sim.start(standard(jobs({}, 1))));
    CliHome home;
    home.setUp(sim);
    home.markSynced();
    QProcess daemon;
    daemon.start(qEnvironmentVariable("KOVFERRIT_CLI"),
                 {QStringLiteral("--home"), home.path(), QStringLiteral("daemon")});
    QVERIFY(daemon.waitForStarted());
    QByteArray out;
    QTRY_VERIFY_WITH_TIMEOUT(
        (out += daemon.readAllStandardOutput()).contains("update: Next Update: "), 30000);
    QCOMPARE(sim.functions(),
             QStringList{QStringLiteral("getjobs")}); // the first tick synced at once
    daemon.terminate();                               // SIGTERM ends it cleanly
    QVERIFY(daemon.waitForFinished(10000));
    QCOMPARE(daemon.exitStatus(), QProcess::NormalExit);
    QCOMPARE(daemon.exitCode(), 0);
}

QTEST_GUILESS_MAIN(TestE2eSync)
#include "tst_e2e_sync.moc"
