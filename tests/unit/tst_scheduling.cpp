// Part 2.2: scheduling into the recorder, and the local scheduler stand-in of DESIGN.md.
#include "fakes.h"
#include "foundation/kov_date.h"
#include "jobs/cquibjob.h"
#include "recorders/localscheduler.h"
#include "recorders/recorderfactory.h"
#include "settings/ckovreg.h"
#include "settings/settings_catalogue.h"
#include "testsupport.h"

#include <QtTest>

namespace {

QString jobString(const QString& channel, const QString& action,
                  const QString& start = QStringLiteral("2006-05-12 20:15:00 +0200"),
                  const QString& sequence = QStringLiteral("0"),
                  const QString& title = QStringLiteral("Film"))
{
    return QStringList{channel,
                       QStringLiteral("101"),
                       QStringLiteral("4711"),
                       start,
                       QStringLiteral("2006-05-12 23:00:00 +0200"),
                       action,
                       title,
                       QStringLiteral("0"),
                       QStringLiteral("1"),
                       sequence,
                       QStringLiteral("2"),
                       QStringLiteral("1"),
                       QString(),
                       QString(),
                       QString(),
                       QString(),
                       QString()}
        .join(QLatin1Char(','));
}

QString replyLog(const TestEnvironment& env)
{
    return QString::fromLatin1(readBytes(env.file(QStringLiteral("ReplyLog.txt"))));
}
} // namespace

class TestScheduling : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void createsWithElevenArguments();
    void existingNotCreatedAgain();
    void sameTitleAndStartOnOtherChannel();
    void sequence_data();
    void sequence();
    void midnightStartGivesDateAlone();
    void logLines();
    void unknownChannelAsked();
    void cancelledPromptStopsRecButNotDelete();
    void createFailureShown();
    void missingControl();
    void controlFailuresPassedOver();
    void localScheduler_data();
    void localScheduler();
    void localSchedulerStoreUnavailable();

private:
    bool run(const QString& line);
    std::unique_ptr<TestEnvironment> m_env;
    RecordingScheduler::Log m_log;
};

void TestScheduling::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_log = RecordingScheduler::Log();
    installRecordingScheduler(m_log);
    writeBytes(m_env->file(QStringLiteral("dbchannel.dat")), "7,Alpha TV\r\n9,Beta\r\n");
    kov_Settings().setLng(QStringLiteral("NoDataFields_getjobs"), 17);
}

void TestScheduling::cleanup()
{
    m_env.reset();
}

bool TestScheduling::run(const QString& line)
{
    CKovReg reg = kov_Settings();
    CQuibJob job;
    return job.CreateJobFromString(line, &reg, true);
}

void TestScheduling::createsWithElevenArguments()
{
    QLocale::setDefault(QLocale(QStringLiteral("en_US")));
    QVERIFY(run(jobString(QStringLiteral("Alpha TV"), QStringLiteral("rec"))));
    QLocale::setDefault(QLocale::c());
    QCOMPARE(m_log.created.size(), 1);
    const RecordingScheduler::Created& c = m_log.created[0];
    QCOMPARE(c.arg1, 1);
    QCOMPARE(c.name, QStringLiteral("Film_5_12_2006_20_15_00"));
    QCOMPARE(c.start, QDateTime(QDate(2006, 5, 12), QTime(20, 15)));
    QCOMPARE(c.end, QDateTime(QDate(2006, 5, 12), QTime(23, 0)));
    QCOMPARE(c.channel, 7);
    QCOMPARE(c.arg6, 1);
    QCOMPARE(c.fileName, c.name);
    QCOMPARE(c.tag, QStringLiteral("fs:4711"));
    QCOMPARE(c.recurrence, 0);
    QVERIFY(c.arg10Omitted);
    QVERIFY(c.arg11);
    QCOMPARE(m_log.existsAsked, QStringList{c.name});
}

void TestScheduling::existingNotCreatedAgain()
{
    kov_Settings().setLng(KovSetting::LogReplies, 1);
    CKovReg reg = kov_Settings();
    CQuibJob probe;
    probe.CreateJobFromString(jobString(QStringLiteral("Alpha TV"), QStringLiteral("rec")), &reg,
                              false);
    m_log.existing << probe.ProgramName();
    QVERIFY(run(jobString(QStringLiteral("Alpha TV"), QStringLiteral("rec"))));
    QVERIFY(m_log.created.isEmpty());
    QVERIFY(m_env->ui.boxes.isEmpty());
    QVERIFY(replyLog(*m_env).contains(QStringLiteral("Scheduler Return Value: 0\r\n")));
}

void TestScheduling::sameTitleAndStartOnOtherChannel()
{
    run(jobString(QStringLiteral("Alpha TV"), QStringLiteral("rec")));
    run(jobString(QStringLiteral("Beta"), QStringLiteral("rec")));
    QCOMPARE(m_log.created.size(), 1);
    QCOMPARE(m_log.created[0].channel, 7);
    QCOMPARE(m_log.existsAsked.size(), 2);
}

