// Part 1.2: the server session.
#include "fakes.h"
#include "foundation/kov_date.h"
#include "protocol/cquibreply.h"
#include "protocol/cquibsession.h"
#include "settings/ckovreg.h"
#include "settings/settings_catalogue.h"
#include "testsupport.h"

#include <QtTest>

namespace {

const QString kTargetsReply =
    replyDocument(strings({"0,csv,1", "target,description", "localhost,Local"}));
} // namespace

class TestSession : public QObject
{
    Q_OBJECT
private slots:
    void isValidReply_data();
    void isValidReply();
    void noAttemptsShowsNoConnection();
    void validAtFirstAttempt();
    void invalidRepliesRetried_data();
    void invalidRepliesRetried();
    void htmlPageGoesToParser();
    void transferFailureDropsComponent();
    void invalidTargetFixed();
    void targetAcceptedFromServerList_data();
    void targetAcceptedFromServerList();
    void channelGuideBadStatus();
    void channelGuideGoodStatus();
    void replyLog();
    void recordsExchange();
    void refusals();
    void initializeAndCancel();
};

void TestSession::isValidReply_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<bool>("valid");
    QTest::newRow("code 0") << "0,5,csv,2\r\nmore" << true;
    QTest::newRow("code 16") << "16,1,csv,0\r\n" << true;
    QTest::newRow("code 17") << "17,1,csv,0\r\n" << false;
    QTest::newRow("code -1") << "-1,1,csv,0\r\n" << false;
    QTest::newRow("no CR LF") << "0,1,csv,0" << false;
    QTest::newRow("LF only") << "0,1,csv,0\nx\n" << false;
    QTest::newRow("text counts as 0") << "<html>\r\n" << true;
    QTest::newRow("16.4 rounds to 16") << "16.4,1\r\n" << true;
    QTest::newRow("empty") << "" << false;
}

void TestSession::isValidReply()
{
    TestEnvironment env;
    QFETCH(QString, reply);
    QFETCH(bool, valid);
    QCOMPARE(IsValidReply(reply), valid);
}

void TestSession::noAttemptsShowsNoConnection()
{
    TestEnvironment env;
    storeCredentials(QStringLiteral("demo"), QStringLiteral("pw"));
    kov_Settings().setLng(KovSetting::OpenURLRetries, 0);
    FakeTransfer transfer;
    CQuibSession session;
    session.Initialize(&transfer);
    QVERIFY(!session.ServerFunction(QuibFunction::GetJobs));
    QVERIFY(transfer.urls.isEmpty());
    CKovReg reg = kov_Settings();
    QVERIFY(reg.ValueExists(QStringLiteral("LastgetjobsReplyString")));
    QCOMPARE(reg.Str(QStringLiteral("LastgetjobsReplyString")), QString());
    QCOMPARE(env.ui.boxes.size(), 1);
    QCOMPARE(env.ui.boxes[0].text, QStringLiteral("No internet connection available"));
    QCOMPARE(env.ui.boxes[0].caption, QStringLiteral("ERROR"));
    QCOMPARE(env.ui.boxes[0].style, 16);
}

void TestSession::validAtFirstAttempt()
{
    TestEnvironment env;
    storeCredentials(QStringLiteral("demo"), QStringLiteral("pw"));
    FakeTransfer transfer;
    transfer.queue(QStringLiteral("0,5,csv,2\r\nchannel,x\r\n"));
    transfer.queue(QStringLiteral("never used"));
    CQuibSession session;
    session.Initialize(&transfer);
    session.ServerFunction(QuibFunction::GetJobs);
    QCOMPARE(transfer.urls.size(), 1);
    QVERIFY(session.Reply());
    QCOMPARE(session.Reply()->Serial(), 5);
}

void TestSession::invalidRepliesRetried_data()
{
    QTest::addColumn<QString>("reply");
    QTest::newRow("code 17") << "17,1,csv,0\r\n";
    QTest::newRow("code -1") << "-1,1,csv,0\r\n";
    QTest::newRow("no line end") << "0,1,csv,0";
}

