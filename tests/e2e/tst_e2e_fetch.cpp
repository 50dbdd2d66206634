// kovferrit-cli fetch against the Quib simulator: every reachable failure row of Parts 1.2, 1.3.
#include "harness.h"

#include <QDir>
#include <QJsonDocument>
#include <QTcpServer>
#include <QtTest>

namespace {
QJsonObject answer(const char* json)
{
    return QJsonDocument::fromJson(QByteArray(json)).object();
}
const char* const kOneJob =
    R"({"serial": 4711, "records": ["Alpha TV,101,7001,2026-12-24 20:15:00 +0100,2026-12-24 22:00:00 +0100,rec,Concert,0,1,0,2,1,n,f,,d,"]})";
} // namespace

class TestE2eFetch : public QObject
{
    Q_OBJECT
private slots:
    void failureRows_data();
    void failureRows();
    void hungServerEndsInTime();
    void refusedConnection();
    void unknownHost();
    void noCredentials();
    void invalidTargetFixed();
    void replyLogUnwritable();
    void notAcceptedHeaderStillSchedules();
    void contentLinesShort();
    void channelRecordOfOtherWidth();
};

void TestE2eFetch::failureRows_data()
{
    QTest::addColumn<QString>("function");
    QTest::addColumn<QJsonObject>("reply");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("requests");
    QTest::addColumn<QString>("stderrText");
    QTest::addColumn<int>("recordings");
    QTest::newRow("good jobs") << "getjobs" << answer(kOneJob) << 0 << 1 << "" << 1;
    QTest::newRow("status 1") << "getjobs" << answer(R"({"status": 1, "serial": 5})") << 1 << 1
                              << "" << 0;
    QTest::newRow("status 10") << "getjobs" << answer(R"({"status": 10, "serial": 5})") << 10 << 1
                               << "" << 0;
    QTest::newRow("status 16") << "getjobs" << answer(R"({"status": 16, "serial": 5})") << 16 << 1
                               << "" << 0;
    QTest::newRow("status 17 retried")
        << "getjobs" << answer(R"({"status": 17, "serial": 5})") << -1 << 3 << "" << 0;
    QTest::newRow("status -1 retried")
        << "getjobs" << answer(R"({"status": -1, "serial": 5})") << -1 << 3 << "" << 0;
    QTest::newRow("empty body") << "getjobs" << answer(R"({"misbehave": "empty"})") << -1 << 3
                                << "[ERROR] No internet connection available" << 0;
    QTest::newRow("HTML page") << "getjobs" << answer(R"({"misbehave": "html"})") << -1 << 1 << ""
                               << 0;
    // Qt's HTTP stack sends an idempotent GET once more when the connection is reset before any
    // answer; the session itself called OpenURL once and did not retry after the failure.
    QTest::newRow("reset") << "getjobs" << answer(R"({"misbehave": "reset"})") << -1 << 2 << ""
                           << 0;
    QTest::newRow("over 16 MiB") << "getjobs" << answer(R"({"misbehave": "big"})") << -1 << 1 << ""
                                 << 0;
    QTest::newRow("HTTP 500 with a reply")
        << "getjobs" << answer(R"({"http_status": 500, "status": 1, "serial": 3})") << 1 << 1 << ""
        << 0;
    QTest::newRow("no line end") << "getjobs"
                                 << answer(R"({"misbehave": "raw", "body": "0,1,csv,0"})") << -1
                                 << 3 << "" << 0;
    QTest::newRow("wrong header") << "getjobs" << answer(R"({"header": "0,5,csv,1,extra"})") << -1
                                  << 1 << "" << 0;
    QTest::newRow("serial 0") << "getjobs" << answer(R"({"serial": 0})") << -1 << 1 << "" << 0;
    QTest::newRow("token mismatch")
        << "getjobs" << answer(R"({"serial": 4711, "fields": "Channel,x", "records": ["a,b"]})")
        << 0 << 1 << "" << 0;
    QTest::newRow("one column name")
        << "getjobs" << answer(R"({"serial": 4711, "fields": "channel", "records": ["a"]})") << 0
        << 1 << "" << 0;
    QTest::newRow("truncated")
        << "getjobs"
        << answer(
               R"({"misbehave": "truncate", "bytes": 220, "serial": 4711, "records": ["Alpha TV,101,7001,2026-12-24 20:15:00 +0100,2026-12-24 22:00:00 +0100,rec,Concert,0,1,0,2,1,n,f,,d,"]})")
        << 0 << 1 << "" << 0;
    QTest::newRow("raised failure") << "getjobs" << answer(R"({"serial": 99999999999})") << -1 << 1
                                    << "[KovFerrit] CQuibReply::HandleReplyString Overflow" << 0;
    QTest::newRow("targets without lines")
        << "gettargetsystems" << answer(R"({"records": []})") << -1 << 1 << "" << 0;
    QTest::newRow("targets") << "gettargetsystems" << answer(R"({"records": ["localhost,x"]})") << 0
                             << 1 << "" << 0;
    QTest::newRow("guide status 16")
        << "channelguide" << answer(R"({"status": 16, "serial": 3})") << 16 << 1 << "" << 0;
}

