#pragma once
// The password cipher. Rijndael with a 256-bit block and a 256-bit key (Nb = Nk = 8,
// 14 rounds), one block at a time, no chaining. Named `AES` although the block
// length lies outside AES proper.
#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

class AES
{
public:
    void gentables();
    void gkey(int nb, int nk, const QByteArray& KEY);
    /// One block of 4 * nb bytes, in place.
    void Encrypt(QByteArray& buff) const;
    void Decrypt(QByteArray& buff) const;

    QByteArray EncryptData(const QByteArray& message, const QByteArray& password);
    QByteArray DecryptData(const QByteArray& encrypted, const QByteArray& password);

    static QString EncryptText(const QString& Text, const QString& Password);
    static QString DecryptText(const QString& prEncryptedString, const QString& Password);

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

/// The pass phrase of the password cipher: an executable name without extension, in lower case.
QString kov_PassPhrase(const QString& executableName);
/// The pass phrase of this process: kov_ExecutableName() in lower case, without extension.
QString kov_ProcessPassPhrase();
