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
        Columns<QString, QDateTime, QString>::add(); // locale, value, text
        const QDateTime midnight(QDate(2006, 5, 12), QTime(0, 0));
        QTest::newRow("en_US midnight") << u"en_US"_s << midnight << u"5/12/2006"_s;
        QTest::newRow("de_DE midnight") << u"de_DE"_s << midnight << u"12.05.2006"_s;
        QTest::newRow("ja_JP, 1776") << u"ja_JP"_s << QDateTime(QDate(1776, 7, 4), QTime(1, 2, 3))
                                     << u"1776/07/04 01:02:03"_s;
    }
    void write()
    {
        const auto [locale, value, text] = Columns<QString, QDateTime, QString>::fetch();
        QLocale::setDefault(QLocale(locale));
        QCOMPARE(kov::dateText(value), text);
        bool ok = false;
        QCOMPARE(kov::parseDate(text, &ok), value); // what is written reads back
        QVERIFY(ok);
    }
    void writtenAsTheLocaleWrites_data()
    {
        // Dates are written without the locale's writer where its short form allows; the text
        // must be the one the locale writes, for plain, quoted and named-month forms alike,
        // padded or not, the year first or last.
        Columns<QString, QString>::add(); // the locale, the three dates written "|" between
        QTest::newRow("C") << u"C"_s << u"2 May 2006|31 Dec 1999|9 Jan 0987"_s;
        QTest::newRow("en_US") << u"en_US"_s << u"5/2/2006|12/31/1999|1/9/0987"_s;
        QTest::newRow("de_DE") << u"de_DE"_s << u"02.05.2006|31.12.1999|09.01.0987"_s;
        QTest::newRow("ja_JP") << u"ja_JP"_s << u"2006/05/02|1999/12/31|0987/01/09"_s;
        QTest::newRow("ko_KR") << u"ko_KR"_s << u"2006. 5. 2.|1999. 12. 31.|0987. 1. 9."_s;
        QTest::newRow("bg_BG") << u"bg_BG"_s
                               << u"2.05.2006 \u0433.|31.12.1999 \u0433.|9.01.0987 \u0433."_s;
        // Digits of its own: the locale writes it.
        QTest::newRow("ar_EG") << u"ar_EG"_s
                               << u"\u0662\u200F/\u0665\u200F/\u0662\u0660\u0660\u0666|"
                                  u"\u0663\u0661\u200F/\u0661\u0662\u200F/\u0661\u0669\u0669\u0669|"
                                  u"\u0669\u200F/\u0661\u200F/\u0660\u0669\u0668\u0667"_s;
    }
    void writtenAsTheLocaleWrites()
    {
        const auto [locale, dates] = Columns<QString, QString>::fetch();
        QLocale::setDefault(QLocale(locale));
        const QDateTime values[] = {QDateTime(QDate(2006, 5, 2), QTime(9, 5, 7)),
                                    QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59)),
                                    QDateTime(QDate(987, 1, 9), QTime(0, 0, 1))};
        const QStringList times = {u" 09:05:07"_s, u" 23:59:59"_s, u" 00:00:01"_s};
        for (int i = 0; i < 3; ++i)
            QCOMPARE(kov::dateText(values[i]), dates.section(u'|', i, i) + times[i]);
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
        QTest::newRow("X for the blank") << u"2026-12-24X20:15:00"_s << QDateTime();
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
