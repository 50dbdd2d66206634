// Utilities every layer leans on: URL encoding in the code page, safe file names, numbers read
// from the front of a text, the random shift of the update timer, and the program folder.
#include "foundation/codepage.h"
#include "foundation/filewriters.h"
#include "foundation/numbertext.h"
#include "foundation/programfolder.h"
#include "foundation/randomnumber.h"
#include "foundation/texttools.h"
#include "testbasics.h"

class TestKovVb : public QObject
{
    Q_OBJECT
    using Names = Columns<QString, QString, bool, bool, QString>;

private slots:
    void urlEncode_data()
    {
        Columns<QString, QString>::add();
        QTest::newRow("blank and full stop") << u"a b.c"_s << u"a%20b%2Ec"_s;
        QTest::newRow("safe characters") << u"Az09-_"_s << u"Az09-_"_s;
        QTest::newRow("line end, base64 signs") << u"\r\n+/=~*"_s << u"%0D%0A%2B%2F%3D%7E%2A"_s;
        QTest::newRow("a umlaut") << u"\u00E4"_s << u"%E4"_s;
        QTest::newRow("euro sign") << u"\u20AC"_s << u"%80"_s;
        QTest::newRow("outside the code page") << u"\u4E2D"_s << u"%3F"_s;
    }
    void urlEncode()
    {
        const auto [text, expected] = Columns<QString, QString>::fetch();
        QCOMPARE(kov::urlEncode(text), expected);
    }
    void safeFileName_data()
    {
        Names::add(); // name, extension, blanks to underscores, name only; the result
        const QString film = u"Film: Teil 1/2"_s;
        QTest::newRow("all") << film << u"txt"_s << true << true << u"Film__Teil_1_2.txt"_s;
        QTest::newRow("path") << film << u"txt"_s << true << false << u"Film:_Teil_1_2.txt"_s;
        QTest::newRow("one dot") << u"a.b.txt"_s << QString() << false << false << u"a_b.txt"_s;
        QTest::newRow("backslash") << u"C:\\dir\\a b"_s << QString() << true << true << u"a_b"_s;
        QTest::newRow("NUL") << u"ab\0cd"_s << u".txt"_s << true << true << u"ab.txt"_s;
        QTest::newRow("cut to 215")
            << QString(300, u'n') << u"txt"_s << true << true << QString(215, u'n') + u".txt"_s;
    }
    void safeFileName()
    {
        const auto [name, extension, spaces, nameOnly, expected] = Names::fetch();
        QCOMPARE(kov::safeFileName(
                     name, extension, spaces ? kov::Blanks::ToUnderscores : kov::Blanks::Keep,
                     nameOnly ? kov::NamePart::AfterLastBackslash : kov::NamePart::Whole),
                 expected);
    }
    void leadingNumber_data()
    {
        Columns<QString, double, bool, qint32, bool>::add(); // text, number, ok, long, in range
        QTest::newRow("digits and text") << u" 12abc"_s << 12.0 << true << 12 << true;
        QTest::newRow("negative") << u"-7,"_s << -7.0 << true << -7 << true;
        QTest::newRow("plus sign") << u"+42"_s << 42.0 << true << 42 << true;
        QTest::newRow("half rounds to even") << u"2.5"_s << 2.5 << true << 2 << true;
        QTest::newRow("fraction only") << u".75x"_s << 0.75 << true << 1 << true;
        QTest::newRow("point, no fraction") << u"3."_s << 3.0 << true << 3 << true;
        QTest::newRow("exponent") << u"1e3"_s << 1000.0 << true << 1000 << true;
        QTest::newRow("e without digits") << u"5e"_s << 5.0 << true << 5 << true;
        QTest::newRow("largest long")
            << u"2147483647"_s << 2147483647.0 << true << 2147483647 << true;
        QTest::newRow("past the long") << u"2147483648"_s << 2147483648.0 << true << 0 << false;
        QTest::newRow("sixteen digits")
            << u"1234567890123456"_s << 1234567890123456.0 << true << 0 << false;
        QTest::newRow("no digits") << u"-x"_s << 0.0 << false << 0 << true;
        QTest::newRow("arabic-indic digit") << u"\u0663"_s << 0.0 << false << 0 << true;
    }
    void leadingNumber()
    {
        const auto [text, number, ok, whole, inRange] =
            Columns<QString, double, bool, qint32, bool>::fetch();
        bool read = !ok;
        QCOMPARE(kov::leadingNumber(text, &read), number);
        QCOMPARE(read, ok);
        bool fits = !inRange;
        QCOMPARE(kov::leadingLong(text, &fits), whole);
        QCOMPARE(fits, inRange);
    }
    // Windows-1252 both ways: the Latin-1 ranges as themselves, 0x80..0x9F through the table
    // (its five unassigned bytes as the C1 character of the same value), the rest as "?".
    void codePage_data()
    {
        Columns<QString, QByteArray>::add();
        QTest::newRow("ASCII edge") << u"\u007F"_s << QByteArray("\x7F");
        QTest::newRow("euro") << u"\u20AC"_s << QByteArray("\x80");
        QTest::newRow("unassigned") << u"\u0081\u009D"_s << QByteArray("\x81\x9D");
        QTest::newRow("Latin-1 edges") << u"\u00A0\u00FF"_s << QByteArray("\xA0\xFF");
        QTest::newRow("last of the table") << u"\u0178"_s << QByteArray("\x9F");
    }
    void codePage()
    {
        const auto [text, bytes] = Columns<QString, QByteArray>::fetch();
        QCOMPARE(kov::toCodePage(text), bytes);
        QCOMPARE(kov::fromCodePage(bytes), text);
    }
    void codePageHasNoRoomFor()
    {
        QCOMPARE(kov::toCodePage(u"\u0100\u0080\u4E2D"_s), QByteArray("???"));
    }
    void randomBetweenHitsEveryValue()
    {
        QSet<qint32> seen;
        for (int i = 0; i < 20000; ++i)
            seen.insert(kov::randomBetween(-15, 15));
        QCOMPARE(seen.size(), 31);
        QVERIFY(seen.contains(-15) && seen.contains(15));
    }
    void programFolderFollowsItsSources()
    {
        // The folder is resolved once, but --home (the override) and KOVFERRIT_HOME still
        // count the moment they change; a missing folder is made.
        QTemporaryDir root;
        const QString a = root.filePath(u"a"_s), b = root.filePath(u"b"_s);
        qputenv("KOVFERRIT_HOME", a.toLocal8Bit());
        QCOMPARE(kov::programFolder(), a);
        QVERIFY(QFileInfo(a).isDir());
        qputenv("KOVFERRIT_HOME", b.toLocal8Bit());
        QCOMPARE(kov::programFile(u"x"_s), b + u"/x"_s);
        kov::setProgramFolder(a);
        QCOMPARE(kov::programFolder(), a);
        kov::setProgramFolder(QString());
        qunsetenv("KOVFERRIT_HOME");
        // This test binary lies in the build tree but outside its output folder.
        qputenv("XDG_DATA_HOME", root.filePath(u"data"_s).toLocal8Bit());
        QCOMPARE(kov::programFolder(), root.filePath(u"data/KovFerrit"_s));
        qunsetenv("XDG_DATA_HOME");
    }
    void defaultProgramFolder_data()
    {
        Columns<QString, bool>::add();
        QTest::newRow("the build's output folder") << u"build"_s << true;
        QTest::newRow("installed, even when writable") << u"installed"_s << false;
        QTest::newRow("a file named portable beside it") << u"portable"_s << true;
        QTest::newRow("a folder named portable beside it") << u"portable/"_s << false;
    }
    void defaultProgramFolder()
    {
        const auto [where, own] = Columns<QString, bool>::fetch();
        QTemporaryDir root;
        QString exeDir = root.filePath(u"bin"_s);
        QDir().mkpath(exeDir);
        if (where == u"build"_s)
            exeDir = QFileInfo(qEnvironmentVariable("KOVFERRIT_CLI")).absolutePath();
        else if (where == u"portable"_s)
            QVERIFY(kov::writeTextFile(exeDir + u"/portable"_s, QString()));
        else if (where == u"portable/"_s)
            QVERIFY(QDir().mkpath(exeDir + u"/portable"_s));
        qputenv("XDG_DATA_HOME", root.filePath(u"data"_s).toLocal8Bit());
        QCOMPARE(kov::defaultProgramFolder(exeDir),
                 own ? exeDir : root.filePath(u"data/KovFerrit"_s));
        qunsetenv("XDG_DATA_HOME");
    }
};

QTEST_GUILESS_MAIN(TestKovVb)
#include "tst_foundation.moc"
