// CSV rows split by the program's own quoting rule, and tables read from a file or text,
// checked for equal row widths and sorted in binary order.
#include "foundation/csvrow.h"
#include "foundation/csvtable.h"
#include "testsupport.h"

namespace {
QStringList rowsOf(CsvTable& csv)
{
    QStringList rows; // fields joined by "|"
    for (int i = 0; i < csv.rowCount(); ++i) {
        QStringList fields;
        for (int c = 0; c < csv.row(i)->columnCount(); ++c)
            fields << csv.row(i)->column(c);
        rows << fields.join(u'|');
    }
    return rows;
}
} // namespace

class TestCsv : public EnvironmentTest
{
    Q_OBJECT
private slots:
    void split_data()
    {
        Columns<QString, QString>::add(); // the line, its fields joined by "|" ("-": refused)
        QTest::newRow("empty fields") << u"a,,c,"_s << u"a||c|"_s;
        QTest::newRow("comma in quotes") << u"a,\"b,c\",d"_s << u"a|b,c|d"_s;
        QTest::newRow("quotes anywhere") << u"x\"y\"z"_s << u"xyz"_s;
        QTest::newRow("doubled quotes vanish") << u"\"a\"\"b\",c"_s << u"ab|c"_s;
        QTest::newRow("blanks kept") << u" a , b "_s << u" a | b "_s;
        QTest::newRow("open quote drops its field") << u"a,\"b"_s << u"a"_s;
        QTest::newRow("open quote alone") << u"\"b"_s << u"-"_s;
        QTest::newRow("empty") << u""_s << u"-"_s;
    }
    void split()
    {
        const auto [line, fields] = Columns<QString, QString>::fetch();
        CsvRow row;
        QVERIFY(row.setText(u"x,y"_s));
        QCOMPARE(row.setText(line), fields != u"-"_s);
        if (fields == u"-"_s) {
            QCOMPARE(row.text(), u"x,y"_s); // a refused line leaves the row as it was
            return;
        }
        QStringList got;
        for (int i = 0; i < row.columnCount(); ++i)
            got << row.column(i);
        QCOMPARE(got.join(u'|'), fields);
        QCOMPARE(row.column(row.columnCount()), QString());
    }
    void table_data()
    {
        Columns<QByteArray, QStringList>::add(); // the file, its rows (none: refused)
        QTest::newRow("empty lines skipped") << QByteArray("\r\nH1,H2\r\n1,2\r\n\r\n3,4\r\n")
                                             << QStringList{u"H1|H2"_s, u"1|2"_s, u"3|4"_s};
        QTest::newRow("LF alone stays in the line")
            << QByteArray("a,b\nc,d\n") << QStringList{u"a|b\nc|d\n"_s};
        QTest::newRow("lone CR ends a line")
            << QByteArray("a,b\rc,d") << QStringList{u"a|b"_s, u"c|d"_s};
        QTest::newRow("code page text")
            << QByteArray("\xE4,\x80\r\n") << QStringList{u"\u00E4|\u20AC"_s};
        QTest::newRow("a shorter row") << QByteArray("a,b\r\nc\r\n") << QStringList();
        QTest::newRow("a longer row") << QByteArray("a,b\r\n1,2,3\r\n") << QStringList();
    }
    void table()
    {
        const auto [file, rows] = Columns<QByteArray, QStringList>::fetch();
        const QString path = env->file(u"data.csv"_s);
        writeBytes(path, file);
        CsvTable csv;
        QCOMPARE(csv.parse(path, true), !rows.isEmpty());
        QCOMPARE(rowsOf(csv), rows);
        if (rows.isEmpty()) {
            QCOMPARE(csv.lastMessage(), u"ParseData NoColumns inconsistent"_s);
            QVERIFY(csv.parse(path, true, true)); // unless different widths are allowed
            QVERIFY(csv.hasRaggedRows());
            QVERIFY(!csv.sortByColumn(0));
        }
    }
    void sortInBinaryOrder()
    {
        CsvTable csv;
        QVERIFY(csv.parse(u"b,1\r\na,3\r\nb,2\r\n10,4\r\n9,5\r\nZ,6"_s));
        QVERIFY(csv.sortByColumn(0)); // equal keys keep their order
        QCOMPARE(rowsOf(csv),
                 (QStringList{u"10|4"_s, u"9|5"_s, u"Z|6"_s, u"a|3"_s, u"b|1"_s, u"b|2"_s}));
        QVERIFY(csv.sortByColumn(1));
        QCOMPARE(csv.sortedColumn(), 1);
        QCOMPARE(csv.row(0)->column(0), u"b"_s);
    }
};

QTEST_GUILESS_MAIN(TestCsv)
#include "tst_csv.moc"
