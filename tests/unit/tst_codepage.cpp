// The Windows-1252 code page used wherever the spec says "the system's single-byte code page".
#include "foundation/codepage.h"

#include <QtTest>

class TestCodePage : public QObject
{
    Q_OBJECT
private slots:
    void roundTrip_data();
    void roundTrip();
    void substitute();
};

void TestCodePage::roundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("ascii") << "abc" << QByteArray("abc");
    QTest::newRow("latin-1 range") << QString(QChar(0xE4)) << QByteArray("\xE4");
    QTest::newRow("euro") << QString(QChar(0x20AC)) << QByteArray("\x80");
    QTest::newRow("curly quotes") << QString(QChar(0x201C)) + QChar(0x201D)
                                  << QByteArray("\x93\x94");
    QTest::newRow("z caron") << QString(QChar(0x017E)) << QByteArray("\x9E");
}

void TestCodePage::roundTrip()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(kov::toCodePage(text), bytes);
    QCOMPARE(kov::fromCodePage(bytes), text);
}

void TestCodePage::substitute()
{
    QCOMPARE(kov::toCodePage(QString(QChar(0x4E2D)) + QStringLiteral("x")), QByteArray("?x"));
    QCOMPARE(kov::codePageByte(QChar(0x0100)), static_cast<unsigned char>('?'));
}

QTEST_GUILESS_MAIN(TestCodePage)
#include "tst_codepage.moc"
