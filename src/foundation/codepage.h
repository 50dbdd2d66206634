#pragma once
// Windows-1252 is the single-byte code page of every file and reply. Qt 6 has no
// converter for it without ICU, so the 32 code points of 0x80-0x9F are mapped here.
#include <QByteArray>
#include <QString>

namespace kov {

/// Text to Windows-1252 bytes; a character the code page lacks becomes "?". With `withNul`
/// the bytes end in one NUL, as a stored text value does, without a second copy of them.
QByteArray toCodePage(const QString& text, bool withNul = false);
/// Windows-1252 bytes to text.
QString fromCodePage(const QByteArray& bytes);
/// The code-page byte of one character ('?' when it has none).
unsigned char codePageByte(QChar c);

} // namespace kov