void TestE2eFetch::failureRows()
{
    QFETCH(QString, function);
    QFETCH(QJsonObject, reply);
    QFETCH(int, code);
    QFETCH(int, requests);
    QFETCH(QString, stderrText);
    QFETCH(int, recordings);
    Simulator sim;
    QVERIFY(sim.start(scenario({{function, reply}})));
    CliHome home;
    home.setUp(sim);
    home.writeFile(QStringLiteral("dbchannel.dat"), "7,Alpha TV\r\n");
    const CliRun run = home.run({QStringLiteral("fetch"), function, QStringLiteral("--manual")});
    QCOMPARE(run.lines().last(), QString::number(code));
    QCOMPARE(run.status, (code == 0 || code == 1) ? 0 : 1);
    QCOMPARE(sim.functions().size(), requests);
    if (stderrText.isEmpty())
        QVERIFY2(run.err.isEmpty(), qPrintable(run.err));
    else
        QVERIFY2(run.err.contains(stderrText), qPrintable(run.err));
    QCOMPARE(home.run({QStringLiteral("recordings")}).lines().size(), recordings);
    QVERIFY(run.lines().contains(QStringLiteral("box: WAIT ....")));
    if (sim.requests()
            .value(0)
            .value(QStringLiteral("params"))
            .toObject()
            .value(QStringLiteral("initiator")) != QStringLiteral("0"))
        QFAIL("a manual fetch must send initiator=0");
}

void TestE2eFetch::hungServerEndsInTime()
{
    Simulator sim;
    QVERIFY(sim.start(scenario(
        {{QStringLiteral("getjobs"), answer(R"({"misbehave": "delay", "seconds": 60})")}})));
    CliHome home;
    home.setUp(sim);
    home.set(QStringLiteral("TimeoutSeconds"), 2);
    home.set(QStringLiteral("OpenURLRetries"), 3);
    const CliRun run = home.run({QStringLiteral("fetch"), QStringLiteral("getjobs")});
    QCOMPARE(run.lines().last(), QStringLiteral("-1"));
    QVERIFY2(run.milliseconds < (3 * 2 + 1) * 1000, qPrintable(QString::number(run.milliseconds)));
    QCOMPARE(sim.functions().size(), 1); // a transfer failure is not retried
    QVERIFY(home.get(QStringLiteral("LastgetjobsReplyString")).isEmpty());
}

void TestE2eFetch::refusedConnection()
{
    QTcpServer probe;
    QVERIFY(probe.listen(QHostAddress::LocalHost));
    const quint16 closedPort = probe.serverPort();
    probe.close();
    CliHome home;
    home.run({QStringLiteral("account"), QStringLiteral("demo")}, "demo-password\n");
    home.set(QStringLiteral("Port"), closedPort);
    const CliRun run = home.run({QStringLiteral("fetch"), QStringLiteral("getjobs")});
    QCOMPARE(run.lines().last(), QStringLiteral("-1"));
    QCOMPARE(run.status, 1);
    QVERIFY(run.lines().contains(QStringLiteral("box: Job List Download FAILED")));
}

void TestE2eFetch::unknownHost()
{
    CliHome home;
    home.run({QStringLiteral("account"), QStringLiteral("demo")}, "demo-password\n");
    home.setText(QStringLiteral("1Server"), QStringLiteral("no-such-host.invalid,Nowhere"));
    home.setText(QStringLiteral("Target"), QStringLiteral("no-such-host.invalid"));
    const CliRun run = home.run({QStringLiteral("fetch"), QStringLiteral("getjobs")});
    QCOMPARE(run.lines().last(), QStringLiteral("-1"));
    QCOMPARE(home.get(QStringLiteral("Target")),
             QStringLiteral("no-such-host.invalid")); // it was accepted
}

void TestE2eFetch::noCredentials()
{
    Simulator sim;
    QVERIFY(sim.start(scenario({{QStringLiteral("getjobs"), answer(kOneJob)}})));
    CliHome home;
    home.set(QStringLiteral("Port"), sim.port());
    const CliRun run = home.run({QStringLiteral("fetch"), QStringLiteral("getjobs")});
    QCOMPARE(run.lines().last(), QStringLiteral("-1"));
    QCOMPARE(run.err, QStringLiteral("[KovFerrit] Please specify an account and password.\n"));
    QVERIFY(sim.functions().isEmpty());
    // A wrong password reaches the server, which answers Account Unknown.
    home.setUp(sim, QStringLiteral("demo"), QStringLiteral("wrong"));
    QCOMPARE(home.run({QStringLiteral("fetch"), QStringLiteral("getjobs")}).lines().last(),
             QStringLiteral("10"));
}

