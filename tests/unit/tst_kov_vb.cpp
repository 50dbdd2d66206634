// Part 5.1: logging and utilities.
#include "foundation/kov_vb.h"
#include "testsupport.h"

#include <QtTest>

class TestKovVb : public QObject
{
    Q_OBJECT
private slots:
    void urlEncode_data();
    void urlEncode();
    void urlEncodeEmptyReports();
    void safeFileName_data();
    void safeFileName();
    void safeFileNameLongName();
    void stripNull_data();
    void stripNull();
    void fileExists();
    void randomBetween_data();
    void randomBetween();
    void randomCoversRange();
    void debugMessageShowsBoxOnlyWhenAsked();
    void apiFailed();
    void leadingNumber_data();
    void leadingNumber();
    void roundHalfEven_data();
    void roundHalfEven();
    void runAndWait();
    void conversions();
    void smallUtilities();
};

void TestKovVb::urlEncode_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("blank and full stop") << "a b.c"
                                         << "a%20b%2Ec";
    QTest::newRow("safe characters unchanged") << "Az09-_"
                                               << "Az09-_";
    QTest::newRow("carriage return") << "\r"
                                     << "%0D";
    QTest::newRow("line feed") << "\n"
                               << "%0A";
    QTest::newRow("base64 padding") << "ab+/=="
                                    << "ab%2B%2F%3D%3D";
    QTest::newRow("tilde and star escaped") << "~*"
                                            << "%7E%2A";
    QTest::newRow("a umlaut in the code page") << QString(QChar(0xE4)) << "%E4";
    QTest::newRow("euro sign in the code page") << QString(QChar(0x20AC)) << "%80";
    QTest::newRow("outside the code page") << QString(QChar(0x4E2D)) << "%3F";
}

void TestKovVb::urlEncode()
{
    TestEnvironment env;
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(kov_URLEncode(text), expected);
}

void TestKovVb::urlEncodeEmptyReports()
{
    TestEnvironment env;
    QCOMPARE(kov_URLEncode(QString()), QString());
    QVERIFY(env.traced(QStringLiteral("kov_URLEncode Sting is empty")));
    QVERIFY(env.ui.boxes.isEmpty());
}

void TestKovVb::safeFileName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<bool>("replaceIllegal");
    QTest::addColumn<bool>("spaces");
    QTest::addColumn<bool>("nameOnly");
    QTest::addColumn<QString>("expected");
    QTest::newRow("all options") << "Film: Teil 1/2"
                                 << "txt" << true << true << true << "Film__Teil_1_2.txt";
    QTest::newRow("colon stays without FileNameOnly")
        << "Film: Teil 1/2"
        << "txt" << true << true << false << "Film:_Teil_1_2.txt";
    QTest::newRow("only the extension dot stays") << "a.b.txt"
                                                  << "" << true << false << false << "a_b.txt";
    QTest::newRow("path cut at last backslash") << "C:\\dir\\name x"
                                                << "" << true << true << true << "name_x";
    QTest::newRow("backslash kept in a full path")
        << "C:\\dir\\a?b"
        << "" << true << false << false << "C:\\dir\\a_b";
    QTest::newRow("extension with its own dot") << "x"
                                                << ".dat" << false << false << false << "x.dat";
    QTest::newRow("empty name") << ""
                                << "txt" << true << true << true << "";
    QTest::newRow("nothing replaced when off") << "a b?.c"
                                               << "" << false << false << false << "a b?.c";
    QTest::newRow("cut at NUL") << QStringLiteral("ab") + QChar(0) + QStringLiteral("cd") << "txt"
                                << true << true << true << "ab.txt";
}

void TestKovVb::safeFileName()
{
    TestEnvironment env;
    QFETCH(QString, name);
    QFETCH(QString, extension);
    QFETCH(bool, replaceIllegal);
    QFETCH(bool, spaces);
    QFETCH(bool, nameOnly);
    QFETCH(QString, expected);
    QCOMPARE(kov_SafeFileName(name, extension, replaceIllegal, spaces, nameOnly), expected);
}

void TestKovVb::safeFileNameLongName()
{
    TestEnvironment env;
    const QString name(300, QLatin1Char('n'));
    QCOMPARE(kov_SafeFileName(name, QString(), true, true, true).size(), 215);
    const QString withExtension = kov_SafeFileName(name, QStringLiteral("txt"), true, true, true);
    QCOMPARE(withExtension.size(), 215 + 4);
    QVERIFY(withExtension.endsWith(QLatin1String(".txt")));
}

void TestKovVb::stripNull_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("cut at NUL") << QStringLiteral("abc") + QChar(0) + QStringLiteral("def")
                                << "abc";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("no NUL") << "abc"
                            << "abc";
    QTest::newRow("leading NUL") << QString(QChar(0)) + QStringLiteral("x") << "";
}

void TestKovVb::stripNull()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(kov_StripNull(text), expected);
}

void TestKovVb::fileExists()
{
    TestEnvironment env;
    writeBytes(env.file(QStringLiteral("empty.txt")), QByteArray());
    writeBytes(env.file(QStringLiteral("full.txt")), QByteArray("x"));
    QVERIFY(!kov_FileExists(env.file(QStringLiteral("empty.txt"))));
    QVERIFY(kov_FileExists(env.file(QStringLiteral("full.txt"))));
    QVERIFY(!kov_FileExists(env.file(QStringLiteral("missing.txt"))));
    QVERIFY(!kov_FileExists(env.folder()));
    QVERIFY(!kov_FileExists(QString()));
}