void TestSession::invalidRepliesRetried()
{
    TestEnvironment env;
    QFETCH(QString, reply);
    storeCredentials(QStringLiteral("demo"), QStringLiteral("pw"));
    FakeTransfer transfer;
    transfer.queue(QStringLiteral("99,1,csv,0\r\n"));
    transfer.queue(reply);
    CQuibSession session;
    session.Initialize(&transfer);
    QVERIFY(!session.ServerFunction(QuibFunction::GetJobs));
    QCOMPARE(transfer.urls.size(), 3);
    QCOMPARE(kov_Settings().Str(QStringLiteral("LastgetjobsReplyString")), reply);
    QVERIFY(env.ui.boxes.isEmpty());
    QVERIFY(!session.Reply());
}

void TestSession::htmlPageGoesToParser()
{
    TestEnvironment env;
    storeCredentials(QStringLiteral("demo"), QStringLiteral("pw"));
    FakeTransfer transfer;
    transfer.queue(QStringLiteral("<html>\r\n<body>Maintenance</body>\r\n</html>\r\n"));
    CQuibSession session;
    session.Initialize(&transfer);
    QVERIFY(!session.ServerFunction(QuibFunction::GetJobs));
    QCOMPARE(transfer.urls.size(), 1);
    QVERIFY(session.Reply());
    QVERIFY(session.Reply()->Details().contains(QLatin1String("Reply string not valid.")));
}

void TestSession::transferFailureDropsComponent()
{
    TestEnvironment env;
    storeCredentials(QStringLiteral("demo"), QStringLiteral("pw"));
    FakeTransfer transfer;
    transfer.queueFailure(QStringLiteral("Timeout"));
    CQuibSession session;
    session.Initialize(&transfer);
    QVERIFY(!session.ServerFunction(QuibFunction::GetJobs));
    QVERIFY(env.traced(QStringLiteral("CQuibSession::GetJobs FAILED: Timeout")));
    QVERIFY(!kov_Settings().ValueExists(QStringLiteral("LastgetjobsReplyString"))); // no record
    transfer.answers.clear();
    transfer.queue(kTargetsReply);
    QVERIFY(!session.ServerFunction(QuibFunction::GetTargetSystems));
    QCOMPARE(transfer.urls.size(), 1); // no second request
    QVERIFY(
        env.traced(QStringLiteral("CQuibSession::ServerFunction Internet Control DISAPPEARED !")));
    QVERIFY(env.ui.boxes.isEmpty());
}

void TestSession::invalidTargetFixed()
{
    TestEnvironment env;
    storeCredentials(QStringLiteral("demo"), QStringLiteral("pw"));
    CKovReg reg = kov_Settings();
    reg.setStr(QStringLiteral("1Server"), QStringLiteral("quib1.example,First"));
    reg.setStr(KovSetting::Target, QStringLiteral("evil.example"));
    FakeTransfer transfer;
    transfer.queue(QString());
    reg.setLng(KovSetting::OpenURLRetries, 1);
    CQuibSession session;
    session.Initialize(&transfer);
    session.ServerFunction(QuibFunction::GetJobs);
    QVERIFY(transfer.urls.value(0).startsWith(QLatin1String("http://localhost:80/")));
    QVERIFY(transfer.urls.value(0).contains(QLatin1String("&target=localhost&")));
    QCOMPARE(reg.Str(KovSetting::Target), QStringLiteral("localhost"));
    QVERIFY(env.traced(
        QStringLiteral("CQuibSession::Target Fixed In Database\r\n(evil.example) Not Valid")));
}

void TestSession::targetAcceptedFromServerList_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("second server, other case") << "QUIB2.example" << true;
    QTest::newRow("text after the comma is not a host") << "Second" << false;
    QTest::newRow("after the list's end") << "quib4.example" << false;
    QTest::newRow("default host exactly") << "localhost" << true;
    QTest::newRow("default host, other case") << "LOCALHOST" << false;
}

