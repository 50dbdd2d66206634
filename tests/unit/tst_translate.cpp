// Part 4.4: message translation through "strings.dat" and "KovFerritStrings.dat".
#include "foundation/translate.h"
#include "testsupport.h"

#include <QtTest>

class TestTranslate : public QObject
{
    Q_OBJECT
private slots:
    void noFiles();
    void onlyEnglishFile();
    void emptyTranslationFileCountsAsMissing();
    void differentLengths();
    void firstMatchWins();
    void caseAndPunctuationMatter_data();
    void caseAndPunctuationMatter();
    void emptyTextMatchesEmptyLine();
    void loadedOncePerRun();
    void codePageAndNul();
};

namespace {
void writeFiles(const TestEnvironment& env, const QByteArray& english,
                const QByteArray& translation)
{
    writeBytes(env.file(QStringLiteral("strings.dat")), english);
    writeBytes(env.file(QStringLiteral("KovFerritStrings.dat")), translation);
}
} // namespace

void TestTranslate::noFiles()
{
    TestEnvironment env;
    QCOMPARE(Translate(QStringLiteral("New Data Received")), QStringLiteral("New Data Received"));
    QCOMPARE(Translate(QStringLiteral("OK")), QStringLiteral("OK"));
}

void TestTranslate::onlyEnglishFile()
{
    TestEnvironment env;
    writeBytes(env.file(QStringLiteral("strings.dat")), "OK\r\n");
    QCOMPARE(Translate(QStringLiteral("OK")), QStringLiteral("OK"));
}

void TestTranslate::emptyTranslationFileCountsAsMissing()
{
    TestEnvironment env;
    writeFiles(env, "OK\r\n", "");
    QCOMPARE(Translate(QStringLiteral("OK")), QStringLiteral("OK"));
}

void TestTranslate::differentLengths()
{
    TestEnvironment env;
    writeFiles(env, "One\r\nTwo\r\nThree\r\n", "Eins\r\nZwei\r\n");
    QCOMPARE(Translate(QStringLiteral("One")), QStringLiteral("One")); // the loading call
    QCOMPARE(Translate(QStringLiteral("One")), QStringLiteral("Eins"));
    QCOMPARE(Translate(QStringLiteral("Two")), QStringLiteral("Zwei"));
    QCOMPARE(Translate(QStringLiteral("Three")), QStringLiteral("Three"));
}

void TestTranslate::firstMatchWins()
{
    TestEnvironment env;
    writeFiles(env, "a\r\nb\r\nc\r\nd\r\nSync\r\ne\r\nf\r\ng\r\nh\r\nSync\r\n",
               "1\r\n2\r\n3\r\n4\r\nAbgleich\r\n6\r\n7\r\n8\r\n9\r\nSpaeter\r\n");
    QCOMPARE(Translate(QStringLiteral("Sync")), QStringLiteral("Abgleich"));
}

void TestTranslate::caseAndPunctuationMatter_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("exact") << "OK"
                           << "Gut";
    QTest::newRow("other case") << "ok"
                                << "ok";
    QTest::newRow("trailing space") << "Status "
                                    << "Status ";
    QTest::newRow("other punctuation") << "Status:"
                                       << "Status:";
    QTest::newRow("listed") << "Status"
                            << "Zustand";
}

void TestTranslate::caseAndPunctuationMatter()
{
    TestEnvironment env;
    writeFiles(env, "OK\r\nStatus\r\n", "Gut\r\nZustand\r\n");
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(Translate(text), expected);
}

void TestTranslate::emptyTextMatchesEmptyLine()
{
    TestEnvironment env;
    writeFiles(env, "OK\r\n\r\nSync\r\n", "Gut\r\nLEER\r\nAbgleich\r\n");
    QCOMPARE(Translate(QString()), QStringLiteral("LEER"));
}

void TestTranslate::loadedOncePerRun()
{
    TestEnvironment env;
    QCOMPARE(Translate(QStringLiteral("OK")), QStringLiteral("OK"));
    writeFiles(env, "OK\r\n", "Gut\r\n"); // files that appear later have no effect
    QCOMPARE(Translate(QStringLiteral("OK")), QStringLiteral("OK"));
}

void TestTranslate::codePageAndNul()
{
    TestEnvironment env;
    writeFiles(env, QByteArray("Exit\0junk\r\nLone\rCR\r\n", 20),
               "Beenden\r\nAllein\r\nWagen\xE4\r\n");
    QCOMPARE(Translate(QStringLiteral("Exit")), QStringLiteral("Beenden"));
    QCOMPARE(Translate(QStringLiteral("CR")), QStringLiteral("Wagen") + QChar(0xE4));
}

QTEST_GUILESS_MAIN(TestTranslate)
#include "tst_translate.moc"