void TestKovVb::randomBetween_data()
{
    QTest::addColumn<int>("low");
    QTest::addColumn<int>("high");
    QTest::newRow("update timer shift") << -15 << 15;
    QTest::newRow("single value") << 5 << 5;
    QTest::newRow("zero to one") << 0 << 1;
}

void TestKovVb::randomBetween()
{
    QFETCH(int, low);
    QFETCH(int, high);
    for (int i = 0; i < 5000; ++i) {
        const qint32 r = kov_RandomBetween(low, high);
        QVERIFY2(r >= low && r <= high, qPrintable(QString::number(r)));
    }
}

void TestKovVb::randomCoversRange()
{
    // The seed mixing must not collapse onto a few values: every shift of the timer occurs.
    QSet<qint32> seen;
    for (int i = 0; i < 20000; ++i)
        seen.insert(kov_RandomBetween(-15, 15));
    QCOMPARE(seen.size(), 31);
}

void TestKovVb::debugMessageShowsBoxOnlyWhenAsked()
{
    TestEnvironment env;
    QCOMPARE(kov_DebugMessage(QStringLiteral("quiet"), false, 7), 7);
    QVERIFY(env.ui.boxes.isEmpty());
    QVERIFY(env.traced(QStringLiteral("quiet")));
    kov_DebugMessage(QStringLiteral("loud"), true, 0, QString(), 64);
    QCOMPARE(env.ui.boxes.size(), 1);
    QCOMPARE(env.ui.boxes[0].text, QStringLiteral("loud"));
    QCOMPARE(env.ui.boxes[0].caption, QStringLiteral("KovFerrit"));
    QCOMPARE(env.ui.boxes[0].style, 64);
    kov_ClassMessage("CKovReg", QStringLiteral("x"));
    QVERIFY(env.traced(QStringLiteral("CKovReg::x")));
}

void TestKovVb::apiFailed()
{
    TestEnvironment env;
    QVERIFY(!kov_ApiFailed(0, QStringLiteral("Call")));
    QVERIFY(env.trace.isEmpty());
    QVERIFY(kov_ApiFailed(5, QStringLiteral("RegOpenKeyEx"), true));
    QVERIFY(env.traced(QStringLiteral("RegOpenKeyEx FAILED : 5")));
    QVERIFY(env.ui.boxes.isEmpty()); // a box only inside the development environment
    QVERIFY(kov_ApiOk(0, QStringLiteral("Call")));
    QVERIFY(!kov_ApiOk(2, QStringLiteral("Call")));
}

void TestKovVb::leadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("digits then letters") << "12abc" << 12.0;
    QTest::newRow("letters") << "abc" << 0.0;
    QTest::newRow("decimal") << "2.5" << 2.5;
    QTest::newRow("leading blanks and sign") << "  -3.5x" << -3.5;
    QTest::newRow("exponent") << "1e3z" << 1000.0;
    QTest::newRow("lonely exponent letter") << "7e" << 7.0;
    QTest::newRow("empty") << "" << 0.0;
}

void TestKovVb::leadingNumber()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(kov_LeadingNumber(text), expected);
}

void TestKovVb::roundHalfEven_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("2.5 to 2") << 2.5 << 2;
    QTest::newRow("3.5 to 4") << 3.5 << 4;
    QTest::newRow("-2.5 to -2") << -2.5 << -2;
    QTest::newRow("2.6 to 3") << 2.6 << 3;
}

void TestKovVb::roundHalfEven()
{
    QFETCH(double, value);
    QFETCH(int, expected);
    bool ok = false;
    QCOMPARE(kov_RoundHalfEven(value, &ok), expected);
    QVERIFY(ok);
    kov_RoundHalfEven(3e10, &ok);
    QVERIFY(!ok);
}

void TestKovVb::runAndWait()
{
    QCOMPARE(kov_RunAndWait(QStringLiteral("sh -c \"exit 3\"")), 3);
    QCOMPARE(kov_RunAndWait(QStringLiteral("/nonexistent/program")), -1);
}

void TestKovVb::conversions()
{
    QCOMPARE(kov_LeadingLong(QStringLiteral("3.5x")), 4);
    QCOMPARE(kov_LeadingLongOrThrow(QStringLiteral("12abc")), 12);
    QVERIFY_THROWS_EXCEPTION(std::overflow_error, kov_LeadingLongOrThrow(QStringLiteral("1e12")));
    QCOMPARE(kov_CLng(QStringLiteral(" 2.5 ")), 2);
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, kov_CLng(QStringLiteral("12abc")));
    QVERIFY_THROWS_EXCEPTION(std::overflow_error, kov_CLng(QStringLiteral("3e10")));
}

void TestKovVb::smallUtilities()
{
    TestEnvironment env;
    QCOMPARE(kov_LowerCase(QStringLiteral("AbC") + QChar(0xC4)),
             QStringLiteral("abc") + QChar(0xE4));
    const QList<int> source{3, 1, 2};
    QCOMPARE(kov_ToVariantArray(source), source);
    QCOMPARE(kov_IdeMessage(QStringLiteral("only in the IDE"), 5), 5);
    QVERIFY(env.ui.boxes.isEmpty()); // the product never runs inside its IDE
    QVERIFY(!kov_InDevelopment());
    QVERIFY(kov_IsUrlSafe(QLatin1Char('_')) && !kov_IsUrlSafe(QLatin1Char('.')));
}

QTEST_GUILESS_MAIN(TestKovVb)
#include "tst_kov_vb.moc"
