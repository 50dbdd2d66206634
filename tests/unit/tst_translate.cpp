// Message translation: "strings.dat" lists English texts, "KovFerritStrings.dat" their
// translations line by line; both are read once per run.
#include "foundation/translate.h"
#include "testsupport.h"

class TestTranslate : public EnvironmentTest
{
    Q_OBJECT
    using Cases = Columns<QByteArray, QByteArray, QString, QString>;

private slots:
    void translate_data()
    {
        Cases::add(); // the two files ("-": none), texts asked and answered in turn, "|" between
        QTest::newRow("no files") << QByteArray("-") << QByteArray("-") << u"OK"_s << u"OK"_s;
        QTest::newRow("empty translations")
            << QByteArray("OK\r\n") << QByteArray() << u"OK"_s << u"OK"_s;
        QTest::newRow("exact text only")
            << QByteArray("OK\r\nStatus\r\n") << QByteArray("Gut\r\nZustand\r\n")
            << u"OK|ok|Status |Status:|Status"_s << u"Gut|ok|Status |Status:|Zustand"_s;
        QTest::newRow("first match wins")
            << QByteArray("a\r\nSync\r\nb\r\nSync\r\n") << QByteArray("1\r\nAbgleich\r\n3\r\n4\r\n")
            << u"Sync"_s << u"Abgleich"_s;
        // Lists of different length leave the loading call untranslated.
        QTest::newRow("different lengths")
            << QByteArray("One\r\nTwo\r\nThree\r\n") << QByteArray("Eins\r\nZwei\r\n")
            << u"One|One|Two|Three"_s << u"One|Eins|Zwei|Three"_s;
        QTest::newRow("code page, NUL, lone CR") << QByteArray("Exit\0junk\r\nLone\rCR\r\n", 20)
                                                 << QByteArray("Beenden\r\nAllein\r\nWagen\xE4\r\n")
                                                 << u"Exit|CR"_s << u"Beenden|Wagen\u00E4"_s;
    }
    void translate()
    {
        const auto [english, translation, asked, answered] = Cases::fetch();
        if (english != "-")
            writeBytes(env->file(u"strings.dat"_s), english);
        if (translation != "-")
            writeBytes(env->file(u"KovFerritStrings.dat"_s), translation);
        QStringList got;
        for (const QString& text : asked.split(u'|'))
            got << Translate(text);
        QCOMPARE(got.join(u'|'), answered);
        writeBytes(env->file(u"strings.dat"_s), "OK\r\n"); // files are read once per run
        writeBytes(env->file(u"KovFerritStrings.dat"_s), "Neu\r\n");
        QVERIFY(Translate(u"OK"_s) != u"Neu"_s);
    }
};

QTEST_GUILESS_MAIN(TestTranslate)
#include "tst_translate.moc"
