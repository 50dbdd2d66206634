// Part 3.2: the channel guide download and its checks.
#include "app/channelguide.h"
#include "app/kovferritsupport.h"
#include "channels/cquibchannelmanager.h"
#include "fakes.h"
#include "foundation/kov_date.h"
#include "settings/ckovreg.h"
#include "settings/settings_catalogue.h"
#include "testsupport.h"

#include <QtTest>

class TestChannelGuide : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void checks_data();
    void checks();
    void successMovesUpdateAMonth_data();
    void successMovesUpdateAMonth();
    void noFileAfterQuery();

private:
    std::unique_ptr<TestEnvironment> m_env;
    FakeTransfer m_transfer;
};

void TestChannelGuide::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_transfer = FakeTransfer();
    kov_SetTransferComponent(&m_transfer);
    storeCredentials(QStringLiteral("demo"), QStringLiteral("pw"));
}

void TestChannelGuide::cleanup()
{
    m_env.reset();
}

void TestChannelGuide::checks_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("caption");
    QTest::newRow("status line alone") << QByteArray("\r\n\r\n0,a,b,c\r\n")
                                       << "A corrupt channel database was received from server."
                                       << "Information";
    QTest::newRow("five columns") << QByteArray("0,a,b,c,d\r\nisocode,name\r\n")
                                  << "ERROR Invalid Header in channel database.  #5"
                                  << "KovFerrit";
    QTest::newRow("status 00: silent") << QByteArray("00,a,b,c\r\nisocode,name\r\n") << ""
                                       << "";
    QTest::newRow("ISOCODE") << QByteArray("0,a,b,c\r\nISOCODE,name\r\n")
                             << "ERROR: Channel database is corrupt."
                             << "KovFerrit";
    QTest::newRow("empty line after status")
        << QByteArray("0,a,b,c\r\n\r\n") << "ERROR: Channel database is corrupt."
        << "KovFerrit";
}

void TestChannelGuide::checks()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, text);
    QFETCH(QString, caption);
    writeBytes(m_env->file(QStringLiteral("kovquibcg.dat")), file);
    m_transfer.queue(QStringLiteral("17,0,csv,0\r\n")); // not valid: the file stays as it is
    RecordingTextBox box;
    QVERIFY(!DownloadChannelGuide(&box, true));
    QCOMPARE(box.value, QStringLiteral("Channels Download FAILED"));
    if (text.isEmpty()) {
        QVERIFY(m_env->ui.boxes.isEmpty());
        QVERIFY(m_env->traced(QStringLiteral("Channel Database ERROR: 00,a,b,c")));
    } else {
        QCOMPARE(m_env->ui.boxes.size(), 1);
        QCOMPARE(m_env->ui.boxes[0].text, text);
        QCOMPARE(m_env->ui.boxes[0].caption, caption);
        QCOMPARE(m_env->ui.boxes[0].style, 64);
    }
    QCOMPARE(kov_Settings().Lng(KovSetting::HaveChannelDatabase), 0);
    QVERIFY(!kov_Settings().ValueExists(KovSetting::NextChannelUpdate));
}

void TestChannelGuide::successMovesUpdateAMonth_data()
{
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QDateTime>("next");
    QTest::newRow("31 January") << QDateTime(QDate(2027, 1, 31), QTime(10, 0))
                                << QDateTime(QDate(2027, 2, 28), QTime(10, 0));
    QTest::newRow("leap year") << QDateTime(QDate(2028, 1, 31), QTime(10, 0))
                               << QDateTime(QDate(2028, 2, 29), QTime(10, 0));
    QTest::newRow("December") << QDateTime(QDate(2026, 12, 6), QTime(9, 5, 7))
                              << QDateTime(QDate(2027, 1, 6), QTime(9, 5, 7));
}

void TestChannelGuide::successMovesUpdateAMonth()
{
    QFETCH(QDateTime, now);
    QFETCH(QDateTime, next);
    FixedClock clock(now);
    kov_SetClock(&clock);
    m_transfer.queue(
        replyDocument(strings({"0,3,csv,2", "isocode,name,id,country,category,language",
                               "de,Alpha TV,101,DE,General,de", "de,Beta,102,DE,News,de"})));
    RecordingTextBox box;
    QVERIFY(DownloadChannelGuide(&box, false));
    QCOMPARE(box.history, strings({"WAIT ....", "Channels Download OK"}));
    QCOMPARE(kov_Settings().Lng(KovSetting::HaveChannelDatabase), 1);
    QCOMPARE(kov_Settings().Str(KovSetting::NextChannelUpdate), kov_DateText(next));
    QCOMPARE(GetChannelManager()->ChannelCount(), 2);
    QVERIFY(m_transfer.urls.value(0).contains(QLatin1String("&serial=0&")));
    QVERIFY(m_transfer.urls.value(0).contains(QLatin1String("&initiator=1&")));
    QVERIFY(m_env->ui.boxes.isEmpty());
}

void TestChannelGuide::noFileAfterQuery()
{
    m_transfer.queue(
        QStringLiteral("16,1,csv,0\r\nisocode,name\r\n")); // goes to ChannelDatabaseError.txt
    QVERIFY(!DownloadChannelGuide(nullptr, true));
    QCOMPARE(m_env->ui.boxes.size(), 1);
    QCOMPARE(m_env->ui.boxes[0].text,
             QStringLiteral("Failed to get channel database from the server."));
    QVERIFY(QFile::exists(m_env->file(QStringLiteral("ChannelDatabaseError.txt"))));
}

QTEST_GUILESS_MAIN(TestChannelGuide)
#include "tst_channelguide.moc"
