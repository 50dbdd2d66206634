// Message translation: "strings.dat" lists English texts, "KovFerritStrings.dat" their
// translations line by line; both are read once per run. A user whose program folder holds
// neither file gets the pair shipped for their language, which the build writes from its .po.
#include "foundation/translate.h"
#include "testsupport.h"

#include <QDir>
#include <QLocale>

class TestTranslate : public EnvironmentTest
{
    Q_OBJECT
    using Cases = Columns<QString, QByteArray, QByteArray, QString, QString>;

private slots:
    void translate_data()
    {
        // The user's locale, the two files ("-": none), texts asked and answered, "|" between.
        Cases::add();
        QTest::newRow("no files") << u"C"_s << QByteArray("-") << QByteArray("-") << u"OK"_s
                                  << u"OK"_s;
        QTest::newRow("empty translations")
            << u"en_US"_s << QByteArray("OK\r\n") << QByteArray() << u"OK"_s << u"OK"_s;
        QTest::newRow("exact text only")
            << u"en_US"_s << QByteArray("OK\r\nStatus\r\n") << QByteArray("Gut\r\nZustand\r\n")
            << u"OK|ok|Status |Status:|Status"_s << u"Gut|ok|Status |Status:|Zustand"_s;
        QTest::newRow("first match wins")
            << u"en_US"_s << QByteArray("a\r\nSync\r\nb\r\nSync\r\n")
            << QByteArray("1\r\nAbgleich\r\n3\r\n4\r\n") << u"Sync"_s << u"Abgleich"_s;
        // Lists of different length leave the loading call untranslated.
        QTest::newRow("different lengths")
            << u"en_US"_s << QByteArray("One\r\nTwo\r\nThree\r\n") << QByteArray("Eins\r\nZwei\r\n")
            << u"One|One|Two|Three"_s << u"One|Eins|Zwei|Three"_s;
        QTest::newRow("code page, NUL, lone CR")
            << u"C"_s << QByteArray("Exit\0junk\r\nLone\rCR\r\n", 20)
            << QByteArray("Beenden\r\nAllein\r\nWagen\xE4\r\n") << u"Exit|CR"_s
            << u"Beenden|Wagen\u00E4"_s;
        // The shipped German pair, for German in any country; its code page and quotes.
        QTest::newRow("German, no own files")
            << u"de_AT"_s << QByteArray("-") << QByteArray("-")
            << u"Sync|E&xit|Then click 'Sync' to begin.|Sync |unlisted"_s
            << u"Abgleichen|&Beenden|dann auf \u201EAbgleichen\u201C klicken.|Sync |unlisted"_s;
        QTest::newRow("German, own files win")
            << u"de_DE"_s << QByteArray("OK\r\n") << QByteArray("Okay\r\n") << u"OK|Sync"_s
            << u"Okay|Sync"_s;
        QTest::newRow("German, one own file")
            << u"de_DE"_s << QByteArray("-") << QByteArray("Okay\r\n") << u"OK|Sync"_s
            << u"OK|Sync"_s;
        QTest::newRow("no shipped language")
            << u"fr_FR"_s << QByteArray("-") << QByteArray("-") << u"Sync|OK"_s << u"Sync|OK"_s;
    }
    void translate()
    {
        const auto [locale, english, translation, asked, answered] = Cases::fetch();
        QLocale::setDefault(QLocale(locale)); // every row names its own
        if (english != "-")
            writeBytes(env->file(u"strings.dat"_s), english);
        if (translation != "-")
            writeBytes(env->file(u"KovFerritStrings.dat"_s), translation);
        QStringList got;
        for (const QString& text : asked.split(u'|'))
            got << kov::translate(text);
        QCOMPARE(got.join(u'|'), answered);
        writeBytes(env->file(u"strings.dat"_s), "OK\r\n"); // files are read once per run
        writeBytes(env->file(u"KovFerritStrings.dat"_s), "Neu\r\n");
        QVERIFY(kov::translate(u"OK"_s) != u"Neu"_s);
    }

    void languageFolder_data()
    {
        // The user's languages as QLocale lists them, and the folder picked ("" for none).
        // Shipped: de, pt_BR, pt, and fr with only one of its two files.
        Columns<QString, QString>::add();
        QTest::newRow("country falls back to language") << u"de-AT|de"_s << u"de"_s;
        QTest::newRow("country before language") << u"pt-BR|pt"_s << u"pt_BR"_s;
        QTest::newRow("other country of a language") << u"pt-PT"_s << u"pt"_s;
        QTest::newRow("first language that has a pair") << u"it-IT|fr-FR|de-CH"_s << u"de"_s;
        QTest::newRow("English is the source") << u"en-US|en"_s << QString();
        QTest::newRow("no languages") << QString() << QString();
    }
    void languageFolder()
    {
        const auto [languages, expected] = Columns<QString, QString>::fetch();
        const QString base = env->file(u"translations"_s);
        for (const QString& name : {u"de"_s, u"pt_BR"_s, u"pt"_s, u"fr"_s}) {
            QVERIFY(QDir().mkpath(base + u'/' + name));
            writeBytes(base + u'/' + name + u"/strings.dat"_s, "OK\r\n");
            if (name != u"fr"_s)
                writeBytes(base + u'/' + name + u"/KovFerritStrings.dat"_s, "Oui\r\n");
        }
        const QString got = kov::languageFolder(base, languages.split(u'|', Qt::SkipEmptyParts));
        QCOMPARE(got, expected.isEmpty() ? QString() : base + u'/' + expected);
    }
};

QTEST_GUILESS_MAIN(TestTranslate)
#include "tst_translate.moc"
