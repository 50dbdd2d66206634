// Part 5.3: CSV rows and tables.
#include "foundation/ckovqzcsv.h"
#include "testsupport.h"

#include <QtTest>

class TestCsv : public QObject
{
    Q_OBJECT
private slots:
    void split_data();
    void split();
    void openQuoteKeepsClosedFields();
    void openQuoteWithoutFieldsFails();
    void emptyRowDataRefused();
    void columnOutside();
    void table_data();
    void table();
    void textGoesThroughTempCsv();
    void differentSizedRows();
    void sortBinaryOrder();
    void sortRefusals_data();
    void sortRefusals();
    void rowAndColumnsBadIndex();
    void missingFileFails();
};

void TestCsv::split_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("fields");
    QTest::newRow("plain") << "a,b,c" << strings({"a", "b", "c"});
    QTest::newRow("empty fields") << "a,,c," << strings({"a", "", "c", ""});
    QTest::newRow("comma in quotes") << "a,\"b,c\",d" << strings({"a", "b,c", "d"});
    QTest::newRow("quotes anywhere") << "x\"y\"z" << strings({"xyz"});
    QTest::newRow("doubled quotes vanish") << "\"a\"\"b\",c" << strings({"ab", "c"});
    QTest::newRow("spaces kept") << " a , b " << strings({" a ", " b "});
    QTest::newRow("single field") << "only" << strings({"only"});
    QTest::newRow("lone comma") << "," << strings({"", ""});
}

void TestCsv::split()
{
    QFETCH(QString, line);
    QFETCH(QStringList, fields);
    CKovQzCSVrow row;
    QVERIFY(row.setRowData(line));
    QCOMPARE(row.NoColumns(), fields.size());
    for (int i = 0; i < fields.size(); ++i)
        QCOMPARE(row.Column(i), fields[i]);
    QCOMPARE(row.RowData(), line);
}

void TestCsv::openQuoteKeepsClosedFields()
{
    TestEnvironment env;
    CKovQzCSVrow row;
    QVERIFY(row.setRowData(QStringLiteral("a,\"b")));
    QCOMPARE(row.NoColumns(), 1);
    QCOMPARE(row.Column(0), QStringLiteral("a"));
    QVERIFY(env.traced(QStringLiteral("SpecialSplit shouldn't end in quotes")));
}

void TestCsv::openQuoteWithoutFieldsFails()
{
    TestEnvironment env;
    CKovQzCSVrow row;
    QVERIFY(row.setRowData(QStringLiteral("x,y")));
    QVERIFY(!row.setRowData(QStringLiteral("\"b")));
    QCOMPARE(row.RowData(), QStringLiteral("x,y")); // unchanged after the failure
    QCOMPARE(row.NoColumns(), 2);
}

void TestCsv::emptyRowDataRefused()
{
    TestEnvironment env;
    CKovQzCSVrow row;
    QVERIFY(!row.setRowData(QString()));
    QVERIFY(env.traced(QStringLiteral("CKovQzCSVrow::Let RowData data is missing")));
    QCOMPARE(row.NoColumns(), 0);
}

void TestCsv::columnOutside()
{
    TestEnvironment env;
    CKovQzCSVrow row;
    row.setRowData(QStringLiteral("a,b,c"));
    QCOMPARE(row.Column(5), QString());
    QCOMPARE(row.Column(-1), QString());
    QVERIFY(env.trace.isEmpty());
}

void TestCsv::table_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("rows"); // fields joined by "|"
    QTest::newRow("empty line skipped")
        << QByteArray("H1,H2\r\n1,2\r\n\r\n3,4\r\n") << strings({"H1|H2", "1|2", "3|4"});
    QTest::newRow("leading empty lines") << QByteArray("\r\n\r\na,b\r\n") << strings({"a|b"});
    QTest::newRow("LF alone does not end a line")
        << QByteArray("a,b\nc,d\n") << strings({"a|b\nc|d\n"});
    QTest::newRow("lone CR ends a line") << QByteArray("a,b\rc,d") << strings({"a|b", "c|d"});
    QTest::newRow("code page text")
        << QByteArray("\xE4,\x80\r\n")
        << QStringList{QString(QChar(0xE4)) + QLatin1Char('|') + QChar(0x20AC)};
}

void TestCsv::table()
{
    TestEnvironment env;
    QFETCH(QByteArray, file);
    QFETCH(QStringList, rows);
    const QString path = env.file(QStringLiteral("data.csv"));
    writeBytes(path, file);
    CKovQzCSV csv;
    QVERIFY(csv.ParseData(path, true));
    QCOMPARE(csv.NoRows(), rows.size());
    for (int i = 0; i < rows.size(); ++i) {
        const CKovQzCSVrow* row = csv.Row(i);
        QVERIFY(row);
        QStringList fields;
        for (int c = 0; c < row->NoColumns(); ++c)
            fields << row->Column(c);
        QCOMPARE(fields.join(QLatin1Char('|')), rows[i]);
    }
}

