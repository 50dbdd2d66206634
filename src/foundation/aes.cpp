#include "aes.h"

#include "settings_catalogue.h"

#include <QFileInfo>
#include <QtEndian>

#include <cctype>

namespace {
uint8_t xtime(uint8_t a)
{
    return static_cast<uint8_t>((a << 1) ^ ((a & 0x80) ? 0x1B : 0x00));
}

uint8_t mul(uint8_t a, uint8_t b)
{
    uint8_t product = 0;
    while (b) {
        if (b & 1)
            product ^= a;
        a = xtime(a);
        b >>= 1;
    }
    return product;
}

uint8_t rotl8(uint8_t x, int s)
{
    return static_cast<uint8_t>((x << s) | (x >> (8 - s)));
}

// Row-shift offsets by block length: Nb 4 and 6 use 1, 2, 3; Nb 8 uses 1, 3, 4.
int shiftOf(int row, int nb)
{
    static const int small[4] = {0, 1, 2, 3};
    static const int large[4] = {0, 1, 3, 4};
    return nb == 8 ? large[row] : small[row];
}

QByteArray utf16le(const QString& text)
{
    QByteArray bytes(text.size() * 2, '\0');
    for (qsizetype i = 0; i < text.size(); ++i)
        qToLittleEndian<quint16>(text.at(i).unicode(), bytes.data() + 2 * i);
    return bytes;
}
} // namespace

void AES::gentables()
{
    // S-box: multiplicative inverse in GF(2^8) followed by the affine map of Rijndael.
    for (int i = 0; i < 256; ++i) {
        uint8_t inverse = 0;
        for (int j = 1; j < 256 && i != 0; ++j) {
            if (mul(static_cast<uint8_t>(i), static_cast<uint8_t>(j)) == 1) {
                inverse = static_cast<uint8_t>(j);
                break;
            }
        }
        const uint8_t s = inverse ^ rotl8(inverse, 1) ^ rotl8(inverse, 2) ^ rotl8(inverse, 3) ^
                          rotl8(inverse, 4) ^ 0x63;
        m_sbox[i] = s;
        m_inverse[s] = static_cast<uint8_t>(i);
    }
    uint8_t r = 1;
    for (auto& c : m_rcon) {
        c = r;
        r = xtime(r);
    }
}

void AES::gkey(int nb, int nk, const QByteArray& KEY)
{
    m_nb = nb;
    m_nk = nk;
    m_rounds = (nb > nk ? nb : nk) + 6;
    const int total = nb * (m_rounds + 1);
    for (int i = 0; i < nk; ++i) {
        m_schedule[i] =
            (uint32_t(uint8_t(KEY[4 * i])) << 24) | (uint32_t(uint8_t(KEY[4 * i + 1])) << 16) |
            (uint32_t(uint8_t(KEY[4 * i + 2])) << 8) | uint32_t(uint8_t(KEY[4 * i + 3]));
    }
    auto subWord = [this](uint32_t w) {
        return (uint32_t(m_sbox[w >> 24]) << 24) | (uint32_t(m_sbox[(w >> 16) & 0xFF]) << 16) |
               (uint32_t(m_sbox[(w >> 8) & 0xFF]) << 8) | uint32_t(m_sbox[w & 0xFF]);
    };
    for (int i = nk; i < total; ++i) {
        uint32_t temp = m_schedule[i - 1];
        if (i % nk == 0)
            temp = subWord((temp << 8) | (temp >> 24)) ^ (uint32_t(m_rcon[i / nk - 1]) << 24);
        else if (nk > 6 && i % nk == 4)
            temp = subWord(temp);
        m_schedule[i] = m_schedule[i - nk] ^ temp;
    }
}

void AES::Encrypt(QByteArray& buff) const
{
    const int nb = m_nb;
    uint8_t state[4][8];
    for (int c = 0; c < nb; ++c)
        for (int r = 0; r < 4; ++r)
            state[r][c] = static_cast<uint8_t>(buff[4 * c + r]);
    auto addRoundKey = [&](int round) {
        for (int c = 0; c < nb; ++c) {
            const uint32_t w = m_schedule[round * nb + c];
            for (int r = 0; r < 4; ++r)
                state[r][c] ^= static_cast<uint8_t>(w >> (24 - 8 * r));
        }
    };
    addRoundKey(0);
    for (int round = 1; round <= m_rounds; ++round) {
        for (int r = 0; r < 4; ++r) {
            uint8_t row[8];
            for (int c = 0; c < nb; ++c)
                row[c] = m_sbox[state[r][(c + shiftOf(r, nb)) % nb]];
            for (int c = 0; c < nb; ++c)
                state[r][c] = row[c];
        }
        if (round != m_rounds) {
            for (int c = 0; c < nb; ++c) {
                const uint8_t a0 = state[0][c], a1 = state[1][c], a2 = state[2][c],
                              a3 = state[3][c];
                state[0][c] = mul(a0, 2) ^ mul(a1, 3) ^ a2 ^ a3;
                state[1][c] = a0 ^ mul(a1, 2) ^ mul(a2, 3) ^ a3;
                state[2][c] = a0 ^ a1 ^ mul(a2, 2) ^ mul(a3, 3);
                state[3][c] = mul(a0, 3) ^ a1 ^ a2 ^ mul(a3, 2);
            }
        }
        addRoundKey(round);
    }
    for (int c = 0; c < nb; ++c)
        for (int r = 0; r < 4; ++r)
            buff[4 * c + r] = static_cast<char>(state[r][c]);
}

