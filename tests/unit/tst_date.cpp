// Date-time texts: the locale's short date with a four-digit year and HH:mm:ss, the date alone
// at midnight; what is written reads back in every locale.
#include "foundation/datetext.h"
#include "testbasics.h"

class TestDate : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void write_data()
    {
        Columns<QString, QDateTime, QString>::add(); // locale, value, text (empty: any that reads)
        const QDateTime evening(QDate(2006, 5, 12), QTime(20, 15, 7));
        const QDateTime midnight(QDate(2006, 5, 12), QTime(0, 0));
        QTest::newRow("en_US midnight") << u"en_US"_s << midnight << u"5/12/2006"_s;
        QTest::newRow("en_US evening") << u"en_US"_s << evening << u"5/12/2006 20:15:07"_s;
        QTest::newRow("de_DE midnight") << u"de_DE"_s << midnight << u"12.05.2006"_s;
        QTest::newRow("fr_FR") << u"fr_FR"_s << evening << QString();
        QTest::newRow("ja_JP, 1776")
            << u"ja_JP"_s << QDateTime(QDate(1776, 7, 4), QTime(1, 2, 3)) << QString();
    }
    void write()
    {
        const auto [locale, value, text] = Columns<QString, QDateTime, QString>::fetch();
        QLocale::setDefault(QLocale(locale));
        const QString written = kov::dateText(value);
        QVERIFY2(text.isEmpty() ? written.contains(QString::number(value.date().year()))
                                : written == text,
                 qPrintable(written));
        bool ok = false;
        QCOMPARE(kov::parseDate(written, &ok), value);
        QVERIFY(ok);
    }
    void writtenAsTheLocaleWrites()
    {
        // Dates are written without the locale's writer where its short form allows; the text
        // must be the one the locale writes, for plain, quoted and named-month forms alike.
        const QDateTime values[] = {QDateTime(QDate(2006, 5, 2), QTime(9, 5, 7)),
                                    QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59)),
                                    QDateTime(QDate(987, 1, 9), QTime(0, 0, 1))};
        for (const char* name : {"C", "en_US", "de_DE", "fr_FR", "ja_JP", "ko_KR", "hu_HU", "bg_BG",
                                 "zh_CN", "fi_FI", "ar_EG", "th_TH"}) {
            const QLocale locale{QLatin1String(name)};
            QLocale::setDefault(locale);
            QString format = locale.dateFormat(QLocale::ShortFormat);
            if (!format.contains(u"yyyy"_s))
                format.replace(u"yy"_s, u"yyyy"_s);
            for (const QDateTime& value : values) {
                const QString expected = locale.toString(value.date(), format) + u' ' +
                                         value.time().toString(u"HH:mm:ss"_s);
                QCOMPARE(kov::dateText(value), expected);
            }
        }
        QCOMPARE(kov::isoText(values[0]), u"2006-05-02T09:05:07"_s);
        QCOMPARE(kov::isoText(values[2]), u"0987-01-09T00:00:01"_s);
    }
    void read_data()
    {
        Columns<QString, QDateTime>::add(); // text, value (invalid: no form reads it)
        const QDateTime evening(QDate(2026, 12, 24), QTime(20, 15));
        QTest::newRow("service form") << u" 2026-12-24 20:15:00 "_s << evening;
        QTest::newRow("T, no seconds") << u"2026-12-24T20:15"_s << evening;
        QTest::newRow("date alone")
            << u"2026-12-24"_s << QDateTime(QDate(2026, 12, 24), QTime(0, 0));
        QTest::newRow("hour 24") << u"2026-12-24 24:00:00"_s << QDateTime();
        QTest::newRow("30 February") << u"2026-02-30 10:00:00"_s << QDateTime();
        QTest::newRow("one-digit month") << u"2026-1-24 20:15:00"_s << QDateTime();
    }
    void read()
    {
        const auto [text, value] = Columns<QString, QDateTime>::fetch();
        bool ok = !value.isValid();
        QCOMPARE(kov::parseDate(text, &ok), value);
        QCOMPARE(ok, value.isValid());
    }
};

QTEST_GUILESS_MAIN(TestDate)
#include "tst_date.moc"
