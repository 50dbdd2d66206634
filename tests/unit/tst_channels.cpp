// Part 3.1: channel model, channel manager and GetChannelByName.
#include "channels/channel_lookup.h"
#include "channels/cquibchannelmanager.h"
#include "testsupport.h"

#include <QtTest>

class TestChannels : public QObject
{
    Q_OBJECT
private slots:
    void lastDuplicateWins();
    void exactNameOnly();
    void threeColumnLineSkipped();
    void zeroNumberAsks();
    void promptAnswers_data();
    void promptAnswers();
    void emptyFileIsAbsent();
    void delimitedFields_data();
    void delimitedFields();
    void readFailureEndsScan();
    void createNewChannel();
    void channelNumberRange();
    void channelNumberLooksUp();
    void quibChannelIndex();
    void forceReload();
    void getChannelNumberByName();
    void setInfoByCsv();
};

void TestChannels::lastDuplicateWins()
{
    TestEnvironment env;
    writeBytes(env.file(QStringLiteral("dbchannel.dat")), "5,Alpha TV\r\n12,Alpha TV\r\n");
    QCOMPARE(GetChannelByName(QStringLiteral("Alpha TV"), true), 12);
    QCOMPARE(GetChannelManager()->GetChNoByNameFromDB(QStringLiteral("Alpha TV")), 12);
    QVERIFY(env.ui.askedChannels.isEmpty());
}

void TestChannels::exactNameOnly()
{
    TestEnvironment env;
    writeBytes(env.file(QStringLiteral("dbchannel.dat")), "5,Alpha TV\r\n");
    QCOMPARE(GetChannelByName(QStringLiteral("alpha tv"), false), 0);
    QCOMPARE(GetChannelByName(QStringLiteral("Alpha TV "), false), 0);
    QCOMPARE(GetChannelManager()->GetChNoByNameFromDB(QStringLiteral("alpha tv")), 0);
    QCOMPARE(GetChannelByName(QStringLiteral("alpha tv"), true), 0);
    QCOMPARE(env.ui.askedChannels, QStringList{QStringLiteral("alpha tv")});
}

void TestChannels::threeColumnLineSkipped()
{
    TestEnvironment env;
    writeBytes(env.file(QStringLiteral("dbchannel.dat")), "3,Beta,Extra\r\n\r\n4,Gamma\r\n");
    CQuibChannelManager* manager = GetChannelManager();
    QCOMPARE(manager->GetChNoByNameFromDB(QStringLiteral("Beta")), 0);
    QCOMPARE(manager->GetChNoByNameFromDB(QStringLiteral("Gamma")), 4);
    QCOMPARE(manager->DatabaseChannels().size(), 1);
    QVERIFY(env.traced(
        QStringLiteral("CQuibChannelManager::Invalid Channel Database Format (3,Beta,Extra)")));
}

void TestChannels::zeroNumberAsks()
{
    TestEnvironment env;
    writeBytes(env.file(QStringLiteral("dbchannel.dat")), "0,Test\r\n");
    env.ui.channelAnswers = {4};
    QCOMPARE(GetChannelByName(QStringLiteral("Test"), true), 4);
    QCOMPARE(env.ui.askedChannels, QStringList{QStringLiteral("Test")});
}

void TestChannels::promptAnswers_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("cancelled") << 0 << QByteArray("1,One\r\n");
    QTest::newRow("chosen 9") << 9 << QByteArray("1,One\r\n9,Gamma 1\r\n");
}

void TestChannels::promptAnswers()
{
    TestEnvironment env;
    QFETCH(int, answer);
    QFETCH(QByteArray, file);
    writeBytes(env.file(QStringLiteral("dbchannel.dat")), "1,One\r\n");
    env.ui.channelAnswers = {answer};
    QCOMPARE(GetChannelByName(QStringLiteral("Gamma 1"), true), answer);
    QCOMPARE(readBytes(env.file(QStringLiteral("dbchannel.dat"))), file);
    // The manager, loading the file on first need, sees the appended line.
    QCOMPARE(GetChannelManager()->GetChNoByNameFromDB(QStringLiteral("Gamma 1")), answer);
}

