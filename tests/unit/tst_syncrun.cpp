// Part 4.1: DoWork, RunSync, ResultText.
#include "app/kovferritsupport.h"
#include "app/syncrun.h"
#include "fakes.h"
#include "foundation/translate.h"
#include "protocol/cquibsession.h"
#include "settings/ckovreg.h"
#include "settings/settings_catalogue.h"
#include "testsupport.h"

#include <QtTest>

namespace {

const QString kTargets =
    replyDocument(strings({"0,csv,1", "target,description", "localhost,Local"}));
const QString kGuide = replyDocument(strings(
    {"0,3,csv,1", "isocode,name,id,country,category,language", "de,Alpha TV,101,DE,General,de"}));
QString jobsReply(int code)
{
    return replyDocument(
        {QStringLiteral("%1,4711,csv,0").arg(code), QStringLiteral("channel,title")});
}

QStringList functionsCalled(const FakeTransfer& transfer)
{
    QStringList names;
    for (const QString& url : transfer.urls)
        names << url.section(QLatin1Char('/'), -1).section(QLatin1Char('?'), 0, 0);
    return names;
}
} // namespace

class TestSyncRun : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void firstRun();
    void secondRun();
    void failedTargetsDoNotStopRun();
    void noPassword();
    void codeOne();
    void codeTenTranslated();
    void negativeResult_data();
    void negativeResult();
    void guideFailureEndsRun();
    void resultText_data();
    void resultText();
    void doWorkRefusals();
    void doWorkWithoutTransfer();

private:
    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<FixedClock> m_clock;
    FakeTransfer m_transfer;
};

void TestSyncRun::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_clock = std::make_unique<FixedClock>(QDateTime(QDate(2026, 12, 6), QTime(14, 5, 37)));
    kov_SetClock(m_clock.get());
    m_transfer = FakeTransfer();
    kov_SetTransferComponent(&m_transfer);
    BuildResultTexts();
    storeCredentials(QStringLiteral("demo"), QStringLiteral("pw"));
}

void TestSyncRun::cleanup()
{
    m_env.reset();
}

void TestSyncRun::firstRun()
{
    m_transfer.queue(kTargets);
    m_transfer.queue(jobsReply(0));
    m_transfer.queue(kGuide);
    RecordingFrontEnd ui;
    QVERIFY(RunSync(ui, true, true));
    QCOMPARE(functionsCalled(m_transfer), strings({"gettargetsystems", "getjobs", "channelguide"}));
    QCOMPARE(kov_Settings().Lng(KovSetting::HaveServers), 1);
    QCOMPARE(kov_Settings().Lng(KovSetting::HaveChannelDatabase), 1);
    QVERIFY(ui.timerEnabled);
    QCOMPARE(ui.messages, strings({"Channel database has been received from the server.",
                                   "14:05:00:New Data Received"}));
    QCOMPARE(
        ui.box.value,
        QStringLiteral(
            "Channel database has been received from the server.\r\n14:05:00:New Data Received"));
    QVERIFY(ui.box.history.contains(QStringLiteral("Database Download OK")));
    QVERIFY(ui.box.history.contains(QStringLiteral("Job List Download OK")));
    QVERIFY(ui.box.repaints.contains(QStringLiteral("WAIT ....")));
    QVERIFY(m_env->ui.boxes.isEmpty());
}

void TestSyncRun::secondRun()
{
    CKovReg reg = kov_Settings();
    reg.setLng(KovSetting::HaveServers, 1);
    reg.setLng(KovSetting::HaveChannelDatabase, 1);
    m_transfer.queue(jobsReply(1));
    RecordingFrontEnd ui;
    QVERIFY(RunSync(ui, false, false));
    QCOMPARE(functionsCalled(m_transfer), strings({"getjobs"}));
    QVERIFY(!ui.timerEnabled);
    reg.setLng(KovSetting::HaveChannelDatabase, 0);
    m_transfer.answers.clear();
    m_transfer.queue(jobsReply(1));
    m_transfer.queue(kGuide);
    QVERIFY(RunSync(ui, true, true));
    QCOMPARE(functionsCalled(m_transfer), strings({"getjobs", "getjobs", "channelguide"}));
}

