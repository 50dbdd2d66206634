// The password cipher: Rijndael with a 256-bit block and key, a length prefix, hexadecimal text.
#include "foundation/passwordcipher.h"
#include "testbasics.h"

#include <QtEndian>

namespace {
const QString kStored = u"62EC11CC273A9DDC4E601312E410E4D294092909BAD4CF1426A29F7C0EC19407"_s;
} // namespace

class TestAes : public QObject
{
    Q_OBJECT
private slots:
    void knownAnswers()
    {
        QByteArray key(32, '\0');
        QByteArray block(32, '\0');
        for (int i = 0; i < 32; ++i)
            key[i] = block[i] = static_cast<char>(i);
        PasswordCipher aes;
        aes.makeTables();
        aes.expandKey(8, 8, key);
        aes.encryptBlock(block);
        QCOMPARE(block.toHex().toUpper(),
                 QByteArray("623D2BD4CA3796DC3D02ECF2F37FB637FD3DA58509CEBB67AB9265B04DB51E7D"));
        aes.decryptBlock(block);
        QCOMPARE(block, key);
        QCOMPARE(PasswordCipher::encryptText(u"secret"_s, u"kovferrit"_s), kStored);
    }
    void roundTrip_data()
    {
        Columns<QString, QString, int>::add(); // text, pass phrase, digits stored
        QTest::newRow("14 characters fill a block") << QString(14, u'p') << u"k"_s << 64;
        QTest::newRow("15 need two") << QString(15, u'p') << u"k"_s << 128;
        QTest::newRow("31 need three") << QString(31, u'p') << u"k"_s << 192;
        QTest::newRow("non-latin") << u"\u4E2D\u00E4"_s << u"phrase"_s << 64;
        QTest::newRow("phrase cut at 16") << u"pw"_s << QString(16, u'k') + u"Other"_s << 64;
    }
    void roundTrip()
    {
        const auto [text, phrase, digits] = Columns<QString, QString, int>::fetch();
        const QString stored = PasswordCipher::encryptText(text, phrase);
        QCOMPARE(stored.size(), digits);
        QCOMPARE(PasswordCipher::decryptText(stored, phrase), text);
        QCOMPARE(PasswordCipher::decryptText(stored.toLower(), phrase.left(16)),
                 text); // 32 bytes of UTF-16
        QVERIFY(PasswordCipher::decryptText(stored, u"other"_s) != text);
    }
    void badDigits_data()
    {
        Columns<QString>::add(); // what is stored
        QTest::newRow("odd count") << kStored.left(63);
        QTest::newRow("not a digit") << u"G"_s + kStored.mid(1);
        QTest::newRow("sign in a pair") << u"+1"_s + kStored.mid(2);
        QTest::newRow("not whole blocks") << kStored.left(62);
        QTest::newRow("a half block more") << kStored + kStored.left(32);
        QTest::newRow("empty") << QString();
    }
    void badDigits()
    {
        const auto [stored] = Columns<QString>::fetch();
        QCOMPARE(PasswordCipher::decryptText(stored, u"kovferrit"_s), QString());
    }
    void lengthPrefixChecked_data()
    {
        Columns<qint32, int>::add(); // the length in the prefix, the bytes given back
        QTest::newRow("zero") << 0 << 0;
        QTest::newRow("fills the block") << 28 << 28;
        QTest::newRow("one past the block") << 29 << 0;
        QTest::newRow("past by the prefix") << 32 << 0;
    }
    void lengthPrefixChecked()
    {
        const auto [length, kept] = Columns<qint32, int>::fetch();
        const QByteArray phrase("p\0w\0", 4);
        QByteArray block(32, 'x');
        qToLittleEndian<qint32>(length, block.data());
        PasswordCipher aes;
        aes.makeTables();
        aes.expandKey(8, 8,
                      phrase + QByteArray(28, '\0')); // the key is the phrase padded to 32 bytes
        aes.encryptBlock(block);
        QCOMPARE(aes.decrypt(block, phrase), QByteArray(kept, 'x'));
    }
};

QTEST_GUILESS_MAIN(TestAes)
#include "tst_passwordcipher.moc"