void TestScheduling::sequence_data()
{
    QTest::addColumn<QString>("sequence");
    QTest::addColumn<int>("recurrence");
    QTest::addColumn<bool>("errorFile");
    QTest::newRow("single") << "0" << 0 << false;
    QTest::newRow("every day") << "127" << 1 << false;
    QTest::newRow("unsupported 31") << "31" << 0 << true;
}

void TestScheduling::sequence()
{
    QFETCH(QString, sequence);
    QFETCH(int, recurrence);
    QFETCH(bool, errorFile);
    FixedClock clock(QDateTime(QDate(2026, 12, 6), QTime(9, 8, 7)));
    kov_SetClock(&clock);
    const QString line = jobString(QStringLiteral("Alpha TV"), QStringLiteral("rec"),
                                   QStringLiteral("2006-05-12 20:15:00 +0200"), sequence);
    QVERIFY(run(line));
    QCOMPARE(m_log.created.size(), 1);
    QCOMPARE(m_log.created[0].recurrence, recurrence);
    const QStringList errors = QDir(m_env->folder()).entryList({QStringLiteral("ERROR_*.txt")});
    QCOMPARE(errors.size(), errorFile ? 1 : 0);
    if (errorFile) {
        QVERIFY(QString::fromLatin1(readBytes(m_env->file(errors[0])))
                    .contains(QStringLiteral("\r\n\r\nGetSequence (31) FAILED\r\n") + line +
                              QStringLiteral("\r\n")));
        QVERIFY(m_env->traced(QStringLiteral("CQuibJob::GetSequence (31) FAILED")));
        QVERIFY(m_env->ui.boxes.isEmpty());
    }
}

void TestScheduling::midnightStartGivesDateAlone()
{
    QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
    run(jobString(QStringLiteral("Alpha TV"), QStringLiteral("rec"),
                  QStringLiteral("2006-05-12 00:00:00 +0200")));
    QLocale::setDefault(QLocale::c());
    QCOMPARE(m_log.created.size(), 1);
    QCOMPARE(m_log.created[0].name, QStringLiteral("Film_12_05_2006"));
}

void TestScheduling::logLines()
{
    run(jobString(QStringLiteral("Alpha TV"), QStringLiteral("rec")));
    QVERIFY(!QFile::exists(m_env->file(QStringLiteral("ReplyLog.txt"))));
    kov_Settings().setLng(KovSetting::LogReplies, 1);
    run(jobString(QStringLiteral("Alpha TV"), QStringLiteral("delete")));
    const QString name = m_log.deleted.value(0);
    QVERIFY(!name.isEmpty());
    QCOMPARE(replyLog(*m_env), QStringLiteral("Scheduler delete ") + name +
                                   QStringLiteral("\r\nScheduler Return Value: 0\r\n") +
                                   QString(65, QLatin1Char('-')) + QStringLiteral("\r\n"));
}

void TestScheduling::unknownChannelAsked()
{
    m_env->ui.channelAnswers = {12};
    QVERIFY(run(jobString(QStringLiteral("Gamma 1"), QStringLiteral("rec"))));
    QCOMPARE(m_env->ui.askedChannels, QStringList{QStringLiteral("Gamma 1")});
    QCOMPARE(m_log.created.value(0).channel, 12);
    QVERIFY(readBytes(m_env->file(QStringLiteral("dbchannel.dat"))).endsWith("12,Gamma 1\r\n"));
}

void TestScheduling::cancelledPromptStopsRecButNotDelete()
{
    kov_Settings().setLng(KovSetting::LogReplies, 1);
    QVERIFY(run(jobString(QStringLiteral("Gamma 1"), QStringLiteral("rec"))));
    QVERIFY(m_log.created.isEmpty());
    QVERIFY(
        m_env->traced(QStringLiteral("CQuibJob::Invalid Channel Number for channel (Gamma 1)")));
    QVERIFY(
        !QFile::exists(m_env->file(QStringLiteral("ReplyLog.txt")))); // the early end writes no log
    QVERIFY(run(jobString(QStringLiteral("Gamma 1"), QStringLiteral("delete"))));
    QCOMPARE(m_log.deleted.size(), 1);
    QCOMPARE(m_env->ui.askedChannels.size(), 2); // asked again: nothing was stored
    QCOMPARE(readBytes(m_env->file(QStringLiteral("dbchannel.dat"))),
             QByteArray("7,Alpha TV\r\n9,Beta\r\n"));
}

void TestScheduling::createFailureShown()
{
    kov_Settings().setLng(KovSetting::LogReplies, 1);
    m_log.createResult = 2;
    run(jobString(QStringLiteral("Alpha TV"), QStringLiteral("rec")));
    QCOMPARE(m_env->ui.boxes.size(), 1);
    QCOMPARE(m_env->ui.boxes[0].text, QStringLiteral("ERROR CreateProgram FAILED: 2"));
    QCOMPARE(m_env->ui.boxes[0].caption, QStringLiteral("KovFerrit"));
    QVERIFY(replyLog(*m_env).contains(QStringLiteral("Scheduler Return Value: 2\r\n")));
}

