// Part 3.4 without widgets: what the channel list editor fills, compares and saves.
#include "channels/channellist.h"
#include "channels/cquibchannelmanager.h"
#include "settings/ckovreg.h"
#include "settings/settings_catalogue.h"
#include "testsupport.h"

#include <QDir>
#include <QtTest>

namespace {
const QByteArray kGuide =
    "0,3,csv,3\r\nisocode,name,id,country,category,language\r\n"
    "de,Zeta,101,DE,General,de\r\nde,Alpha TV,102,DE,News,de\r\nat,Beta,103,AT,Culture,de\r\n";
} // namespace

class TestChannelList : public QObject
{
    Q_OBJECT
private slots:
    void fillMethod2();
    void lastDuplicateShown();
    void saveDropsClearedAndKeepsBackup();
    void noChangesNoQuestion();
    void fillMethod1();
    void unknownMethods();
    void noGuide();
    void cleanNumber_data();
    void cleanNumber();
    void failedSaveKeepsOldFile();
};

void TestChannelList::fillMethod2()
{
    TestEnvironment env;
    writeBytes(env.file(QStringLiteral("kovquibcg.dat")), kGuide);
    writeBytes(env.file(QStringLiteral("dbchannel.dat")), "7,Alpha TV\r\n");
    ChannelListModel model;
    QCOMPARE(model.fill(0, 1), ChannelListModel::Fill::Ok);
    QCOMPARE(model.method(), 2);
    QCOMPARE(model.header(), strings({"Name", "Number"}));
    QCOMPARE(model.rows().size(), 3);
    QCOMPARE(model.rows()[0], strings({"Zeta", ""}));
    QCOMPARE(model.rows()[1], strings({"Alpha TV", "7"}));
    QCOMPARE(model.rows()[2], strings({"Beta", ""}));
    QCOMPARE(model.fill(2, 0), ChannelListModel::Fill::Ok); // sorting is refused: file order stays
    QCOMPARE(model.rows()[0].value(0), QStringLiteral("Zeta"));
}

void TestChannelList::lastDuplicateShown()
{
    TestEnvironment env;
    writeBytes(env.file(QStringLiteral("kovquibcg.dat")), kGuide);
    writeBytes(env.file(QStringLiteral("dbchannel.dat")), "4,Beta\r\n9,Beta\r\n");
    ChannelListModel model;
    model.fill(2, 1);
    QCOMPARE(model.rows()[2], strings({"Beta", "9"}));
}

void TestChannelList::saveDropsClearedAndKeepsBackup()
{
    TestEnvironment env;
    writeBytes(env.file(QStringLiteral("kovquibcg.dat")), kGuide);
    const QByteArray old = "7,Alpha TV\r\n3,Beta\r\n";
    writeBytes(env.file(QStringLiteral("dbchannel.dat")), old);
    ChannelListModel model;
    model.fill(2, 1);
    QList<QStringList> rows = model.rows();
    rows[2][1] = QString(); // Beta cleared
    rows[0][1] = QStringLiteral("5");
    QVERIFY(ChannelListModel::hasChanges(rows));
    QVERIFY(ChannelListModel::save(2, rows));
    QCOMPARE(readBytes(env.file(QStringLiteral("dbchannel.dat"))),
             QByteArray("5,Zeta\r\n7,Alpha TV\r\n"));
    QCOMPARE(readBytes(env.file(QStringLiteral("dbchannel_.dat"))), old);
    QVERIFY(!QFile::exists(env.file(QStringLiteral("dbchannel.dat.new"))));
    // The shared manager was reloaded at once.
    QCOMPARE(GetChannelManager()->GetChNoByNameFromDB(QStringLiteral("Zeta")), 5);
    QCOMPARE(GetChannelManager()->GetChNoByNameFromDB(QStringLiteral("Beta")), 0);
}

