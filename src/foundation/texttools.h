#pragma once
// Small helpers for the texts the program sends and stores: the CR LF line end, URL encoding
// in the code page, file names made safe, and text cut at its first NUL.
#include <QString>

namespace kov {
/// CR LF, the line end of every file the program writes.
inline QString crLf()
{
    return QStringLiteral("\r\n");
}

/// Each character but A-Z, a-z, 0-9, "-" and "_" as "%XX", its code-page byte in hex.
QString urlEncode(const QString& text);
bool isUrlSafe(QChar ch);
/// What safeFileName does with blanks.
enum class Blanks
{
    Keep,
    ToUnderscores
};
/// What safeFileName makes the file name of: the whole text, or the text after its last
/// backslash, in which backslashes and colons are then replaced too.
enum class NamePart
{
    Whole,
    AfterLastBackslash
};
/// `name` as a file name: cut to 215 characters, the characters no file name may hold and
/// every dot but that of a three-letter extension replaced by underscores, `extension` added.
QString safeFileName(const QString& name, const QString& extension, Blanks blanks, NamePart part);
/// The text up to its first NUL character.
QString stripNull(const QString& text);
} // namespace kov
