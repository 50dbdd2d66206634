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
QString safeFileName(const QString& name, const QString& extension, bool replaceIllegal,
                     bool spacesToUnderscore, bool fileNameOnly);
/// The text up to its first NUL character.
QString stripNull(const QString& text);
} // namespace kov