void AES::Decrypt(QByteArray& buff) const
{
    const int nb = m_nb;
    uint8_t state[4][8];
    for (int c = 0; c < nb; ++c)
        for (int r = 0; r < 4; ++r)
            state[r][c] = static_cast<uint8_t>(buff[4 * c + r]);
    auto addRoundKey = [&](int round) {
        for (int c = 0; c < nb; ++c) {
            const uint32_t w = m_schedule[round * nb + c];
            for (int r = 0; r < 4; ++r)
                state[r][c] ^= static_cast<uint8_t>(w >> (24 - 8 * r));
        }
    };
    addRoundKey(m_rounds);
    for (int round = m_rounds - 1; round >= 0; --round) {
        for (int r = 0; r < 4; ++r) {
            uint8_t row[8];
            for (int c = 0; c < nb; ++c)
                row[(c + shiftOf(r, nb)) % nb] = m_inverse[state[r][c]];
            for (int c = 0; c < nb; ++c)
                state[r][c] = row[c];
        }
        addRoundKey(round);
        if (round != 0) {
            for (int c = 0; c < nb; ++c) {
                const uint8_t a0 = state[0][c], a1 = state[1][c], a2 = state[2][c],
                              a3 = state[3][c];
                state[0][c] = mul(a0, 14) ^ mul(a1, 11) ^ mul(a2, 13) ^ mul(a3, 9);
                state[1][c] = mul(a0, 9) ^ mul(a1, 14) ^ mul(a2, 11) ^ mul(a3, 13);
                state[2][c] = mul(a0, 13) ^ mul(a1, 9) ^ mul(a2, 14) ^ mul(a3, 11);
                state[3][c] = mul(a0, 11) ^ mul(a1, 13) ^ mul(a2, 9) ^ mul(a3, 14);
            }
        }
    }
    for (int c = 0; c < nb; ++c)
        for (int r = 0; r < 4; ++r)
            buff[4 * c + r] = static_cast<char>(state[r][c]);
}

void AES::prepare(const QByteArray& password)
{
    QByteArray key = password.left(32);
    key.append(QByteArray(32 - key.size(), '\0'));
    gentables();
    gkey(8, 8, key);
}

QByteArray AES::EncryptData(const QByteArray& message, const QByteArray& password)
{
    if (message.isEmpty() || password.isEmpty())
        return QByteArray();
    prepare(password);
    const qsizetype length = message.size();
    const qsizetype total = (length + 4 + 31) / 32 * 32;
    QByteArray plain(total, '\0');
    qToLittleEndian<qint32>(static_cast<qint32>(length), plain.data());
    plain.replace(4, length, message);
    QByteArray out;
    out.reserve(total);
    for (qsizetype at = 0; at < total; at += 32) {
        QByteArray block = plain.mid(at, 32);
        Encrypt(block);
        out += block;
    }
    return out;
}

QByteArray AES::DecryptData(const QByteArray& encrypted, const QByteArray& password)
{
    if (encrypted.isEmpty() || password.isEmpty())
        return QByteArray();
    prepare(password);
    if (encrypted.size() % 32 != 0)
        return QByteArray();
    QByteArray plain;
    plain.reserve(encrypted.size());
    for (qsizetype at = 0; at < encrypted.size(); at += 32) {
        QByteArray block = encrypted.mid(at, 32);
        Decrypt(block);
        plain += block;
    }
    const qint32 length = qFromLittleEndian<qint32>(plain.constData());
    if (length <= 0 || length > plain.size() - 4)
        return QByteArray();
    return plain.mid(4, length);
}

QString AES::EncryptText(const QString& Text, const QString& Password)
{
    if (Text.isEmpty() || Password.isEmpty())
        return QString();
    AES cipher;
    return QString::fromLatin1(
        cipher.EncryptData(utf16le(Text), utf16le(Password)).toHex().toUpper());
}

QString AES::DecryptText(const QString& prEncryptedString, const QString& Password)
{
    if (prEncryptedString.isEmpty() || Password.isEmpty())
        return QString();
    if (prEncryptedString.size() % 2 != 0)
        return QString();
    QByteArray bytes;
    bytes.reserve(prEncryptedString.size() / 2);
    for (qsizetype i = 0; i < prEncryptedString.size(); i += 2) {
        bool ok = false;
        const uint value = prEncryptedString.mid(i, 2).toUInt(&ok, 16);
        // toUInt accepts a sign or blank; only two hexadecimal digits make a byte here.
        if (!ok || !isxdigit(prEncryptedString[i].toLatin1()) ||
            !isxdigit(prEncryptedString[i + 1].toLatin1()))
            return QString();
        bytes.append(static_cast<char>(value));
    }
    AES cipher;
    const QByteArray plain = cipher.DecryptData(bytes, utf16le(Password));
    QString text;
    for (qsizetype i = 0; i + 1 < plain.size(); i += 2)
        text.append(QChar(qFromLittleEndian<quint16>(plain.constData() + i)));
    return text;
}

QString kov_PassPhrase(const QString& executableName)
{
    return QFileInfo(executableName).completeBaseName().toLower();
}

QString kov_ProcessPassPhrase()
{
    return kov_PassPhrase(kov_ExecutableName());
}
