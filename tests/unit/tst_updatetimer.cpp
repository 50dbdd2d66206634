// Part 4.3: the update timer's tick (and MakeDate of Part 4.2).
#include "app/kovferritsupport.h"
#include "app/updatetimer.h"
#include "fakes.h"
#include "foundation/kov_date.h"
#include "settings/ckovreg.h"
#include "settings/settings_catalogue.h"
#include "testsupport.h"

#include <QtTest>

namespace {

/// A transfer during which ten minutes pass: the next due time counts from the sync's end.
class SlowTransfer : public FakeTransfer
{
public:
    explicit SlowTransfer(FixedClock& clock) : m_clock(clock) {}
    QString OpenURL(const QString& url) override
    {
        m_clock.time = m_clock.time.addSecs(600);
        return FakeTransfer::OpenURL(url);
    }

private:
    FixedClock& m_clock;
};

const QDateTime kStart(QDate(2026, 12, 6), QTime(12, 0, 30));
} // namespace

class TestUpdateTimer : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void frequency_data();
    void frequency();
    void adminMode();
    void emptyNextSyncSyncsAtOnce();
    void emptyChannelUpdateFetchesGuide();
    void dueOnlyWhenEarlier();
    void countdown_data();
    void countdown();
    void hugeFrequencyKeepsNextSync();
    void unreadableNextSync();
    void makeDate();

private:
    void setUpDue(const QString& nextSync);
    int requests() const { return static_cast<int>(m_transfer->urls.size()); }
    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<FixedClock> m_clock;
    std::unique_ptr<SlowTransfer> m_transfer;
};

void TestUpdateTimer::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_clock = std::make_unique<FixedClock>(kStart);
    kov_SetClock(m_clock.get());
    m_transfer = std::make_unique<SlowTransfer>(*m_clock);
    m_transfer->queue(replyDocument(strings({"1,5,csv,0", "channel,title"})));
    kov_SetTransferComponent(m_transfer.get());
    BuildResultTexts();
    storeCredentials(QStringLiteral("demo"), QStringLiteral("pw"));
    CKovReg reg = kov_Settings();
    reg.setLng(KovSetting::HaveServers, 1);
    reg.setLng(KovSetting::HaveChannelDatabase, 1);
    reg.setStr(KovSetting::NextChannelUpdate, kov_DateText(kStart.addDays(20)));
}

void TestUpdateTimer::cleanup()
{
    m_env.reset();
}

void TestUpdateTimer::setUpDue(const QString& nextSync)
{
    kov_Settings().setStr(KovSetting::NextSync, nextSync);
}

void TestUpdateTimer::frequency_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("hours");
    QTest::newRow("0 becomes 1") << 0 << 1;
    QTest::newRow("-3 becomes 1") << -3 << 1;
    QTest::newRow("24") << 24 << 24;
}

void TestUpdateTimer::frequency()
{
    QFETCH(int, stored);
    QFETCH(int, hours);
    kov_Settings().setLng(KovSetting::UpdateFrequency, stored);
    for (int run = 0; run < 40; ++run) {
        m_clock->time = kStart;
        setUpDue(kov_DateText(kStart.addSecs(-60)));
        RecordingFrontEnd ui;
        TimerTick(ui, false);
        const QDateTime syncEnded = kStart.addSecs(600);
        const QDateTime next = MakeDate(kov_Settings().Str(KovSetting::NextSync));
        const qint64 minutes = syncEnded.secsTo(next) / 60;
        QVERIFY2(minutes >= hours * 60 - 15 && minutes <= hours * 60 + 15,
                 qPrintable(QString::number(minutes)));
    }
    QCOMPARE(kov_Settings().Lng(KovSetting::UpdateFrequency), hours);
    QCOMPARE(requests(), 40);
}

void TestUpdateTimer::adminMode()
{
    kov_Settings().setLng(KovSetting::UpdateFrequency, 24);
    setUpDue(kov_DateText(kStart.addSecs(-60)));
    RecordingFrontEnd ui;
    TimerTick(ui, true);
    QCOMPARE(MakeDate(kov_Settings().Str(KovSetting::NextSync)), kStart.addSecs(600 + 60));
    QCOMPARE(ui.updates.last(), QStringLiteral("Next Update: 2 Minutes."));
}

void TestUpdateTimer::emptyNextSyncSyncsAtOnce()
{
    RecordingFrontEnd ui;
    TimerTick(ui, false);
    QCOMPARE(requests(), 1);
    QVERIFY(kov_Settings().Str(KovSetting::NextSync) != kov_SyncSentinel());
    QVERIFY(MakeDate(kov_SyncSentinel()) < kStart);
    QVERIFY(m_env->ui.boxes.isEmpty());
    // The getjobs request of a timed sync: not manual, serial kept.
    QVERIFY(m_transfer->urls[0].contains(QLatin1String("&initiator=1&")));
}

