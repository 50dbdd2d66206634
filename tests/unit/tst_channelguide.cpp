// The channel guide download: the checks on kovquibcg.dat after the request, and a good guide
// moving the next guide update a month on.
#include "app/channelguide.h"
#include "apptestsupport.h"
#include "channels/channelcatalog.h"

class TestChannelGuide : public EnvironmentTest
{
    Q_OBJECT
    void setUp() override { storeCredentials(); }

private slots:
    void checks_data()
    {
        // the file ("-": none), the box shown ("style caption|text")
        Columns<QByteArray, QString>::add();
        QTest::newRow("no file")
            << QByteArray("-")
            << u"Information KovFerrit|Failed to get channel database from the server."_s;
        QTest::newRow("status line alone")
            << QByteArray("\r\n\r\n0,a,b,c\r\n")
            << u"Information Information|A corrupt channel database was received from server."_s;
        QTest::newRow("five columns")
            << QByteArray("0,a,b,c,d\r\nisocode,name\r\n")
            << u"Information KovFerrit|ERROR Invalid Header in channel database.  #5"_s;
        QTest::newRow("status 00") << QByteArray("00,a,b,c\r\nisocode,name\r\n") << QString();
        QTest::newRow("status 1") << QByteArray("1,a,b,c\r\nisocode,name\r\n") << QString();
        QTest::newRow("ISOCODE") << QByteArray("0,a,b,c\r\nISOCODE,name\r\n")
                                 << u"Information KovFerrit|ERROR: Channel database is corrupt."_s;
    }
    void checks()
    {
        const auto [file, box] = Columns<QByteArray, QString>::fetch();
        if (file != "-")
            writeBytes(env->file(u"kovquibcg.dat"_s), file);
        transfer.queue(u"17,0,csv,0\r\n"_s); // not valid: the file stays as it is
        RecordingTextBox text;
        QVERIFY(!kov::downloadChannelGuide(&text, true));
        QCOMPARE(text.value, u"Channels Download FAILED"_s);
        QStringList shown;
        for (int i = 0; i < env->ui.boxes.size(); ++i)
            shown << env->ui.boxFrames[i] + u'|' + env->ui.boxes[i];
        QCOMPARE(shown, box.isEmpty() ? QStringList() : QStringList{box});
        if (box.isEmpty()) // a bad status is only traced
            QVERIFY(env->traced(u"Channel Database ERROR: "_s +
                                QString::fromLatin1(file.left(file.indexOf('\r')))));
        QCOMPARE(kov::number(testSettings(), Setting::HaveChannelDatabase), 0);
        QVERIFY(!kov::settingExists(testSettings(), Setting::NextChannelUpdate));
    }
    void nextUpdateAMonthOn_data()
    {
        Columns<QDateTime, QDateTime>::add(); // now, the next guide update
        QTest::newRow("31 January") << QDateTime(QDate(2027, 1, 31), QTime(10, 0))
                                    << QDateTime(QDate(2027, 2, 28), QTime(10, 0));
        QTest::newRow("leap year") << QDateTime(QDate(2028, 1, 31), QTime(10, 0))
                                   << QDateTime(QDate(2028, 2, 29), QTime(10, 0));
        QTest::newRow("December") << QDateTime(QDate(2026, 12, 6), QTime(9, 5, 7))
                                  << QDateTime(QDate(2027, 1, 6), QTime(9, 5, 7));
    }
    void nextUpdateAMonthOn()
    {
        const auto [now, next] = Columns<QDateTime, QDateTime>::fetch();
        clock.time = now;
        // A stray CR stays in its line, in the status line and in a record alike.
        transfer.queue(
            replyDocument({u"0,3,csv,2\r"_s, u"isocode,name,id,country,category,language"_s,
                           u"de,Alpha\rTV,101,DE,General,de"_s, u"de,Beta,102,DE,News,de"_s}));
        RecordingTextBox text;
        QVERIFY(kov::downloadChannelGuide(&text, false));
        QCOMPARE(text.history, (QStringList{u"WAIT ...."_s, u"Channels Download OK"_s}));
        QCOMPARE(kov::number(testSettings(), Setting::HaveChannelDatabase), 1);
        QCOMPARE(kov::text(testSettings(), Setting::NextChannelUpdate), kov::dateText(next));
        QCOMPARE(kov::channelCatalog()->channelCount(), 2);
        QVERIFY(transfer.urls.value(0).contains(u"&initiator=1&target=localhost&serial=0&"_s));
        QVERIFY(env->ui.boxes.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestChannelGuide)
#include "tst_channelguide.moc"
