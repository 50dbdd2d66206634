#include "codepage.h"

namespace kov {
namespace {

// 0x80..0x9F in Windows-1252; the five bytes the code page leaves unassigned map to the C1
// control character of the same value, so every byte reads as a character and writes back as
// itself.
constexpr char16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

unsigned char codePageByte(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return static_cast<unsigned char>(u);
    for (int i = 0; i < 32; ++i) {
        if (kHigh[i] == u)
            return static_cast<unsigned char>(0x80 + i);
    }
    return '?';
}

// Both directions fill a buffer of the final size: replies and settings values of many
// kilobytes pass through here, and appending one character at a time cost more than the rest.
QByteArray toCodePage(const QString& text, bool withNul)
{
    QByteArray out(text.size() + (withNul ? 1 : 0), Qt::Uninitialized);
    char* to = out.data();
    for (const QChar c : text)
        *to++ = static_cast<char>(codePageByte(c));
    if (withNul)
        *to = '\0';
    return out;
}

QString fromCodePage(const QByteArray& bytes)
{
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* to = out.data();
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        *to++ = b >= 0x80 && b < 0xA0 ? QChar(kHigh[b - 0x80]) : QChar(char16_t(b));
    }
    return out;
}

} // namespace kov