void TestCsv::textGoesThroughTempCsv()
{
    TestEnvironment env;
    CKovQzCSV csv;
    QVERIFY(csv.ParseData(QStringLiteral("a,b\r\nc,d")));
    QCOMPARE(csv.NoRows(), 2);
    QVERIFY(!QFile::exists(env.file(QStringLiteral("temp.csv"))));
    QVERIFY(!csv.ParseData(QStringLiteral("a,b\r\nc")));
    QVERIFY(!QFile::exists(env.file(QStringLiteral("temp.csv"))));
    QVERIFY(!csv.ParseData(QString()));
    QCOMPARE(csv.LastMesage(), QStringLiteral("ParseData Data is missing"));
    QVERIFY(env.traced(QStringLiteral("CKovQzCSV::ParseData Data is missing")));
}

void TestCsv::differentSizedRows()
{
    TestEnvironment env;
    CKovQzCSV csv;
    QVERIFY(csv.ParseData(QStringLiteral("x,y")));
    QVERIFY(!csv.ParseData(QStringLiteral("a,b\r\n1,2,3")));
    QCOMPARE(csv.NoRows(), 0);
    QCOMPARE(csv.LastMesage(), QStringLiteral("ParseData NoColumns inconsistent"));
    QVERIFY(!csv.bDifferentSizedRows());
    QVERIFY(csv.ParseData(QStringLiteral("a,b\r\n1,2,3"), false, true));
    QCOMPARE(csv.NoRows(), 2);
    QVERIFY(csv.bDifferentSizedRows());
    QVERIFY(!csv.SortByColumnIndex(0));
    QCOMPARE(csv.LastMesage(), QStringLiteral(" Sort Multiple Sized Rows Not Supported"));
}

void TestCsv::sortBinaryOrder()
{
    TestEnvironment env;
    CKovQzCSV csv;
    QVERIFY(csv.ParseData(QStringLiteral("b,1\r\na,2\r\n10,3\r\n9,4\r\nZ,5")));
    QCOMPARE(csv.SortedIndex(), 0);
    QVERIFY(csv.SortByColumnIndex(0));
    QStringList keys;
    for (int i = 0; i < csv.NoRows(); ++i)
        keys << csv.Row(i)->Column(0);
    QCOMPARE(keys, (strings({"10", "9", "Z", "a", "b"})));
    QVERIFY(csv.SortByColumnIndex(1));
    QCOMPARE(csv.SortedIndex(), 1);
    QCOMPARE(csv.Row(0)->Column(0), QStringLiteral("b"));
}

void TestCsv::sortRefusals_data()
{
    QTest::addColumn<QString>("data");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("message");
    QTest::newRow("nothing to sort") << "" << 0 << " Nothing to sort";
    QTest::newRow("negative index") << "a,b" << -1 << " Invalid Index: -1 max: 1";
    QTest::newRow("past the rows") << "a,b" << 2 << " Invalid Index: 2 max: 1";
}

void TestCsv::sortRefusals()
{
    TestEnvironment env;
    QFETCH(QString, data);
    QFETCH(int, index);
    QFETCH(QString, message);
    CKovQzCSV csv;
    if (!data.isEmpty())
        QVERIFY(csv.ParseData(data));
    QVERIFY(!csv.SortByColumnIndex(index));
    QCOMPARE(csv.LastMesage(), message);
    QCOMPARE(csv.SortedIndex(), 0);
}

void TestCsv::rowAndColumnsBadIndex()
{
    TestEnvironment env;
    CKovQzCSV csv;
    QCOMPARE(csv.NoRows(), 0);
    QVERIFY(csv.ParseData(QStringLiteral("a,b,c")));
    QVERIFY(csv.Row(-1) == nullptr);
    QVERIFY(env.traced(QStringLiteral("CKovQzCSV::Row GET Bad Index -1")));
    QCOMPARE(csv.NoColumns(3), 0);
    QVERIFY(env.traced(QStringLiteral("CKovQzCSV::NoColumns Get bad Index 3")));
    QCOMPARE(csv.NoColumns(0), 3);
    // An index that is within the rows but past the fields sorts on empty keys: no change.
    QVERIFY(csv.SortByColumnIndex(1));
}

void TestCsv::missingFileFails()
{
    TestEnvironment env;
    CKovQzCSV csv;
    QVERIFY(!csv.ParseData(env.file(QStringLiteral("nope.csv")), true));
    QVERIFY(csv.LastMesage().startsWith(QLatin1String("ParseData FAILED ")));
    QVERIFY(!csv.ParseData(QStringLiteral("\"open"))); // a row without fields
    QVERIFY(csv.LastMesage().startsWith(QLatin1String("ParseData FAILED ")));
}

QTEST_GUILESS_MAIN(TestCsv)
#include "tst_csv.moc"