void TestSyncRun::failedTargetsDoNotStopRun()
{
    kov_Settings().setLng(KovSetting::HaveChannelDatabase, 1);
    m_transfer.queue(jobsReply(12).replace(QLatin1String("4711,"),
                                           QLatin1String(""))); // 3-field header, code 12
    m_transfer.queue(jobsReply(0));
    RecordingFrontEnd ui;
    QVERIFY(RunSync(ui, true, true));
    QCOMPARE(functionsCalled(m_transfer), strings({"gettargetsystems", "getjobs"}));
    QCOMPARE(kov_Settings().Lng(KovSetting::HaveServers), 0);
    m_transfer.answers.clear();
    m_transfer.queue(kTargets);
    m_transfer.queue(jobsReply(0));
    RunSync(ui, true, true);
    QCOMPARE(functionsCalled(m_transfer).mid(2), strings({"gettargetsystems", "getjobs"}));
    QCOMPARE(kov_Settings().Lng(KovSetting::HaveServers), 1);
}

void TestSyncRun::noPassword()
{
    kov_Settings().setStr(KovSetting::Protocol, QStringLiteral("ABCD")); // does not decrypt
    RecordingFrontEnd ui;
    QVERIFY(!RunSync(ui, true, true));
    QVERIFY(m_transfer.urls.isEmpty());
    QCOMPARE(m_env->ui.boxes.size(), 1);
    QCOMPARE(m_env->ui.boxes[0].text, QStringLiteral("Please specify an account and password."));
    QCOMPARE(ui.messages,
             strings({"Specify your account and password,", "Then click 'Sync' to begin."}));
    QCOMPARE(ui.updates, strings({"Version 1.0.0"}));
    kov_Settings().setLng(KovSetting::HaveServers, 1);
    RecordingFrontEnd again;
    RunSync(again, true, true);
    QCOMPARE(m_env->ui.boxes.size(), 1); // no target step, no box
}

void TestSyncRun::codeOne()
{
    CKovReg reg = kov_Settings();
    reg.setLng(KovSetting::HaveServers, 1);
    reg.setLng(KovSetting::HaveChannelDatabase, 1);
    m_transfer.queue(jobsReply(1));
    RecordingFrontEnd ui;
    QVERIFY(RunSync(ui, true, true));
    QCOMPARE(ui.box.history, strings({"WAIT ....", "Job List Download OK", "Job List Download OK 1",
                                      "\r\n14:05:00:No New Data"}));
}

void TestSyncRun::codeTenTranslated()
{
    writeBytes(m_env->file(QStringLiteral("strings.dat")), "Account Unknown\r\nGetJobs FAILED\r\n");
    writeBytes(m_env->file(QStringLiteral("KovFerritStrings.dat")),
               "Konto unbekannt\r\nAbruf FEHLGESCHLAGEN\r\n");
    Translate_Reset();
    BuildResultTexts();
    CKovReg reg = kov_Settings();
    reg.setLng(KovSetting::HaveServers, 1);
    m_transfer.queue(jobsReply(10));
    RecordingFrontEnd ui;
    QVERIFY(!RunSync(ui, true, true));
    QCOMPARE(ui.messages, strings({"Abruf FEHLGESCHLAGEN : Konto unbekannt"}));
    QCOMPARE(reg.Lng(KovSetting::HaveChannelDatabase), 0); // no guide fetched after a failure
    QCOMPARE(functionsCalled(m_transfer), strings({"getjobs"}));
}

void TestSyncRun::negativeResult_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("message");
    QTest::newRow("40") << "40 Quib for PC disabled"
                        << "Quib For PC is not active";
    QTest::newRow("41") << "41 other"
                        << "GetJobs FAILED -1";
    QTest::newRow("empty") << ""
                           << "GetJobs FAILED -1";
}

