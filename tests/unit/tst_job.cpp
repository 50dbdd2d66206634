// Part 2.1: the job record and job strings.
#include "fakes.h"
#include "foundation/kov_date.h"
#include "jobs/cquibjob.h"
#include "settings/ckovreg.h"
#include "settings/settings_catalogue.h"
#include "testsupport.h"

#include <QDir>
#include <QtTest>

namespace {

/// A 17-column job string with some columns replaced.
QString jobString(const QMap<int, QString>& columns = {})
{
    QStringList fields = strings({"Alpha TV", "101", "4711", "2006-05-12 20:15:00 +0200",
                                  "2006-05-12 21:00:00 +0200", "rec", "Film", "6", "2", "0", "3",
                                  "1", "n", "f", "", "desc", "who"});
    for (auto it = columns.begin(); it != columns.end(); ++it)
        fields[it.key()] = it.value();
    return fields.join(QLatin1Char(','));
}
} // namespace

class TestJob : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void columnCountMustMatch();
    void fieldsFilled();
    void timeRule_data();
    void timeRule();
    void emptyTimeColumns();
    void protection_data();
    void protection();
    void numericColumns_data();
    void numericColumns();
    void numericOverflowThrows();
    void unsupportedAction_data();
    void unsupportedAction();
    void emptyChannel();
    void refusals();

private:
    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<FixedClock> m_clock;
    RecordingScheduler::Log m_scheduled;
};

void TestJob::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_clock = std::make_unique<FixedClock>(QDateTime(QDate(2026, 12, 6), QTime(9, 8, 7)));
    kov_SetClock(m_clock.get());
    m_scheduled = RecordingScheduler::Log();
    installRecordingScheduler(m_scheduled);
    writeBytes(m_env->file(QStringLiteral("dbchannel.dat")), "7,Alpha TV\r\n");
    kov_Settings().setLng(QStringLiteral("NoDataFields_getjobs"), 17);
}

void TestJob::cleanup()
{
    m_env.reset();
}

void TestJob::columnCountMustMatch()
{
    CKovReg reg = kov_Settings();
    CQuibJob accepted;
    QVERIFY(accepted.CreateJobFromString(jobString(), &reg, false));
    QCOMPARE(accepted.Channel(), QStringLiteral("Alpha TV"));
    reg.setLng(QStringLiteral("NoDataFields_getjobs"), 16);
    CQuibJob refused;
    QVERIFY(!refused.CreateJobFromString(jobString(), &reg, true));
    QCOMPARE(refused.Channel(), QString());
    QCOMPARE(refused.uID(), 0);
    QCOMPARE(refused.StartTime(), kov_ZeroDate());
    QVERIFY(
        m_env->traced(QStringLiteral("CQuibJob::Job format (17)not supported:\r\n") + jobString()));
    QVERIFY(m_env->ui.boxes.isEmpty());
    QVERIFY(m_scheduled.created.isEmpty());
    // A missing NoDataFields_getjobs reads (and is created) as 0: every job is refused.
    reg.DeleteValue(QStringLiteral("NoDataFields_getjobs"));
    CQuibJob none;
    QVERIFY(!none.CreateJobFromString(jobString(), &reg, false));
    QCOMPARE(reg.Lng(QStringLiteral("NoDataFields_getjobs")), 0);
}

void TestJob::fieldsFilled()
{
    CKovReg reg = kov_Settings();
    CQuibJob job;
    QVERIFY(job.CreateJobFromString(jobString({{14, QStringLiteral("2006-05-12 20:14:00 +0200")}}),
                                    &reg, false));
    QCOMPARE(job.ChannelID(), 101);
    QCOMPARE(job.uID(), 4711);
    QCOMPARE(job.EndTime(), QDateTime(QDate(2006, 5, 12), QTime(21, 0)));
    QCOMPARE(job.Action(), QStringLiteral("rec"));
    QCOMPARE(job.Title(), QStringLiteral("Film"));
    QCOMPARE(job.PG(), 6);
    QCOMPARE(job.Quality(), 2);
    QCOMPARE(job.Sequence(), 0);
    QCOMPARE(job.Priority(), 3);
    QCOMPARE(job.Nature(), QStringLiteral("n"));
    QCOMPARE(job.Format(), QStringLiteral("f"));
    QCOMPARE(job.VPS(), QDateTime(QDate(2006, 5, 12), QTime(20, 14)));
    QCOMPARE(job.Description(), QStringLiteral("desc"));
    QCOMPARE(job.Persons(), QStringLiteral("who"));
    QVERIFY(m_scheduled.created.isEmpty()); // bScheduleIt false
}

void TestJob::timeRule_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("ignore");
    QTest::addColumn<QDateTime>("expected");
    const QDate day(2006, 5, 12);
    QTest::newRow("offset ignored")
        << "2006-05-12 20:15:00 +0200" << 1 << QDateTime(day, QTime(20, 15));
    QTest::newRow("offset added") << "2006-05-12 20:15:00 +0200" << 0
                                  << QDateTime(day, QTime(22, 15));
    QTest::newRow("sign not read")
        << "2006-05-12 20:15:00 -0130" << 0 << QDateTime(day, QTime(21, 45));
    QTest::newRow("shorter than five") << "+020" << 0 << kov_ZeroDate();
    QTest::newRow("not a date") << "someday +0200" << 0 << kov_ZeroDate();
    QTest::newRow("over midnight")
        << "2006-05-12 23:30:00 +0100" << 0 << QDateTime(day.addDays(1), QTime(0, 30));
}

