// Channel numbers: the lookup in dbchannel.dat that asks for a missing number and appends the
// answer, the channel manager's copy of that file, and the channels a guide creates.
#include "channels/channelcatalog.h"
#include "channels/channeldatabase.h"
#include "channels/channellist.h"
#include "channels/channellookup.h"
#include "foundation/csvrow.h"
#include "foundation/filewriters.h"
#include "testsupport.h"

#include <cstdio>
#include <sys/stat.h>

class TestChannels : public EnvironmentTest
{
    Q_OBJECT
private slots:
    void lookup_data()
    {
        // dbchannel.dat, the name, the prompt's answer (-1: no prompt), the number, asked
        Columns<QByteArray, QString, int, int, bool>::add();
        const QByteArray alpha("5,Alpha TV\r\n");
        QTest::newRow("last duplicate wins")
            << QByteArray("5,Alpha TV\r\n12,Alpha TV\r\n") << u"Alpha TV"_s << 3 << 12 << false;
        QTest::newRow("other case") << alpha << u"alpha tv"_s << -1 << 0 << false;
        QTest::newRow("trailing blank") << alpha << u"Alpha TV "_s << -1 << 0 << false;
        QTest::newRow("number 0 asks") << QByteArray("0,Test\r\n") << u"Test"_s << 4 << 4 << true;
        QTest::newRow("answered") << QByteArray("1,One\r\n") << u"Gamma 1"_s << 9 << 9 << true;
        QTest::newRow("cancelled") << QByteArray("1,One\r\n") << u"Gamma 1"_s << 0 << 0 << true;
        QTest::newRow("empty file is no file") << QByteArray() << u"X"_s << 3 << 3 << true;
        QTest::newRow("blanks before fields")
            << QByteArray("  7,  Alpha\r\n") << u"Alpha"_s << -1 << 7 << false;
        QTest::newRow("lone LF") << QByteArray("2,Beta\n9,Alpha\n") << u"Alpha"_s << -1 << 9
                                 << false;
        QTest::newRow("a damaged line costs that line only")
            << QByteArray("abc,Alpha\r\n1e+20,Alpha\r\n7,Alpha\r\n1,000,Alpha\r\n-5,Alpha\r\n"
                          "1000,Alpha\r\n5,\"Alpha\r\n")
            << u"Alpha"_s << 3 << 7 << false;
        QTest::newRow("line end written inside a name")
            << QByteArray("13,Evil\nLF\r\n14,QuoteTV\r\n") << u"QuoteTV"_s << 3 << 14 << false;
        QTest::newRow("answer no channel has")
            << QByteArray("1,One\r\n") << u"Gamma 1"_s << 1000 << 0 << true;
    }
    void lookup()
    {
        const auto [file, name, answer, expected, asked] =
            Columns<QByteArray, QString, int, int, bool>::fetch();
        const QString path = env->file(u"dbchannel.dat"_s);
        writeBytes(path, file);
        env->ui.channelAnswers = {answer};
        QCOMPARE(kov::channelByName(name, answer >= 0), expected);
        QCOMPARE(env->ui.askedChannels, asked ? QStringList{name} : QStringList());
        const QByteArray added = QByteArray::number(answer) + ',' + name.toLatin1() + "\r\n";
        QCOMPARE(readBytes(path), asked && answer > 0 && answer < 1000 ? file + added : file);
        // The manager, reading the file when first needed, sees an appended line.
        if (asked)
            QCOMPARE(kov::channelCatalog()->databaseNumber(name), expected);
    }
    void lookupSeesEveryChange_data()
    {
        // the file after the change, written in place (else renamed over); Alpha's number
        Columns<QByteArray, bool, int>::add();
        QTest::newRow("same size, in place") << QByteArray("8,Alpha\r\n") << true << 8;
        QTest::newRow("same size, renamed over") << QByteArray("9,Alpha\r\n") << false << 9;
        QTest::newRow("longer") << QByteArray("7,Alpha\r\n12,Alpha\r\n") << true << 12;
        QTest::newRow("emptied") << QByteArray() << true << 0;
    }
    void lookupSeesEveryChange()
    {
        // Every read is kept at once here (no settling time), so only the file's stamp can
        // tell the lookup that the file changed.
        const auto [after, inPlace, expected] = Columns<QByteArray, bool, int>::fetch();
        const QString path = env->file(u"dbchannel.dat"_s);
        writeBytes(path, "7,Alpha\r\n");
        const auto before = kov::channelDatabaseNow(path, 0);
        QCOMPARE(before->numbers.value(u"Alpha"_s), 7);
        QCOMPARE(kov::channelDatabaseNow(path, 0), before); // unchanged: not read again
        auto changed = [&path] {
            struct stat st = {};
            ::stat(QFile::encodeName(path).constData(), &st);
            return std::make_pair(st.st_ctim.tv_sec, st.st_ctim.tv_nsec);
        };
        const auto old = changed();
        writeBytes(inPlace ? path : path + u".new"_s, after);
        if (!inPlace)
            QCOMPARE(std::rename(QFile::encodeName(path + u".new"_s).constData(),
                                 QFile::encodeName(path).constData()),
                     0);
        if (inPlace && !after.isEmpty() && changed() == old)
            QSKIP("the file system stamps both writes with the same time");
        const auto current = kov::channelDatabaseNow(path, 0);
        QCOMPARE(current ? current->numbers.value(u"Alpha"_s) : 0, expected);
        QCOMPARE(kov::channelByName(u"Alpha"_s, false), expected);
    }
    void namesRoundTrip_data()
    {
        Columns<QString>::add();
        for (const QString& name : {u"Alpha, Beta"_s, u"Carriage\rReturn"_s, u"Line\nFeed"_s,
                                    u"Both\r\nEnds"_s, u"Quote\"TV"_s, u" Padded\t"_s})
            QTest::newRow(name.toUtf8().toPercentEncoding(" ,\"").constData()) << name;
    }
    void namesRoundTrip()
    {
        // Stored by the prompt, then by the editor's save (twice, to the same bytes), a name
        // reads back as one entry that its lookup finds, and the lines after it stay whole.
        const auto [name] = Columns<QString>::fetch();
        const QString path = env->file(u"dbchannel.dat"_s);
        env->ui.channelAnswers = {9};
        QCOMPARE(kov::channelByName(name, true), 9);
        kov::appendTextFile(path, u"14,After\r\n"_s);
        QCOMPARE(kov::channelByName(name, true) * 100 + kov::channelByName(u"After"_s, false), 914);
        QCOMPARE(env->ui.askedChannels, QStringList{name});
        const QList<QStringList> rows{{name, u"12"_s}, {u"After"_s, u"14"_s}};
        QVERIFY(ChannelListModel::save(2, rows, {}));
        const QByteArray saved = readBytes(path);
        QVERIFY(ChannelListModel::save(2, rows, rows) && readBytes(path) == saved);
        QCOMPARE(kov::channelByName(name, false), 12);
        QCOMPARE(kov::channelCatalog()->databaseNumber(name), 12);
    }
    void managerReadsTwoColumnLines()
    {
        writeBytes(env->file(u"dbchannel.dat"_s),
                   "3,Beta,Extra\r\n\r\n4,Gamma\r\n5,gamma\r\n1e+20,Gamma\r\n");
        ChannelCatalog* manager = kov::channelCatalog();
        QCOMPARE(manager->databaseNumber(u"Beta"_s), 0);
        QCOMPARE(manager->databaseNumber(u"Gamma"_s), 4);
        bool force = true; // a forced reload replaces the list instead of adding to it
        writeBytes(env->file(u"dbchannel.dat"_s), "6,Gamma\r\n");
        QVERIFY(manager->loadDatabase(QString(), force));
        QCOMPARE(manager->databaseNumber(u"Gamma"_s), 6);
    }
    void channelsFromGuideRecords()
    {
        ChannelCatalog* manager = kov::channelCatalog();
        const auto record = [](const QString& text) {
            CsvRow row;
            row.setText(text);
            return row;
        };
        GuideChannel* alpha =
            manager->createChannel(record(u"de,Alpha TV,101,Germany,General,de"_s));
        QVERIFY(alpha);
        QCOMPARE(alpha->isoCode() + alpha->name() + alpha->country() + alpha->category(),
                 u"deAlpha TVGermanyGeneral"_s);
        QCOMPARE(alpha->id(), 101);
        QVERIFY(!manager->createChannel(record(u"de,Other,101,Germany,General,de"_s)));
        QVERIFY(env->traced(
            u"CQuibChannelManager::CreateNewChannel channel alredy exists with ID : 101"_s));
        QVERIFY(!manager->createChannel(record(u"de,,102,Germany,General,de"_s)));
        QVERIFY(!manager->createChannel(record(u"de,Gamma,abc,Germany,General,de"_s)));
        QVERIFY(manager->createChannel(record(u"de,Gamma,103,Germany,General,de"_s)));
        QCOMPARE(manager->channelCount(), 2);
        QVERIFY(env->ui.boxes.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestChannels)
#include "tst_channels.moc"