void TestSyncRun::negativeResult()
{
    QFETCH(QString, reply);
    QFETCH(QString, message);
    kov_Settings().setLng(KovSetting::HaveServers, 1);
    kov_Settings().setLng(KovSetting::OpenURLRetries, 1);
    m_transfer.queue(reply);
    RecordingFrontEnd ui;
    QVERIFY(!RunSync(ui, true, true));
    QCOMPARE(ui.messages, QStringList{message});
    QCOMPARE(ui.box.history.value(1), QStringLiteral("Job List Download FAILED"));
}

void TestSyncRun::guideFailureEndsRun()
{
    kov_Settings().setLng(KovSetting::HaveServers, 1);
    m_transfer.queue(jobsReply(0));
    m_transfer.queue(QStringLiteral("16,1,csv,0\r\nisocode,x\r\n"));
    RecordingFrontEnd ui;
    QVERIFY(RunSync(ui, true, true));
    QCOMPARE(ui.messages, strings({"Unable to retrieve channel database from the server."}));
    QVERIFY(!ui.timerEnabled);
    QCOMPARE(kov_Settings().Lng(KovSetting::HaveChannelDatabase), 0);
}

void TestSyncRun::resultText_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << 0 << "New Data Received";
    QTest::newRow("2") << 2 << "Number Exceeded";
    QTest::newRow("3") << 3 << "Error3";
    QTest::newRow("9") << 9 << "Error9";
    QTest::newRow("14") << 14 << "Target Unknown";
    QTest::newRow("16") << 16 << "Doc Type Unknown";
    QTest::newRow("17") << 17 << "Quib Error #17";
    QTest::newRow("-1") << -1 << "Quib Error #-1";
}

void TestSyncRun::resultText()
{
    QFETCH(int, code);
    QFETCH(QString, text);
    QCOMPARE(ResultText(code), text);
    QVERIFY(IsSuccessCode(0) && IsSuccessCode(1) && !IsSuccessCode(2) && !IsSuccessCode(-1));
}

void TestSyncRun::doWorkRefusals()
{
    CKovReg& reg = GetSettings();
    RecordingTextBox box;
    QCOMPARE(
        DoWork(QuibFunction::GetJobs, QString(), reg.Str(KovSetting::Protocol), &box, true, true),
        -1);
    QCOMPARE(m_env->ui.boxes.last().text,
             QStringLiteral("Please specify an account and password."));
    QCOMPARE(m_env->ui.boxes.last().caption, QStringLiteral("KovFerrit"));
    QVERIFY(m_transfer.urls.isEmpty());
    // DoWork hands TimeoutSeconds and LogReplies to the session.
    reg.setLng(KovSetting::TimeoutSeconds, 5);
    reg.setLng(KovSetting::LogReplies, 1);
    m_transfer.queue(jobsReply(1));
    QCOMPARE(DoWork(QuibFunction::GetJobs, QStringLiteral("demo"), reg.Str(KovSetting::Protocol),
                    nullptr, false, false),
             1);
    QCOMPARE(kov_SharedSession()->TimeoutSeconds(), 5);
    QVERIFY(kov_SharedSession()->LogReplies());
}

void TestSyncRun::doWorkWithoutTransfer()
{
    kov_SetTransferComponent(nullptr);
    const QString protocol = kov_Settings().Str(KovSetting::Protocol);
    QCOMPARE(DoWork(QuibFunction::GetJobs, QStringLiteral("demo"), protocol, nullptr, true, true),
             -1);
    QVERIFY(m_env->ui.boxes.isEmpty());
    QVERIFY(kov_SharedSession()); // made once and kept
    kov_SetTransferComponent(&m_transfer);
    QCOMPARE(DoWork(QuibFunction::GetJobs, QStringLiteral("demo"), protocol, nullptr, true, true),
             -1);
    QVERIFY(m_transfer.urls.isEmpty()); // never initialised again
}

QTEST_GUILESS_MAIN(TestSyncRun)
#include "tst_syncrun.moc"
