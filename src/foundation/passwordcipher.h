#pragma once
// The password cipher: Rijndael with a 256-bit block and a 256-bit key (Nb = Nk = 8,
// 14 rounds), one block at a time, no chaining. AES fixes the block at 128 bits, so no AES
// library can stand in for it; the stored passwords need this block length to be read.
#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

class PasswordCipher
{
public:
    void makeTables();
    void expandKey(int nb, int nk, const QByteArray& key);
    /// One block of 4 * nb bytes, in place.
    void encryptBlock(QByteArray& buff) const;
    void decryptBlock(QByteArray& buff) const;

    QByteArray encrypt(const QByteArray& message, const QByteArray& password);
    QByteArray decrypt(const QByteArray& encrypted, const QByteArray& password);

    static QString encryptText(const QString& text, const QString& password);
    static QString decryptText(const QString& encrypted, const QString& password);

private:
    void prepare(const QByteArray& password);

    std::array<uint8_t, 256> m_sbox{};
    std::array<uint8_t, 256> m_inverse{};
    std::array<uint8_t, 30> m_rcon{};
    std::array<uint32_t, 8 * 15> m_schedule{}; // Nb * (Nr + 1) words at most
    int m_nb = 8;
    int m_nk = 8;
    int m_rounds = 14;
};

namespace kov {
/// The pass phrase of the password cipher: an executable name without extension, in lower case.
QString passPhrase(const QString& executableName);
/// The pass phrase of this process: kov::executableName() in lower case, without extension.
QString processPassPhrase();
} // namespace kov
