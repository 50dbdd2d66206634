// What the channel list editor shows and saves, without widgets: the rows from the guide with
// their numbers, the change check, and the save with its backup.
#include "channels/channelcatalog.h"
#include "channels/channellist.h"
#include "foundation/filewriters.h"
#include "testsupport.h"

#include <QDir>

namespace {
const QByteArray kGuide =
    "0,3,csv,3\r\nisocode,name,id,country,category,language\r\n"
    "de,Zeta,101,DE,General,de\r\nde,Alpha TV,102,DE,News,de\r\nat,Beta,103,AT,Culture,de\r\n";
} // namespace

class TestChannelList : public EnvironmentTest
{
    Q_OBJECT
    void setUp() override { writeBytes(env->file(u"kovquibcg.dat"_s), kGuide); }

private slots:
    void fill_data()
    {
        // method, guide (empty: the usual one), dbchannel.dat; header and rows shown
        Columns<int, QByteArray, QByteArray, QStringList>::add();
        QTest::newRow("names in file order")
            << 2 << QByteArray() << QByteArray("7,Alpha TV\r\n")
            << QStringList{u"Name|Number"_s, u"Zeta|"_s, u"Alpha TV|7"_s, u"Beta|"_s};
        QTest::newRow("0 is 2; last duplicate")
            << 0 << QByteArray() << QByteArray("4,Beta\r\n9,Beta\r\n")
            << QStringList{u"Name|Number"_s, u"Zeta|"_s, u"Alpha TV|"_s, u"Beta|9"_s};
        // Every line as wide as the status line: the table sorts, and the status and
        // column-header lines must stay out of the records (stable by iso code).
        QTest::newRow("sorted records only")
            << 2
            << QByteArray("0,3,csv,3\r\nisocode,name,id,country\r\nde,Zeta,101,DE\r\n"
                          "de,Alpha TV,102,DE\r\nat,Beta,103,AT\r\n")
            << QByteArray()
            << QStringList{u"Name|Number"_s, u"Beta|"_s, u"Zeta|"_s, u"Alpha TV|"_s};
        // A lone CR inside a name, quoted or not, stays in that name, as the reply held it.
        QTest::newRow("lone CR in a name")
            << 2
            << QByteArray("0,3,csv,3\r\nisocode,name,id,country,category,language\r\n"
                          "de,\"Lone\rQ\",101,DE,General,de\r\nde,Lone\rCR,102,DE,News,de\r\n"
                          "at,Beta,103,AT,Culture,de\r\n")
            << QByteArray("4,\"Lone\rCR\"\r\n")
            << QStringList{u"Name|Number"_s, u"Lone\rQ|"_s, u"Lone\rCR|4"_s, u"Beta|"_s};
        QTest::newRow("whole records")
            << 1 << QByteArray() << QByteArray()
            << QStringList{u"isocode|name|id|country|category|language"_s,
                           u"de|Zeta|101|DE|General|de"_s, u"de|Alpha TV|102|DE|News|de"_s,
                           u"at|Beta|103|AT|Culture|de"_s};
        QTest::newRow("unknown method")
            << 5 << QByteArray() << QByteArray() << QStringList{QString()};
    }
    void fill()
    {
        const auto [method, guide, numbers, shown] =
            Columns<int, QByteArray, QByteArray, QStringList>::fetch();
        if (!guide.isEmpty())
            writeBytes(env->file(u"kovquibcg.dat"_s), guide);
        writeBytes(env->file(u"dbchannel.dat"_s), numbers);
        ChannelListModel model;
        QCOMPARE(model.fill(method, 0),
                 method == 5 ? ChannelListModel::Fill::UnknownMethod : ChannelListModel::Fill::Ok);
        QStringList got{model.header().join(u'|')};
        for (const QStringList& row : model.rows())
            got << row.join(u'|');
        QCOMPARE(got, shown);
        QCOMPARE(env->ui.boxes,
                 method == 5 ? QStringList{u"Grid fill Method (5) Unknown"_s} : QStringList());
    }
    void noGuide()
    {
        QFile::remove(env->file(u"kovquibcg.dat"_s));
        kov::setNumber(testSettings(), Setting::HaveChannelDatabase, 1);
        QCOMPARE(ChannelListModel().fill(2, 1), ChannelListModel::Fill::NoGuide);
        QCOMPARE(env->ui.boxes, QStringList{u"Channel Database Doesn't Exist\r\n"_s +
                                            env->file(u"kovquibcg.dat"_s)});
        QCOMPARE(env->ui.boxFrames, QStringList{u"Critical ERROR"_s});
        QCOMPARE(kov::number(testSettings(), Setting::HaveChannelDatabase), 0);
    }
    void changesAndSave()
    {
        const QByteArray old = "7,Alpha TV\r\n3,Beta\r\n";
        writeBytes(env->file(u"dbchannel.dat"_s), old);
        ChannelListModel model;
        model.fill(2, 1);
        QList<QStringList> rows = model.rows();
        QVERIFY(!ChannelListModel::hasChanges(rows));
        rows[1][1] = u"7abc"_s; // the same leading number
        rows[0][1] = u"0"_s;    // as an empty cell
        QVERIFY(!ChannelListModel::hasChanges(rows));
        rows[2][1] = QString(); // Beta cleared
        rows[1][1] = u"7"_s;
        rows[0][1] = u"5"_s;
        QVERIFY(ChannelListModel::hasChanges(rows));
        // A sync stores answers meanwhile: rows left as filled take them, edited rows win.
        kov::appendTextFile(env->file(u"dbchannel.dat"_s), u"8,Alpha TV\r\n4,Beta\r\n"_s);
        QVERIFY(ChannelListModel::save(2, rows, model.rows()));
        QCOMPARE(readBytes(env->file(u"dbchannel.dat"_s)), "5,Zeta\r\n8,Alpha TV\r\n");
        QCOMPARE(readBytes(env->file(u"dbchannel_.dat"_s)), old + "8,Alpha TV\r\n4,Beta\r\n");
        const QFile::Permissions others =
            QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;
        QVERIFY(!(QFile(env->file(u"dbchannel.dat"_s)).permissions() & others)); // owner only
        QCOMPARE(kov::channelCatalog()->databaseNumber(u"Zeta"_s), 5);           // reloaded at once
        QCOMPARE(kov::channelCatalog()->databaseNumber(u"Beta"_s), 0);
        QVERIFY(!ChannelListModel::save(1, rows, {})); // whole records are never saved
        QVERIFY(!ChannelListModel::save(2, {{u"Zeta"_s, u"1000"_s}}, {})); // nor a bad number
        QDir(env->folder()).mkdir(u"dbchannel.dat.new"_s); // nor anything that cannot be written
        QVERIFY(!ChannelListModel::save(2, {{u"Zeta"_s, u"9"_s}}, {}));
        QCOMPARE(readBytes(env->file(u"dbchannel.dat"_s)), "5,Zeta\r\n8,Alpha TV\r\n");
    }
};

QTEST_GUILESS_MAIN(TestChannelList)
#include "tst_channellist.moc"