void TestSession::targetAcceptedFromServerList()
{
    TestEnvironment env;
    QFETCH(QString, target);
    QFETCH(bool, accepted);
    storeCredentials(QStringLiteral("demo"), QStringLiteral("pw"));
    CKovReg reg = kov_Settings();
    reg.setStr(QStringLiteral("1Server"), QStringLiteral("quib1.example,First"));
    reg.setStr(QStringLiteral("2Server"), QStringLiteral("quib2.example,Second"));
    reg.setStr(QStringLiteral("4Server"),
               QStringLiteral("quib4.example,Gap")); // the list ends at 3
    reg.setStr(KovSetting::Target, target);
    reg.setLng(KovSetting::OpenURLRetries, 1);
    FakeTransfer transfer;
    CQuibSession session;
    session.Initialize(&transfer);
    session.ServerFunction(QuibFunction::GetJobs);
    QCOMPARE(
        transfer.urls.value(0).startsWith(QStringLiteral("http://") + target + QLatin1Char(':')),
        accepted);
    QCOMPARE(reg.Str(KovSetting::Target), accepted ? target : QStringLiteral("localhost"));
}

void TestSession::channelGuideBadStatus()
{
    TestEnvironment env;
    storeCredentials(QStringLiteral("demo"), QStringLiteral("pw"));
    CKovReg reg = kov_Settings();
    reg.setLng(KovSetting::HaveChannelDatabase, 1);
    const QString reply = replyDocument(strings({"16,1,csv,0", "isocode,name"}));
    FakeTransfer transfer;
    transfer.queue(reply);
    CQuibSession session;
    session.Initialize(&transfer);
    QVERIFY(session.ServerFunction(QuibFunction::ChannelGuide));
    QCOMPARE(readBytes(env.file(QStringLiteral("ChannelDatabaseError.txt"))),
             (reply + QStringLiteral("\r\n")).toLatin1());
    QVERIFY(!QFile::exists(env.file(QStringLiteral("kovquibcg.dat"))));
    QCOMPARE(reg.Lng(KovSetting::HaveChannelDatabase), 0);
    QVERIFY(session.Reply());
    QCOMPARE(session.Reply()->ErrorCode(), 16);
}

void TestSession::channelGuideGoodStatus()
{
    TestEnvironment env;
    storeCredentials(QStringLiteral("demo"), QStringLiteral("pw"));
    const QString reply = replyDocument(
        strings({"1,3,csv,1", "isocode,name,id,country,category,lang", "de,Alpha,1,DE,Gen,de"}));
    FakeTransfer transfer;
    transfer.queue(reply);
    CQuibSession session;
    session.Initialize(&transfer);
    QVERIFY(session.ServerFunction(QuibFunction::ChannelGuide));
    QCOMPARE(readBytes(env.file(QStringLiteral("kovquibcg.dat"))),
             (reply + QStringLiteral("\r\n")).toLatin1());
    QVERIFY(!QFile::exists(env.file(QStringLiteral("ChannelDatabaseError.txt"))));
}

void TestSession::replyLog()
{
    TestEnvironment env;
    FixedClock clock(QDateTime(QDate(2026, 12, 6), QTime(10, 0, 0)));
    kov_SetClock(&clock);
    storeCredentials(QStringLiteral("demo"), QStringLiteral("pw"));
    const QString reply = replyDocument(strings({"1,9,csv,0", "channel,title"}));
    FakeTransfer transfer;
    transfer.queue(reply);
    CQuibSession session;
    session.Initialize(&transfer);
    session.ServerFunction(QuibFunction::GetJobs);
    QVERIFY(!QFile::exists(env.file(QStringLiteral("ReplyLog.txt"))));
    session.setLogReplies(true);
    session.ServerFunction(QuibFunction::GetJobs);
    const QString expected = kov_DateText(clock.time) + QStringLiteral("\r\n") +
                             transfer.urls.last() + QStringLiteral("\r\n") + reply +
                             QStringLiteral("\r\n\r\n\r\n");
    QCOMPARE(QString::fromLatin1(readBytes(env.file(QStringLiteral("ReplyLog.txt")))), expected);
    session.ServerFunction(QuibFunction::GetTargetSystems); // only getjobs is logged
    QCOMPARE(QString::fromLatin1(readBytes(env.file(QStringLiteral("ReplyLog.txt")))), expected);
}