void TestChannelList::noChangesNoQuestion()
{
    TestEnvironment env;
    writeBytes(env.file(QStringLiteral("kovquibcg.dat")), kGuide);
    writeBytes(env.file(QStringLiteral("dbchannel.dat")), "7,Alpha TV\r\n");
    ChannelListModel model;
    model.fill(2, 1);
    QVERIFY(!ChannelListModel::hasChanges(model.rows()));
    QList<QStringList> rows = model.rows();
    rows[1][1] = QStringLiteral("7abc"); // the same leading number
    QVERIFY(!ChannelListModel::hasChanges(rows));
    rows[0][1] = QStringLiteral("0"); // an empty cell counts as 0
    QVERIFY(!ChannelListModel::hasChanges(rows));
}

void TestChannelList::fillMethod1()
{
    TestEnvironment env;
    writeBytes(env.file(QStringLiteral("kovquibcg.dat")), kGuide);
    ChannelListModel model;
    QCOMPARE(model.fill(1, 1), ChannelListModel::Fill::Ok);
    QCOMPARE(model.header(), strings({"isocode", "name", "id", "country", "category", "language"}));
    QCOMPARE(model.rows().size(), 3);
    QCOMPARE(model.rows()[1], strings({"de", "Alpha TV", "102", "DE", "News", "de"}));
    QVERIFY(!ChannelListModel::save(1, model.rows()));
    QVERIFY(!QFile::exists(env.file(QStringLiteral("dbchannel.dat"))));
    QVERIFY(env.ui.boxes.isEmpty());
}

void TestChannelList::unknownMethods()
{
    TestEnvironment env;
    writeBytes(env.file(QStringLiteral("kovquibcg.dat")), kGuide);
    ChannelListModel model;
    QCOMPARE(model.fill(5, 1), ChannelListModel::Fill::UnknownMethod);
    QCOMPARE(env.ui.boxes.last().text, QStringLiteral("Grid fill Method (5) Unknown"));
    QVERIFY(!ChannelListModel::save(5, {}));
    QCOMPARE(env.ui.boxes.last().text, QStringLiteral("SaveGridContents(5) Unknown"));
}

void TestChannelList::noGuide()
{
    TestEnvironment env;
    CKovReg reg = kov_Settings();
    reg.setLng(KovSetting::HaveChannelDatabase, 1);
    ChannelListModel model;
    QCOMPARE(model.fill(2, 1), ChannelListModel::Fill::NoGuide);
    QCOMPARE(env.ui.boxes.size(), 1);
    QCOMPARE(env.ui.boxes[0].style, 16);
    QCOMPARE(env.ui.boxes[0].caption, QStringLiteral("ERROR"));
    QCOMPARE(env.ui.boxes[0].text, QStringLiteral("Channel Database Doesn't Exist\r\n") +
                                       env.file(QStringLiteral("kovquibcg.dat")));
    QCOMPARE(reg.Lng(KovSetting::HaveChannelDatabase), 0);
}

void TestChannelList::cleanNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("12abc") << "12abc"
                           << "12";
    QTest::newRow("abc") << "abc"
                         << "0";
    QTest::newRow("empty stays") << ""
                                 << "";
    QTest::newRow(" 42") << " 42"
                         << "42";
}

void TestChannelList::cleanNumber()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(ChannelListModel::cleanNumber(text), expected);
}

void TestChannelList::failedSaveKeepsOldFile()
{
    TestEnvironment env;
    const QByteArray old = "7,Alpha TV\r\n";
    writeBytes(env.file(QStringLiteral("dbchannel.dat")), old);
    QDir(env.folder()).mkdir(QStringLiteral("dbchannel.dat.new")); // the new file cannot be written
    QVERIFY(!ChannelListModel::save(2, {strings({"Alpha TV", "9"})}));
    QCOMPARE(readBytes(env.file(QStringLiteral("dbchannel.dat"))), old);
}

QTEST_GUILESS_MAIN(TestChannelList)
#include "tst_channellist.moc"