void TestChannels::emptyFileIsAbsent()
{
    TestEnvironment env;
    writeBytes(env.file(QStringLiteral("dbchannel.dat")), QByteArray());
    QCOMPARE(GetChannelByName(QStringLiteral("X"), false), 0);
    QVERIFY(env.tracedPrefix(QStringLiteral("CQuibChannelManager::") + env.folder() +
                             QStringLiteral("\\dbchannel.dat doesn't exist")));
    QVERIFY(!GetChannelManager()->LoadChannelsFromDatabase());
    env.ui.channelAnswers = {3};
    QCOMPARE(GetChannelByName(QStringLiteral("X"), true), 3);
    QCOMPARE(readBytes(env.file(QStringLiteral("dbchannel.dat"))), QByteArray("3,X\r\n"));
}

void TestChannels::delimitedFields_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("expected");
    QTest::newRow("blanks before fields") << QByteArray("  7,  Alpha\r\n") << 7;
    QTest::newRow("quoted name") << QByteArray("8,\"Alpha\"\r\n") << 8;
    QTest::newRow("lone LF ends a line") << QByteArray("2,Beta\n9,Alpha\n") << 9;
    QTest::newRow("no final line end") << QByteArray("6,Alpha") << 6;
}

void TestChannels::delimitedFields()
{
    TestEnvironment env;
    QFETCH(QByteArray, file);
    QFETCH(int, expected);
    writeBytes(env.file(QStringLiteral("dbchannel.dat")), file);
    QCOMPARE(GetChannelByName(QStringLiteral("Alpha"), false), expected);
}

void TestChannels::readFailureEndsScan()
{
    TestEnvironment env;
    writeBytes(env.file(QStringLiteral("dbchannel.dat")), "4,Alpha\r\nabc,Beta\r\n5,Alpha\r\n");
    QCOMPARE(GetChannelByName(QStringLiteral("Alpha"), true), 4);
    QVERIFY(env.tracedPrefix(QStringLiteral("CQuibChannelManager::GetChannelByName ERROR: ")));
    QVERIFY(env.ui.askedChannels.isEmpty()); // step 3 skipped
}

void TestChannels::createNewChannel()
{
    TestEnvironment env;
    CQuibChannelManager* manager = GetChannelManager();
    CQuibChannel* alpha =
        manager->CreateNewChannel(QStringLiteral("de,Alpha TV,101,Germany,General,de"), 1);
    QVERIFY(alpha);
    QCOMPARE(alpha->IsoCode(), QStringLiteral("de"));
    QCOMPARE(alpha->ID(), 101);
    QCOMPARE(alpha->Country(), QStringLiteral("Germany"));
    QCOMPARE(alpha->Category(), QStringLiteral("General"));
    QCOMPARE(manager->CSV(), QStringLiteral("de,Alpha TV,101,Germany,General,de"));
    QVERIFY(!manager->CreateNewChannel(QStringLiteral("de,Other,101,Germany,General,de"), 1));
    QVERIFY(env.traced(QStringLiteral(
        "CQuibChannelManager::CreateNewChannel channel alredy exists with ID : 101")));
    QVERIFY(!manager->CreateNewChannel(QStringLiteral("de,,102,Germany,General,de"), 1));
    QVERIFY(env.traced(
        QStringLiteral("CQuibChannelManager::CreateNewChannel, method: 1 Can't resolve name.")));
    QVERIFY(!manager->CreateNewChannel(QStringLiteral("de,Gamma,abc,Germany,General,de"), 1));
    QVERIFY(env.tracedPrefix(QStringLiteral("CQuibChannelManager::CreateNewChannel ERROR : ")));
    QVERIFY(manager->CreateNewChannel(QStringLiteral("Bare"), 2));
    QVERIFY(!manager->CreateNewChannel(QStringLiteral("Bare"), 2));
    QVERIFY(env.traced(
        QStringLiteral("CQuibChannelManager::CreateNewChannel channel alredy exists with ID : 0")));
    QCOMPARE(manager->CSV(),
             QStringLiteral("de,Alpha TV,101,Germany,General,de")); // method 2 leaves CSV
    QVERIFY(!manager->CreateNewChannel(QStringLiteral("x"), 3));
    QVERIFY(env.traced(QStringLiteral("CQuibChannelManager::CreateNewChannel Method(3) Unknown")));
    QCOMPARE(manager->ChannelCount(), 2);
    QVERIFY(env.ui.boxes.isEmpty());
}