void TestJob::timeRule()
{
    QFETCH(QString, text);
    QFETCH(int, ignore);
    QFETCH(QDateTime, expected);
    CKovReg reg = kov_Settings();
    reg.setLng(KovSetting::IgnoreOffset, ignore);
    CQuibJob job;
    QVERIFY(job.CreateJobFromString(jobString({{3, text}}), &reg, false));
    QCOMPARE(job.StartTime(), expected);
    if (expected == kov_ZeroDate())
        QVERIFY(m_env->tracedPrefix(QStringLiteral("CQuibJob::HandleTime ERROR ")));
}

void TestJob::emptyTimeColumns()
{
    CKovReg reg = kov_Settings();
    CQuibJob job;
    QVERIFY(job.CreateJobFromString(jobString({{3, QString()}, {14, QString()}}), &reg, false));
    QCOMPARE(job.StartTime(), kov_ZeroDate());
    QCOMPARE(job.VPS(), kov_ZeroDate());
    QVERIFY(m_env->traced(QStringLiteral("CQuibJob::HandleTime Param is missing")));
    // A missing IgnoreOffset is read with LngD and created as 1.
    QCOMPARE(reg.Lng(KovSetting::IgnoreOffset), 1);
}

void TestJob::protection_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("expected");
    QTest::newRow("0") << "0" << false;
    QTest::newRow("empty") << "" << true;
    QTest::newRow("1") << "1" << true;
    QTest::newRow("00") << "00" << true;
}

void TestJob::protection()
{
    QFETCH(QString, text);
    QFETCH(bool, expected);
    CKovReg reg = kov_Settings();
    CQuibJob job;
    job.CreateJobFromString(jobString({{11, text}}), &reg, false);
    QCOMPARE(job.Protection(), expected);
}

void TestJob::numericColumns_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");
    QTest::newRow("12abc") << "12abc" << 12;
    QTest::newRow("abc") << "abc" << 0;
    QTest::newRow("2.5") << "2.5" << 2;
    QTest::newRow("3.5") << "3.5" << 4;
    QTest::newRow("blanks") << "  -7" << -7;
}

void TestJob::numericColumns()
{
    QFETCH(QString, text);
    QFETCH(int, expected);
    CKovReg reg = kov_Settings();
    CQuibJob job;
    job.CreateJobFromString(jobString({{1, text}, {7, text}}), &reg, false);
    QCOMPARE(job.ChannelID(), expected);
    QCOMPARE(job.PG(), expected);
}

void TestJob::numericOverflowThrows()
{
    CKovReg reg = kov_Settings();
    CQuibJob job;
    QVERIFY_THROWS_EXCEPTION(
        std::exception,
        job.CreateJobFromString(jobString({{2, QStringLiteral("1e12")}}), &reg, true));
}

void TestJob::unsupportedAction_data()
{
    QTest::addColumn<QString>("action");
    QTest::newRow("capital R") << "Rec";
    QTest::newRow("empty") << "";
    QTest::newRow("other") << "move";
}

void TestJob::unsupportedAction()
{
    QFETCH(QString, action);
    CKovReg reg = kov_Settings();
    CQuibJob job;
    const QString line = jobString({{5, action}});
    QVERIFY(job.CreateJobFromString(line, &reg, true));
    QVERIFY(m_scheduled.created.isEmpty());
    QVERIFY(m_scheduled.deleted.isEmpty());
    QCOMPARE(m_env->ui.boxes.size(), 1);
    const QString file = job.LastErrorFile();
    QVERIFY(file.startsWith(QLatin1String("ERROR_")) && file.endsWith(QLatin1String(".txt")));
    QCOMPARE(
        m_env->ui.boxes[0].text,
        QStringLiteral("CQuibJob::Action Not Supported (") + action +
            QStringLiteral(
                ") or corrupt data from Server.\r\nA copy of this data has been saved to file for "
                "troubleshooting.\r\n") +
            m_env->file(file));
    QCOMPARE(m_env->ui.boxes[0].style, 64);
    QCOMPARE(QString::fromLatin1(readBytes(m_env->file(file))),
             QStringLiteral(
                 "We apologize for the trouble you are having. Most likely this is due to a\r\n"
                 "corrupt data stream. This file contains the data for the unscheduled program.\r\n"
                 "\r\n\r\n") +
                 line +
                 QStringLiteral(
                     "\r\n\r\n\r\nThank you for your purchase of a Velmora Lumo Product. \r\n"));
}

void TestJob::emptyChannel()
{
    CKovReg reg = kov_Settings();
    CQuibJob job;
    QVERIFY(!job.CreateJobFromString(jobString({{0, QString()}}), &reg, true));
    QCOMPARE(job.Title(), QStringLiteral("Film")); // the fields stay filled
    QVERIFY(m_env->ui.boxes.isEmpty());
    QVERIFY(m_scheduled.created.isEmpty());
}

void TestJob::refusals()
{
    CKovReg reg = kov_Settings();
    CQuibJob job;
    QVERIFY(!job.CreateJobFromString(jobString(), nullptr, true));
    QVERIFY(m_env->traced(QStringLiteral("CQuibJob::MyReg is nothing")));
    QVERIFY(!job.CreateJobFromString(QString(), &reg, true));
    QVERIFY(m_env->traced(QStringLiteral("CQuibJob::MyString is empty")));
    QVERIFY(m_env->ui.boxes.isEmpty());
}

QTEST_GUILESS_MAIN(TestJob)
#include "tst_job.moc"
