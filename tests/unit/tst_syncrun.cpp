// One sync run: the server functions it calls in each state, what it shows and records.
#include "app/resulttexts.h"
#include "app/syncrun.h"
#include "apptestsupport.h"
#include "foundation/translate.h"
#include "recorders/recorderfactory.h"

namespace {
const QString kTargets = replyDocument({u"0,csv,1"_s, u"target,description"_s, u"localhost,L"_s});
const QString kGuide =
    replyDocument({u"0,3,csv,1"_s, u"isocode,name,id,country,category,language"_s,
                   u"de,Alpha TV,101,DE,General,de"_s});
QString jobs(int code)
{
    return replyDocument({u"%1,4711,csv,0"_s.arg(code), u"channel,title"_s});
}
} // namespace

class TestSyncRun : public EnvironmentTest
{
    Q_OBJECT
    void setUp() override
    {
        clock.time = QDateTime(QDate(2026, 12, 6), QTime(14, 5, 37));
        storeCredentials();
    }

private slots:
    void run_data()
    {
        // HaveServers and HaveChannelDatabase before; the replies; the functions called; the
        // messages shown; the result, HaveServers, HaveChannelDatabase and timer afterwards.
        Columns<QString, QStringList, QString, QString, QString>::add();
        QTest::newRow("first run") << u"0 0"_s << QStringList{kTargets, jobs(0), kGuide}
                                   << u"gettargetsystems getjobs channelguide"_s
                                   << u"Channel database has been received from the server.|"
                                      u"14:05:00:New Data Received"_s
                                   << u"1 1 1 on"_s;
        QTest::newRow("later run") << u"1 1"_s << QStringList{jobs(1)} << u"getjobs"_s
                                   << u"14:05:00:No New Data"_s << u"1 1 1 off"_s;
        QTest::newRow("failed targets do not stop it")
            << u"0 1"_s << QStringList{replyDocument({u"12,csv,0"_s, u"target,x"_s}), jobs(1)}
            << u"gettargetsystems getjobs"_s << u"14:05:00:No New Data"_s << u"1 0 1 off"_s;
        QTest::newRow("account unknown") << u"1 0"_s << QStringList{jobs(10)} << u"getjobs"_s
                                         << u"GetJobs FAILED : Account Unknown"_s << u"0 1 0 off"_s;
        QTest::newRow("Quib for PC off")
            << u"1 1"_s << QStringList{u"40 Quib for PC disabled"_s} << u"getjobs getjobs getjobs"_s
            << u"Quib For PC is not active"_s << u"0 1 1 off"_s;
        QTest::newRow("no guide") << u"1 0"_s << QStringList{jobs(0), u"16,1,csv,0\r\nx,y\r\n"_s}
                                  << u"getjobs channelguide"_s
                                  << u"Unable to retrieve channel database from the server."_s
                                  << u"1 1 0 off"_s;
    }
    void run()
    {
        const auto [before, replies, functions, messages, after] =
            Columns<QString, QStringList, QString, QString, QString>::fetch();
        kov::buildResultTexts();
        SettingsStore settings = kov::settings();
        kov::setNumber(settings, Setting::HaveServers, before.section(u' ', 0, 0).toInt());
        kov::setNumber(settings, Setting::HaveChannelDatabase, before.section(u' ', 1, 1).toInt());
        for (const QString& reply : replies)
            transfer.queue(reply);
        RecordingFrontEnd ui;
        const bool result = kov::runSync(ui, kov::JobsAsked::All, kov::SyncStart::ByUser);
        QCOMPARE(transfer.functions().join(u' '), functions);
        QCOMPARE(ui.messages.join(u'|'), messages);
        QCOMPARE(u"%1 %2 %3 %4"_s.arg(result)
                     .arg(kov::number(settings, Setting::HaveServers))
                     .arg(kov::number(settings, Setting::HaveChannelDatabase))
                     .arg(ui.timerEnabled ? u"on"_s : u"off"_s),
                 after);
    }
    void summary_data()
    {
        // the channels of the "rec" jobs (dbchannel.dat knows Alpha TV), whether the recorder
        // is missing; the run's last message and its boxes
        Columns<QStringList, bool, QString, int>::add();
        QTest::newRow("short in the message area")
            << QStringList{u"Ch 1"_s, u"Alpha TV"_s, u"Ch 2"_s, u"Ch 3"_s, u"Ch 4"_s, u"Ch 5"_s}
            << false << u"Jobs: 1 scheduled, 5 skipped (no channel number: Ch 1, Ch 2, 3 more)"_s
            << 0;
        // The failed recorder's jobs count as skipped; its one box says why.
        QTest::newRow("recorder missing") << QStringList{u"Alpha TV"_s, u"Alpha TV"_s, u"Ch 1"_s}
                                          << true << u"Jobs: 3 skipped"_s << 1;
    }
    void summary()
    {
        const auto [channels, missing, message, boxes] =
            Columns<QStringList, bool, QString, int>::fetch();
        kov::buildResultTexts();
        kov::setNumber(testSettings(), Setting::HaveServers, 1);
        kov::setNumber(testSettings(), Setting::HaveChannelDatabase, 1);
        writeBytes(env->file(u"dbchannel.dat"_s), "7,Alpha TV\r\n");
        RecordingScheduler::Log log;
        const auto recorders = installRecordingScheduler(log, missing);
        QStringList reply{u"0,4711,csv,%1"_s.arg(channels.size()),
                          u"channel,channelid,uid,starttime,endtime,action,title,pg,quality,"
                          u"sequence,priority,protection,nature,format,vps,description,persons"_s};
        for (qsizetype i = 0; i < channels.size(); ++i)
            reply << u"%1,101,%2,2026-12-24 20:15:00 +0100,2026-12-24 23:00:00 +0100,rec,F%2,0,1,"
                     u"0,2,1,n,f,,d,"_s.arg(channels[i])
                         .arg(i);
        transfer.queue(replyDocument(reply));
        RecordingFrontEnd ui;
        QCOMPARE(kov::runSync(ui, kov::JobsAsked::All, kov::SyncStart::ByUser), !missing);
        QCOMPARE(ui.messages.value(ui.messages.size() - 1), message);
        QCOMPARE(env->ui.boxes.size(), boxes);
    }
    void noPassword()
    {
        kov::setText(testSettings(), Setting::Protocol, u"ABCD"_s); // does not decrypt
        RecordingFrontEnd ui;
        QVERIFY(!kov::runSync(ui, kov::JobsAsked::All, kov::SyncStart::ByUser));
        QCOMPARE(transfer.urls, QStringList());
        QCOMPARE(env->ui.boxes, QStringList{u"Please specify an account and password."_s});
        QCOMPARE(ui.messages, (QStringList{u"Specify your account and password,"_s,
                                           u"Then click 'Sync' to begin."_s}));
        QCOMPARE(ui.updates, QStringList{u"Version 1.0.0"_s});
    }
};

QTEST_GUILESS_MAIN(TestSyncRun)
#include "tst_syncrun.moc"