void TestE2eFetch::invalidTargetFixed()
{
    Simulator sim;
    QVERIFY(sim.start(
        scenario({{QStringLiteral("getjobs"), answer(R"({"status": 1, "serial": 2})")}})));
    CliHome home;
    home.setUp(sim);
    home.setText(QStringLiteral("Target"), QStringLiteral("elsewhere.example"));
    QCOMPARE(home.run({QStringLiteral("fetch"), QStringLiteral("getjobs")}).lines().last(),
             QStringLiteral("1"));
    QCOMPARE(home.get(QStringLiteral("Target")), QStringLiteral("localhost"));
    QCOMPARE(sim.requests()
                 .value(0)
                 .value(QStringLiteral("params"))
                 .toObject()
                 .value(QStringLiteral("target"))
                 .toString(),
             QStringLiteral("localhost"));
}

void TestE2eFetch::replyLogUnwritable()
{
    Simulator sim;
    QVERIFY(sim.start(
        scenario({{QStringLiteral("getjobs"), answer(R"({"status": 1, "serial": 2})")}})));
    CliHome home;
    home.setUp(sim);
    home.set(QStringLiteral("LogReplies"), 1);
    QDir(home.path()).mkdir(QStringLiteral("ReplyLog.txt"));
    QCOMPARE(home.run({QStringLiteral("fetch"), QStringLiteral("getjobs")}).lines().last(),
             QStringLiteral("-1"));
    QDir(home.path()).rmdir(QStringLiteral("ReplyLog.txt"));
    QCOMPARE(home.run({QStringLiteral("fetch"), QStringLiteral("getjobs")}).lines().last(),
             QStringLiteral("1"));
    const QStringList log = readLines(home.file(QStringLiteral("ReplyLog.txt")));
    QVERIFY(log.value(1).startsWith(QStringLiteral("http://localhost:")));
    QCOMPARE(log.value(2), QStringLiteral("1,2,csv,0\r"));
}

void TestE2eFetch::notAcceptedHeaderStillSchedules()
{
    Simulator sim;
    QJsonObject reply = answer(kOneJob);
    reply.insert(QStringLiteral("serial"), 0);
    QVERIFY(sim.start(scenario({{QStringLiteral("getjobs"), reply}})));
    CliHome home;
    home.setUp(sim);
    const CliRun run = home.run({QStringLiteral("fetch"), QStringLiteral("getjobs")}, "");
    QCOMPARE(run.lines().last(), QStringLiteral("-1"));
    // The data section was still processed: the job asked for its channel (cancelled, no terminal).
    QCOMPARE(home.get(QStringLiteral("NoDataFields_getjobs")), QStringLiteral("17"));
}

void TestE2eFetch::contentLinesShort()
{
    Simulator sim;
    QJsonObject reply = answer(kOneJob);
    reply.insert(QStringLiteral("content_lines"), 3);
    QVERIFY(sim.start(scenario({{QStringLiteral("getjobs"), reply}})));
    CliHome home;
    home.setUp(sim);
    home.writeFile(QStringLiteral("dbchannel.dat"), "7,Alpha TV\r\n");
    QCOMPARE(home.run({QStringLiteral("fetch"), QStringLiteral("getjobs")}).lines().last(),
             QStringLiteral("0"));
    QCOMPARE(home.run({QStringLiteral("recordings")}).lines().size(),
             1); // earlier records were handled
}

void TestE2eFetch::channelRecordOfOtherWidth()
{
    Simulator sim;
    QJsonObject guide = guideAnswer();
    guide.insert(QStringLiteral("records"),
                 QJsonArray{QStringLiteral("de,Alpha TV,101,DE,General,de"),
                            QStringLiteral("de,Short,102")});
    QVERIFY(sim.start(scenario({{QStringLiteral("channelguide"), guide}})));
    CliHome home;
    home.setUp(sim);
    QCOMPARE(home.run({QStringLiteral("fetch"), QStringLiteral("channelguide")}).lines().last(),
             QStringLiteral("0"));
    QVERIFY(QFile::exists(home.file(QStringLiteral("kovquibcg.dat"))));
    QCOMPARE(home.get(QStringLiteral("NoDataFields_channelguide")), QStringLiteral("6"));
}

QTEST_GUILESS_MAIN(TestE2eFetch)
#include "tst_e2e_fetch.moc"
