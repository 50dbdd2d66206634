// DESIGN.md's date-time conventions: general date text, date alone at midnight, and writing
// then reading gives back the same second in every locale.
#include "foundation/kov_date.h"

#include <QtTest>

class TestDate : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }
    void roundTrip_data();
    void roundTrip();
    void midnightGivesDateAlone();
    void parsesOtherForms_data();
    void parsesOtherForms();
    void rejectsNonsense();
    void zeroDate();
};

void TestDate::roundTrip_data()
{
    QTest::addColumn<QString>("locale");
    for (const char* name : {"C", "en_US", "en_GB", "de_DE", "fr_FR", "ja_JP"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestDate::roundTrip()
{
    QFETCH(QString, locale);
    QLocale::setDefault(QLocale(locale));
    const QDateTime values[] = {
        QDateTime(QDate(2006, 5, 12), QTime(20, 15, 7)),
        QDateTime(QDate(1776, 7, 4), QTime(0, 0)),
        QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59)),
        QDateTime(QDate(2027, 1, 2), QTime(1, 2, 3)),
    };
    for (const QDateTime& value : values) {
        const QString text = kov_DateText(value);
        bool ok = false;
        const QDateTime back = kov_ParseDate(text, &ok);
        QVERIFY2(ok, qPrintable(text));
        QCOMPARE(back, value);
        QVERIFY2(text.contains(QString::number(value.date().year())), qPrintable(text));
    }
}

void TestDate::midnightGivesDateAlone()
{
    QLocale::setDefault(QLocale(QStringLiteral("en_US")));
    QCOMPARE(kov_DateText(QDateTime(QDate(2006, 5, 12), QTime(0, 0))), QStringLiteral("5/12/2006"));
    QCOMPARE(kov_DateText(QDateTime(QDate(2006, 5, 12), QTime(20, 15))),
             QStringLiteral("5/12/2006 20:15:00"));
    QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
    QCOMPARE(kov_DateText(QDateTime(QDate(2006, 5, 12), QTime(0, 0))),
             QStringLiteral("12.05.2006"));
}

void TestDate::parsesOtherForms_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDateTime>("expected");
    const QDateTime jul4(QDate(1776, 7, 4), QTime(0, 0));
    const QDateTime may(QDate(2006, 5, 12), QTime(20, 15));
    QTest::newRow("english month name") << "de_DE"
                                        << "July 4, 1776" << jul4;
    QTest::newRow("english month name, C") << "C"
                                           << "July 4, 1776" << jul4;
    QTest::newRow("iso with blank") << "fr_FR"
                                    << "2006-05-12 20:15:00" << may;
    QTest::newRow("iso with T") << "ja_JP"
                                << "2006-05-12T20:15:00" << may;
    QTest::newRow("iso date alone") << "en_GB"
                                    << "2006-05-12" << QDateTime(QDate(2006, 5, 12), QTime(0, 0));
}

void TestDate::parsesOtherForms()
{
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(QDateTime, expected);
    QLocale::setDefault(QLocale(locale));
    bool ok = false;
    QCOMPARE(kov_ParseDate(text, &ok), expected);
    QVERIFY(ok);
}

void TestDate::rejectsNonsense()
{
    bool ok = true;
    QVERIFY(!kov_ParseDate(QStringLiteral("not a date"), &ok).isValid());
    QVERIFY(!ok);
    QVERIFY(!kov_ParseDate(QString(), &ok).isValid());
}

void TestDate::zeroDate()
{
    QCOMPARE(kov_ZeroDate(), QDateTime(QDate(1899, 12, 30), QTime(0, 0)));
}

QTEST_GUILESS_MAIN(TestDate)
#include "tst_date.moc"
