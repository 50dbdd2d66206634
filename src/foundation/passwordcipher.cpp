#include "passwordcipher.h"

#include "programname.h"

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

void PasswordCipher::makeTables()
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

void PasswordCipher::expandKey(int nb, int nk, const QByteArray& key)
{
    m_nb = nb;
    m_nk = nk;
    m_rounds = (nb > nk ? nb : nk) + 6;
    const int total = nb * (m_rounds + 1);
    for (int i = 0; i < nk; ++i) {
        m_schedule[i] =
            (uint32_t(uint8_t(key[4 * i])) << 24) | (uint32_t(uint8_t(key[4 * i + 1])) << 16) |
            (uint32_t(uint8_t(key[4 * i + 2])) << 8) | uint32_t(uint8_t(key[4 * i + 3]));
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

namespace {
// The cipher state: 4 rows by Nb columns, filled column by column from the block.
struct State
{
    uint8_t cell[4][8];
    int nb;

    State(const QByteArray& block, int columns) : nb(columns)
    {
        for (int c = 0; c < nb; ++c)
            for (int r = 0; r < 4; ++r)
                cell[r][c] = static_cast<uint8_t>(block[4 * c + r]);
    }
    void store(QByteArray& block) const
    {
        for (int c = 0; c < nb; ++c)
            for (int r = 0; r < 4; ++r)
                block[4 * c + r] = static_cast<char>(cell[r][c]);
    }
    void addRoundKey(const uint32_t* words)
    {
        for (int c = 0; c < nb; ++c)
            for (int r = 0; r < 4; ++r)
                cell[r][c] ^= static_cast<uint8_t>(words[c] >> (24 - 8 * r));
    }
    /// MixColumns with the matrix whose first row is m0..m3 (the inverse uses 14, 11, 13, 9).
    void mixColumns(uint8_t m0, uint8_t m1, uint8_t m2, uint8_t m3)
    {
        for (int c = 0; c < nb; ++c) {
            const uint8_t a[4] = {cell[0][c], cell[1][c], cell[2][c], cell[3][c]};
            for (int r = 0; r < 4; ++r) {
                cell[r][c] = mul(a[r], m0) ^ mul(a[(r + 1) % 4], m1) ^ mul(a[(r + 2) % 4], m2) ^
                             mul(a[(r + 3) % 4], m3);
            }
        }
    }
    /// SubBytes and ShiftRows in one pass; `inverse` undoes both.
    void substituteAndShift(const std::array<uint8_t, 256>& box, bool inverse)
    {
        for (int r = 0; r < 4; ++r) {
            uint8_t row[8];
            for (int c = 0; c < nb; ++c) {
                const int shifted = (c + shiftOf(r, nb)) % nb;
                if (inverse)
                    row[shifted] = box[cell[r][c]];
                else
                    row[c] = box[cell[r][shifted]];
            }
            for (int c = 0; c < nb; ++c)
                cell[r][c] = row[c];
        }
    }
};
} // namespace

void PasswordCipher::encryptBlock(QByteArray& buff) const
{
    State state(buff, m_nb);
    state.addRoundKey(&m_schedule[0]);
    for (int round = 1; round <= m_rounds; ++round) {
        state.substituteAndShift(m_sbox, false);
        if (round != m_rounds)
            state.mixColumns(2, 3, 1, 1);
        state.addRoundKey(&m_schedule[static_cast<size_t>(round) * static_cast<size_t>(m_nb)]);
    }
    state.store(buff);
}

void PasswordCipher::decryptBlock(QByteArray& buff) const
{
    State state(buff, m_nb);
    state.addRoundKey(&m_schedule[static_cast<size_t>(m_rounds) * static_cast<size_t>(m_nb)]);
    for (int round = m_rounds - 1; round >= 0; --round) {
        state.substituteAndShift(m_inverse, true);
        state.addRoundKey(&m_schedule[static_cast<size_t>(round) * static_cast<size_t>(m_nb)]);
        if (round != 0)
            state.mixColumns(14, 11, 13, 9);
    }
    state.store(buff);
}

void PasswordCipher::prepare(const QByteArray& password)
{
    QByteArray key = password.left(32);
    key.append(QByteArray(32 - key.size(), '\0'));
    makeTables();
    expandKey(8, 8, key);
}

QByteArray PasswordCipher::encrypt(const QByteArray& message, const QByteArray& password)
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
        encryptBlock(block);
        out += block;
    }
    return out;
}

QByteArray PasswordCipher::decrypt(const QByteArray& encrypted, const QByteArray& password)
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
        decryptBlock(block);
        plain += block;
    }
    const qint32 length = qFromLittleEndian<qint32>(plain.constData());
    if (length <= 0 || length > plain.size() - 4)
        return QByteArray();
    return plain.mid(4, length);
}

QString PasswordCipher::encryptText(const QString& text, const QString& password)
{
    if (text.isEmpty() || password.isEmpty())
        return QString();
    PasswordCipher cipher;
    return QString::fromLatin1(cipher.encrypt(utf16le(text), utf16le(password)).toHex().toUpper());
}

QString PasswordCipher::decryptText(const QString& encrypted, const QString& password)
{
    if (encrypted.isEmpty() || password.isEmpty())
        return QString();
    if (encrypted.size() % 2 != 0)
        return QString();
    QByteArray bytes;
    bytes.reserve(encrypted.size() / 2);
    for (qsizetype i = 0; i < encrypted.size(); i += 2) {
        bool ok = false;
        const uint value = encrypted.mid(i, 2).toUInt(&ok, 16);
        // toUInt accepts a sign or blank; only two hexadecimal digits make a byte here.
        if (!ok || !isxdigit(encrypted[i].toLatin1()) || !isxdigit(encrypted[i + 1].toLatin1()))
            return QString();
        bytes.append(static_cast<char>(value));
    }
    PasswordCipher cipher;
    const QByteArray plain = cipher.decrypt(bytes, utf16le(password));
    QString text;
    for (qsizetype i = 0; i + 1 < plain.size(); i += 2)
        text.append(QChar(qFromLittleEndian<quint16>(plain.constData() + i)));
    return text;
}

QString kov::passPhrase(const QString& executableName)
{
    return QFileInfo(executableName).completeBaseName().toLower();
}

QString kov::processPassPhrase()
{
    return kov::passPhrase(kov::executableName());
}
