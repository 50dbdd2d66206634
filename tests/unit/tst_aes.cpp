// Part 5.4: the password cipher (Rijndael, 256-bit block and key).
#include "foundation/aes.h"

#include <QtTest>

class TestAes : public QObject
{
    Q_OBJECT
private slots:
    void knownAnswerBlock();
    void knownAnswerText();
    void digitsPerLength_data();
    void digitsPerLength();
    void roundTrip_data();
    void roundTrip();
    void passPhraseCutAfter16Characters();
    void wrongPassPhrase();
    void badDigits_data();
    void badDigits();
    void lowerCaseDigits();
    void deterministic();
    void emptyInputs();
    void passPhraseFromExecutable_data();
    void passPhraseFromExecutable();
};

void TestAes::knownAnswerBlock()
{
    QByteArray key(32, '\0');
    QByteArray block(32, '\0');
    for (int i = 0; i < 32; ++i) {
        key[i] = static_cast<char>(i);
        block[i] = static_cast<char>(i);
    }
    AES aes;
    aes.gentables();
    aes.gkey(8, 8, key);
    aes.Encrypt(block);
    QCOMPARE(block.toHex().toUpper(),
             QByteArray("623D2BD4CA3796DC3D02ECF2F37FB637FD3DA58509CEBB67AB9265B04DB51E7D"));
    aes.Decrypt(block);
    for (int i = 0; i < 32; ++i)
        QCOMPARE(static_cast<int>(block[i]), i);
}

void TestAes::knownAnswerText()
{
    QCOMPARE(AES::EncryptText(QStringLiteral("secret"), QStringLiteral("kovferrit")),
             QStringLiteral("62EC11CC273A9DDC4E601312E410E4D294092909BAD4CF1426A29F7C0EC19407"));
}

void TestAes::digitsPerLength_data()
{
    QTest::addColumn<int>("characters");
    QTest::addColumn<int>("digits");
    QTest::newRow("1") << 1 << 64;
    QTest::newRow("14") << 14 << 64;
    QTest::newRow("15") << 15 << 128;
    QTest::newRow("30") << 30 << 128;
    QTest::newRow("31") << 31 << 192;
}

void TestAes::digitsPerLength()
{
    QFETCH(int, characters);
    QFETCH(int, digits);
    const QString text(characters, QLatin1Char('p'));
    QCOMPARE(AES::EncryptText(text, QStringLiteral("kovferrit")).size(), digits);
}

void TestAes::roundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("phrase");
    QTest::newRow("short") << "pw"
                           << "kovferrit";
    QTest::newRow("blanks and symbols") << "p a$$ w0rd!"
                                        << "kovferrit";
    QTest::newRow("long text") << QString(100, QLatin1Char('x')) << "a";
    QTest::newRow("non-latin") << QString(QChar(0x4E2D)) + QChar(0xE4) << "phrase";
    QTest::newRow("long phrase") << "pw" << QString(40, QLatin1Char('k'));
}

void TestAes::roundTrip()
{
    QFETCH(QString, text);
    QFETCH(QString, phrase);
    QCOMPARE(AES::DecryptText(AES::EncryptText(text, phrase), phrase), text);
}

void TestAes::passPhraseCutAfter16Characters()
{
    const QString right = QStringLiteral("abcdefghijklmnopXYZ");
    const QString other = QStringLiteral("abcdefghijklmnopQQQQQ");
    const QString stored = AES::EncryptText(QStringLiteral("secret"), right);
    QCOMPARE(AES::DecryptText(stored, other), QStringLiteral("secret"));
}

void TestAes::wrongPassPhrase()
{
    const QString stored = AES::EncryptText(QStringLiteral("secret"), QStringLiteral("kovferrit"));
    QVERIFY(AES::DecryptText(stored, QStringLiteral("otherexe")) != QStringLiteral("secret"));
}

void TestAes::badDigits_data()
{
    QTest::addColumn<QString>("stored");
    const QString good = AES::EncryptText(QStringLiteral("secret"), QStringLiteral("kovferrit"));
    QTest::newRow("63 digits") << good.left(63);
    QTest::newRow("G digit") << QStringLiteral("G") + good.mid(1);
    QTest::newRow("not a block multiple") << good.left(62);
    QTest::newRow("sign in a pair") << QStringLiteral("+1") + good.mid(2);
}

void TestAes::badDigits()
{
    QFETCH(QString, stored);
    QCOMPARE(AES::DecryptText(stored, QStringLiteral("kovferrit")), QString());
}

void TestAes::lowerCaseDigits()
{
    const QString stored = AES::EncryptText(QStringLiteral("secret"), QStringLiteral("kovferrit"));
    QCOMPARE(AES::DecryptText(stored.toLower(), QStringLiteral("kovferrit")),
             QStringLiteral("secret"));
}

void TestAes::deterministic()
{
    QCOMPARE(AES::EncryptText(QStringLiteral("same"), QStringLiteral("p")),
             AES::EncryptText(QStringLiteral("same"), QStringLiteral("p")));
}

void TestAes::emptyInputs()
{
    QCOMPARE(AES::EncryptText(QString(), QStringLiteral("p")), QString());
    QCOMPARE(AES::EncryptText(QStringLiteral("t"), QString()), QString());
    QCOMPARE(AES::DecryptText(QString(), QStringLiteral("p")), QString());
    AES aes;
    QVERIFY(aes.EncryptData(QByteArray(), QByteArray("p")).isEmpty());
    QVERIFY(aes.DecryptData(QByteArray(31, 'x'), QByteArray("p")).isEmpty());
}

void TestAes::passPhraseFromExecutable_data()
{
    QTest::addColumn<QString>("executable");
    QTest::addColumn<QString>("phrase");
    QTest::newRow("plain") << "kovferrit"
                           << "kovferrit";
    QTest::newRow("windows name") << "KovFerrit.exe"
                                  << "kovferrit";
    QTest::newRow("with folder") << "/usr/bin/KovFerrit"
                                 << "kovferrit";
}

void TestAes::passPhraseFromExecutable()
{
    QFETCH(QString, executable);
    QFETCH(QString, phrase);
    QCOMPARE(kov_PassPhrase(executable), phrase);
}

QTEST_GUILESS_MAIN(TestAes)
#include "tst_aes.moc"