void TestUpdateTimer::emptyChannelUpdateFetchesGuide()
{
    CKovReg reg = kov_Settings();
    reg.DeleteValue(KovSetting::NextChannelUpdate);
    m_transfer->answers.clear();
    m_transfer->queue(replyDocument(strings({"1,5,csv,0", "channel,title"})));
    m_transfer->queue(replyDocument(strings({"1,5,csv,0", "channel,title"})));
    m_transfer->queue(replyDocument(
        strings({"0,3,csv,1", "isocode,name,id,country,category,language", "de,Alpha,1,DE,G,de"})));
    setUpDue(kov_DateText(kStart.addSecs(-60)));
    RecordingFrontEnd ui;
    TimerTick(ui, false);
    QCOMPARE(requests(), 3); // the timed sync, then jobs and guide again
    QVERIFY(m_transfer->urls[2].contains(QLatin1String("/channelguide?")));
    QVERIFY(m_transfer->urls[1].contains(QLatin1String("&serial=0&")));
    QCOMPARE(reg.Lng(KovSetting::HaveChannelDatabase), 1);
    QVERIFY(MakeDate(reg.Str(KovSetting::NextChannelUpdate)) > kStart.addDays(27));
}

void TestUpdateTimer::dueOnlyWhenEarlier()
{
    const QDateTime exactlyNow(QDate(2026, 12, 6), QTime(12, 0, 0));
    m_clock->time = exactlyNow;
    setUpDue(kov_DateText(exactlyNow));
    RecordingFrontEnd ui;
    TimerTick(ui, false);
    QCOMPARE(requests(), 0);
    QCOMPARE(ui.updates, strings({"Next Update: 1 Minutes."}));
    m_clock->time = exactlyNow.addSecs(1);
    TimerTick(ui, false);
    QCOMPARE(requests(), 1);
}

void TestUpdateTimer::countdown_data()
{
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QDateTime>("due");
    QTest::addColumn<int>("minutes");
    const QDate d(2026, 12, 6);
    QTest::newRow("within the minute")
        << QDateTime(d, QTime(12, 0, 10)) << QDateTime(d, QTime(12, 0, 50)) << 1;
    QTest::newRow("next minute") << QDateTime(d, QTime(12, 0, 59)) << QDateTime(d, QTime(12, 1, 0))
                                 << 2;
    QTest::newRow("an hour") << QDateTime(d, QTime(12, 0, 30)) << QDateTime(d, QTime(12, 57, 0))
                             << 58;
}

void TestUpdateTimer::countdown()
{
    QFETCH(QDateTime, now);
    QFETCH(QDateTime, due);
    QFETCH(int, minutes);
    QCOMPARE(kov_MinutesUntil(now, due), minutes);
    QCOMPARE(kov_CountdownText(now, due), QStringLiteral("Next Update: %1 Minutes.").arg(minutes));
}

void TestUpdateTimer::hugeFrequencyKeepsNextSync()
{
    kov_Settings().setLng(KovSetting::UpdateFrequency, 40000000); // x 60 overflows 32 bits
    const QString before = kov_DateText(kStart.addSecs(-60));
    setUpDue(before);
    RecordingFrontEnd ui;
    TimerTick(ui, false);
    QCOMPARE(requests(), 1);
    QCOMPARE(kov_Settings().Str(KovSetting::NextSync), before);
    QVERIFY(ui.updates.isEmpty());
}

void TestUpdateTimer::unreadableNextSync()
{
    setUpDue(QStringLiteral("not a date"));
    RecordingFrontEnd ui;
    TimerTick(ui, false);
    QCOMPARE(requests(), 1); // treated as the zero date-time: due
    QVERIFY(MakeDate(kov_Settings().Str(KovSetting::NextSync)) > kStart);
    QCOMPARE(ui.updates.size(), 1);
}

void TestUpdateTimer::makeDate()
{
    QCOMPARE(MakeDate(QStringLiteral("garbage")), kov_ZeroDate());
    QCOMPARE(MakeDate(QStringLiteral("July 4, 1776")), QDateTime(QDate(1776, 7, 4), QTime(0, 0)));
    QCOMPARE(MakeDate(kov_DateText(kStart)), kStart);
}

QTEST_GUILESS_MAIN(TestUpdateTimer)
#include "tst_updatetimer.moc"