void TestScheduling::missingControl()
{
    installRecordingScheduler(m_log, true);
    kov_Settings().setLng(KovSetting::LogReplies, 1);
    QVERIFY(run(jobString(QStringLiteral("Alpha TV"), QStringLiteral("rec")))); // still accepted
    QCOMPARE(m_env->ui.boxes.size(), 1);
    QVERIFY(m_env->ui.boxes[0].text.startsWith(
        QStringLiteral("KOVSched.ocx is required for this application.\r\nEither it, or one of "
                       "it's dependencies, are missing.\r\n")));
    QVERIFY(m_env->ui.boxes[0].text.endsWith(
        QStringLiteral("\r\nwhere X is the letter of your CD Rom drive.")));
    QCOMPARE(m_env->ui.boxes[0].text.count(QStringLiteral("\r\n")), 7);
    QVERIFY(!QFile::exists(m_env->file(QStringLiteral("ReplyLog.txt"))));
}

void TestScheduling::controlFailuresPassedOver()
{
    kov_Settings().setLng(KovSetting::LogReplies, 1);
    m_log.raises = true;
    QVERIFY(run(jobString(QStringLiteral("Alpha TV"), QStringLiteral("rec"))));
    QCOMPARE(m_log.created.size(), 1);  // asked whether it exists, then created
    QVERIFY(m_env->ui.boxes.isEmpty()); // taken as created: no failure box
    QVERIFY(replyLog(*m_env).contains(QStringLiteral("Scheduler Return Value: 0\r\n")));
    QVERIFY(run(jobString(QStringLiteral("Alpha TV"), QStringLiteral("delete"))));
    QCOMPARE(m_log.deleted.size(), 1);
}

void TestScheduling::localScheduler_data()
{
    QTest::addColumn<QDateTime>("end");
    QTest::addColumn<int>("channel");
    QTest::addColumn<int>("expected");
    const QDateTime start(QDate(2026, 12, 24), QTime(20, 15));
    QTest::newRow("stored") << start.addSecs(3600) << 7 << 0;
    QTest::newRow("end equals start") << start << 7 << 1;
    QTest::newRow("end before start") << start.addSecs(-60) << 7 << 1;
    QTest::newRow("channel 0") << start.addSecs(3600) << 0 << 2;
    QTest::newRow("channel 1000") << start.addSecs(3600) << 1000 << 2;
    QTest::newRow("channel 999") << start.addSecs(3600) << 999 << 0;
}

void TestScheduling::localScheduler()
{
    QFETCH(QDateTime, end);
    QFETCH(int, channel);
    QFETCH(int, expected);
    kov_SetSchedulerFactory({});
    auto scheduler = kov_CreateScheduler(kov_SchedulerProgId());
    QVERIFY(scheduler);
    QVERIFY(!kov_CreateScheduler(QStringLiteral("Other.Control")));
    const QDateTime start(QDate(2026, 12, 24), QTime(20, 15));
    QCOMPARE(scheduler->CreateProgram(1, QStringLiteral("P"), start, end, channel, 1,
                                      QStringLiteral("P"), QStringLiteral("fs:1"), 1, QVariant(),
                                      true),
             expected);
    QCOMPARE(scheduler->DoesProgramExist(QStringLiteral("P")), expected == 0);
    LocalScheduler local(m_env->file(QStringLiteral("KOVSched.db")));
    QCOMPARE(local.Programs().size(), expected == 0 ? 1 : 0);
    if (expected == 0) {
        const ScheduledProgram p = local.Programs()[0];
        QCOMPARE(p.start, start);
        QCOMPARE(p.end, end);
        QCOMPARE(p.channel, channel);
        QCOMPARE(p.tag, QStringLiteral("fs:1"));
        QCOMPARE(p.recurrence, 1);
        QVERIFY(scheduler->DeleteProgram(QStringLiteral("P")));
        QVERIFY(!scheduler->DeleteProgram(QStringLiteral("P")));
        QVERIFY(!scheduler->DoesProgramExist(QStringLiteral("P")));
    }
}

void TestScheduling::localSchedulerStoreUnavailable()
{
    kov_SetSchedulerFactory({});
    QDir(m_env->folder())
        .mkdir(QStringLiteral("KOVSched.db")); // a folder where the store should be
    QVERIFY(!kov_CreateScheduler(kov_SchedulerProgId()));
    QVERIFY(run(jobString(QStringLiteral("Alpha TV"), QStringLiteral("rec"))));
    QCOMPARE(m_env->ui.boxes.size(), 1);
    QVERIFY(m_env->ui.boxes[0].text.startsWith(QStringLiteral("KOVSched.ocx is required")));
}

QTEST_GUILESS_MAIN(TestScheduling)
#include "tst_scheduling.moc"