void TestSession::recordsExchange()
{
    TestEnvironment env;
    FixedClock clock(QDateTime(QDate(2026, 12, 6), QTime(10, 30, 15)));
    kov_SetClock(&clock);
    storeCredentials(QStringLiteral("demo"), QStringLiteral("pw"));
    FakeTransfer transfer;
    transfer.queue(kTargetsReply);
    CQuibSession session;
    session.Initialize(&transfer);
    QVERIFY(session.ServerFunction(QuibFunction::GetTargetSystems, false, true));
    CKovReg reg = kov_Settings();
    QCOMPARE(reg.Str(QStringLiteral("LastgettargetsystemsQueryTime")), kov_DateText(clock.time));
    QCOMPARE(reg.Str(QStringLiteral("LastgettargetsystemsQueryString")), transfer.urls.value(0));
    QCOMPARE(reg.Str(QStringLiteral("LastgettargetsystemsReplyString")), kTargetsReply);
    QVERIFY(transfer.urls.value(0).contains(QLatin1String("&serial=0&")));
}

void TestSession::refusals()
{
    TestEnvironment env;
    storeCredentials(QStringLiteral("demo"), QStringLiteral("pw"));
    CQuibSession fresh;
    QVERIFY(!fresh.ServerFunction(QuibFunction::GetJobs));
    QVERIFY(env.traced(
        QStringLiteral("CQuibSession::ServerFunction Internet Control is not Available.")));
    FakeTransfer busy;
    busy.executing = true;
    CQuibSession session;
    session.Initialize(&busy);
    QVERIFY(session.StillExecuting());
    QVERIFY(!session.ServerFunction(QuibFunction::GetJobs));
    QVERIFY(env.traced(QStringLiteral("CQuibSession:: MSINET.StillExecuting !!!")));
    QVERIFY(busy.urls.isEmpty());
    QVERIFY(!kov_Settings().ValueExists(QStringLiteral("LastgetjobsQueryString")));
    // No account: the message of Part 1.1, nothing recorded, no request.
    CKovReg reg = kov_Settings();
    reg.DeleteValue(KovSetting::Account);
    FakeTransfer idle;
    CQuibSession third;
    third.Initialize(&idle);
    QVERIFY(!third.ServerFunction(QuibFunction::GetJobs));
    QVERIFY(idle.urls.isEmpty());
    QCOMPARE(env.ui.boxes.last().text, QStringLiteral("You MUST set an Account and Password"));
}

void TestSession::initializeAndCancel()
{
    TestEnvironment env;
    kov_Settings().setLng(KovSetting::TimeoutSeconds, 7);
    CQuibSession session;
    QVERIFY(!session.Initialize(nullptr));
    QVERIFY(env.traced(QStringLiteral("CQuibSession::Initialize requires InetControl")));
    FakeTransfer transfer;
    {
        CQuibSession owner;
        QVERIFY(owner.Initialize(&transfer));
        QCOMPARE(transfer.timeout, 7);
        QCOMPARE(owner.TimeoutSeconds(), 7);
        owner.setTimeoutSeconds(9); // only stored: the component keeps Initialize's time-out
        QCOMPARE(transfer.timeout, 7);
        owner.Cancel();
        QCOMPARE(transfer.cancels, 1);
    }
    QCOMPARE(transfer.cancels, 2); // destroyed: Cancel, then release
    QCOMPARE(session.Port(), 80);
    QCOMPARE(session.Path(), QStringLiteral("cgi-bin/WebObjects/Zorvyn.woa/wa/"));
    QCOMPARE(session.TargetAddress(), QStringLiteral("http://localhost"));
}

QTEST_GUILESS_MAIN(TestSession)
#include "tst_session.moc"
