// The update timer's tick: when a sync is due, when the next one is (hours with a random shift,
// a minute in admin mode), the guide fetched again when its date passed, and the countdown.
#include "app/resulttexts.h"
#include "app/updatetimer.h"
#include "apptestsupport.h"
#include "foundation/filewriters.h"
#include "foundation/programfolder.h"
#include "settings/accountpassword.h"

namespace {
const QString kJobs = replyDocument({u"1,5,csv,0"_s, u"channel,title"_s});
} // namespace

class TestUpdateTimer : public EnvironmentTest
{
    Q_OBJECT
    void setUp() override
    {
        transfer.queue(kJobs);
        transfer.during = [this] { clock.time = clock.time.addSecs(600); }; // ten minutes
        kov::buildResultTexts();
        storeCredentials();
        SettingsStore settings = kov::settings();
        kov::setNumber(settings, Setting::HaveServers, 1);
        kov::setNumber(settings, Setting::HaveChannelDatabase, 1);
        kov::setNumber(settings, Setting::LastSerial, 42);
        kov::setText(settings, Setting::NextChannelUpdate, kov::dateText(kTestNow.addDays(20)));
    }

private slots:
    void nextSync_data()
    {
        Columns<int, bool, int>::add(); // UpdateFrequency, admin mode; the hours it is afterwards
        QTest::newRow("0 becomes 1") << 0 << false << 1;
        QTest::newRow("24") << 24 << false << 24;
        QTest::newRow("admin") << 24 << true << 0;
    }
    void nextSync()
    {
        const auto [frequency, admin, hours] = Columns<int, bool, int>::fetch();
        kov::setNumber(testSettings(), Setting::UpdateFrequency, frequency);
        for (int run = 0; run < 20; ++run) {
            clock.time = kTestNow;
            kov::setText(testSettings(), Setting::NextSync, kov::dateText(kTestNow.addSecs(-60)));
            RecordingFrontEnd ui;
            kov::runMinuteTick(ui, admin);
            const QDateTime next = kov::dateOrZero(kov::text(testSettings(), Setting::NextSync));
            const qint64 minutes = kTestNow.addSecs(600).secsTo(next) / 60; // from the sync's end
            QVERIFY2(admin ? minutes == 1 : qAbs(minutes - hours * 60) <= 15,
                     qPrintable(QString::number(minutes)));
        }
        QCOMPARE(kov::rawNumber(testSettings(), Setting::UpdateFrequency),
                 admin ? frequency : hours);
        QCOMPARE(transfer.urls.size(), 20);
    }
    void due_data()
    {
        // NextSync (%1: the date text of now plus some seconds), the seconds; the countdown shown
        // afterwards (empty: a sync ran, any countdown).
        Columns<QString, int, QString>::add();
        QTest::newRow("empty") << QString() << 0 << QString();
        QTest::newRow("a second ago") << u"%1"_s << -1 << QString();
        QTest::newRow("not a date") << u"someday"_s << 0 << QString();
        QTest::newRow("now exactly") << u"%1"_s << 0 << u"Next Update: 1 Minutes."_s;
        QTest::newRow("in 59 seconds") << u"%1"_s << 59 << u"Next Update: 2 Minutes."_s;
        QTest::newRow("in an hour") << u"%1"_s << 3600 << u"Next Update: 61 Minutes."_s;
    }
    void due()
    {
        const auto [next, seconds, countdown] = Columns<QString, int, QString>::fetch();
        kov::setText(testSettings(), Setting::NextSync,
                     next.arg(kov::dateText(clock.time.addSecs(seconds))));
        RecordingFrontEnd ui;
        kov::runMinuteTick(ui, false);
        const bool due = countdown.isEmpty();
        QCOMPARE(transfer.urls.size(), due ? 1 : 0);
        if (due) // a timed sync: not manual, serial kept
            QVERIFY(transfer.urls[0].contains(u"&initiator=1&target=localhost&serial=42&"_s));
        QCOMPARE(ui.updates.size(), 1);
        QVERIFY(ui.updates[0].startsWith(due ? u"Next Update: "_s : countdown));
    }
    void timeOutCostsOneRunOnly()
    {
        // A daemon in admin mode: a time-out, the server back, the next due tick syncs again.
        transfer.answers.clear();
        transfer.queueFailure(u"Timeout"_s);
        transfer.queue(kJobs);
        kov::setText(testSettings(), Setting::NextSync, kov::dateText(kTestNow.addSecs(-60)));
        RecordingFrontEnd ui;
        kov::runMinuteTick(ui, true);
        QCOMPARE(ui.messages.value(0), u"GetJobs FAILED -1"_s);
        QVERIFY2(ui.messages.value(1).endsWith(u", cannot be used: Timeout"_s),
                 qPrintable(ui.messages.value(1)));
        clock.time = clock.time.addSecs(61);
        kov::runMinuteTick(ui, true);
        QCOMPARE(transfer.functions(), (QStringList{u"getjobs"_s, u"getjobs"_s}));
        QVERIFY(ui.messages.last().endsWith(u":No New Data"_s));
        QCOMPARE(ui.messages.size(), 3);
    }
    void lockedKeyringLeavesTheSyncDue()
    {
        // A daemon started before the user logged in: the keyring holds the password but is
        // locked. The tick says so and leaves the sync due; once unlocked, the next tick syncs.
        env->keyring.state = SecretStore::Outcome::Done;
        QVERIFY(kov::writePassword(testSettings(), u"pw"_s).inKeyring);
        env->keyring.state = SecretStore::Outcome::Locked;
        const QString due = kov::dateText(kTestNow.addSecs(-60));
        kov::setText(testSettings(), Setting::NextSync, due);
        RecordingFrontEnd ui;
        kov::runMinuteTick(ui, false);
        QCOMPARE(ui.messages, (QStringList{u"The desktop keyring is locked, so the password cannot "
                                           u"be read until it is unlocked."_s}));
        QVERIFY(transfer.urls.isEmpty());
        QCOMPARE(kov::text(testSettings(), Setting::NextSync), due);
        env->keyring.state = SecretStore::Outcome::Done;
        clock.time = clock.time.addSecs(60);
        kov::runMinuteTick(ui, false);
        QCOMPARE(transfer.functions(), QStringList{u"getjobs"_s});
        QVERIFY(kov::text(testSettings(), Setting::NextSync) != due);
    }
    void failedWriteShownAtTheNextTick()
    {
        const QString path = kov::programFile(u"missing/ReplyLog.txt"_s);
        QVERIFY(!kov::writeTextFile(path, u"x"_s));
        kov::setText(testSettings(), Setting::NextSync, kov::dateText(kTestNow.addDays(1)));
        RecordingFrontEnd ui;
        kov::runMinuteTick(ui, false);
        QCOMPARE(ui.messages.value(0), path + u" cannot be written: No such file or directory"_s);
        kov::runMinuteTick(ui, false);
        QCOMPARE(ui.messages.size(), 1); // once
    }
    void guideRefetched_data()
    {
        // NextChannelUpdate, guide fetched
        Columns<QString, bool>::add();
        QTest::newRow("empty") << QString() << true;
        QTest::newRow("passed") << u"2026-12-05 12:00:30"_s << true;
        // Due the very second the jobs request (ten minutes) ended: not passed yet.
        QTest::newRow("now") << u"2026-12-06 12:10:30"_s << false;
        QTest::newRow("ahead") << u"2026-12-07 12:00:30"_s << false;
    }
    void guideRefetched()
    {
        const auto [channelUpdate, fetched] = Columns<QString, bool>::fetch();
        SettingsStore settings = kov::settings();
        kov::setText(settings, Setting::NextChannelUpdate, channelUpdate);
        kov::setText(settings, Setting::NextSync, kov::dateText(kTestNow.addSecs(-60)));
        transfer.answers.clear();
        for (const QString& reply :
             {kJobs, kJobs,
              replyDocument({u"0,3,csv,1"_s, u"isocode,name,id,country,category,language"_s,
                             u"de,Alpha,1,DE,G,de"_s})})
            transfer.queue(reply);
        RecordingFrontEnd ui;
        kov::runMinuteTick(ui, false);
        const QStringList refetch = {u"getjobs"_s, u"getjobs"_s, u"channelguide"_s};
        QCOMPARE(transfer.functions(), fetched ? refetch : refetch.mid(0, 1));
        if (fetched) // jobs again from serial 0, then the guide
            QVERIFY(transfer.urls[1].contains(u"&serial=0&"_s));
    }
};

QTEST_GUILESS_MAIN(TestUpdateTimer)
#include "tst_updatetimer.moc"