void TestChannels::channelNumberRange()
{
    TestEnvironment env;
    CQuibChannel channel;
    channel.setChannelNumber(5);
    channel.setChannelNumber(1000);
    QCOMPARE(channel.ChannelNumber(), 5);
    channel.setChannelNumber(0);
    QCOMPARE(channel.ChannelNumber(), 5);
    QVERIFY(env.traced(QStringLiteral("CQuibChannel::ChannelNumber let value out of range : 0")));
    channel.setChannelNumber(999);
    QCOMPARE(channel.ChannelNumber(), 999);
    channel.setName(QString());
    QVERIFY(env.traced(QStringLiteral("CQuibChannel::Name missing NV")));
}

void TestChannels::channelNumberLooksUp()
{
    TestEnvironment env;
    CQuibChannel channel;
    channel.setName(QStringLiteral("Unknown"));
    channel.setPromptMissingChannels(true);
    env.ui.channelAnswers = {6, 8};
    QCOMPARE(channel.ChannelNumber(), 6);
    // The answer is not stored in the channel: the file now holds it, so no second question.
    QCOMPARE(channel.ChannelNumber(), 6);
    QCOMPARE(env.ui.askedChannels.size(), 1);
    channel.setPromptMissingChannels(false);
    QCOMPARE(channel.PromptMissingChannels(), false);
}

void TestChannels::quibChannelIndex()
{
    TestEnvironment env;
    CQuibChannelManager* manager = GetChannelManager();
    manager->CreateNewChannel(QStringLiteral("de,A,1,x,y,z"), 1);
    QVERIFY(manager->QuibChannel(0));
    QVERIFY(!manager->QuibChannel(-1));
    QVERIFY(!manager->QuibChannel(1));
}

void TestChannels::forceReload()
{
    TestEnvironment env;
    writeBytes(env.file(QStringLiteral("dbchannel.dat")), "1,A\r\n2,B\r\n");
    CQuibChannelManager* manager = GetChannelManager();
    QVERIFY(manager->LoadChannelsFromDatabase());
    QVERIFY(
        manager->LoadChannelsFromDatabase()); // without ForceReload every entry is appended again
    QCOMPARE(manager->DatabaseChannels().size(), 4);
    bool force = true;
    QVERIFY(manager->LoadChannelsFromDatabase(QString(), force));
    QVERIFY(!force);
    QCOMPARE(manager->DatabaseChannels().size(), 2);
    writeBytes(env.file(QStringLiteral("dbchannel.dat")), "bad line only\r\n");
    force = true;
    QVERIFY(manager->LoadChannelsFromDatabase(QString(), force));
    QVERIFY(force); // no accepted line: the old list stays
    QCOMPARE(manager->DatabaseChannels().size(), 2);
    writeBytes(env.file(QStringLiteral("dbchannel.dat")), "99999999999,Huge\r\n");
    QVERIFY(!manager->LoadChannelsFromDatabase());
    QCOMPARE(env.ui.boxes.last().text,
             QStringLiteral("CQuibChannelManager::LoadChannelsFromDatabase : Overflow"));
}

void TestChannels::getChannelNumberByName()
{
    TestEnvironment env;
    CQuibChannelManager* manager = GetChannelManager();
    QCOMPARE(manager->GetChannelNumberByName(QStringLiteral("A")), 0);
    QVERIFY(env.traced(QStringLiteral("CQuibChannelManager::No channels defined !")));
    writeBytes(env.file(QStringLiteral("dbchannel.dat")), "4,A\r\n");
    manager->CreateNewChannel(QStringLiteral("de,A,1,x,y,z"), 1);
    QCOMPARE(manager->GetChannelNumberByName(QStringLiteral("A"), false), 4);
    QCOMPARE(manager->GetChannelNumberByName(QStringLiteral("B"), true), 0);
    QVERIFY(env.ui.askedChannels.isEmpty());
}

void TestChannels::setInfoByCsv()
{
    TestEnvironment env;
    CQuibChannel channel;
    QCOMPARE(channel.SetInfoByCSV(QStringLiteral("de,Alpha,7")), 3);
    QCOMPARE(channel.Name(), QString());
    QCOMPARE(channel.SetInfoByCSV(QStringLiteral("de,Alpha,7.5,DE,News,x,y")), 7);
    QCOMPARE(channel.Name(), QStringLiteral("Alpha"));
    QCOMPARE(channel.ID(), 8);
}

QTEST_GUILESS_MAIN(TestChannels)
#include "tst_channels.moc"
