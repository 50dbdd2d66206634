#pragma once
// Small helpers for the texts the program sends and stores: the CR LF line end, URL encoding
// in the code page, file names made safe, and text cut at its first NUL.
#include <QString>

/// CR LF, the line end of every file the program writes.
inline QString kov_CrLf()
{
    return QStringLiteral("\r\n");
}

/// Each character but A-Z, a-z, 0-9, "-" and "_" as "%XX", its code-page byte in hex.
QString kov_URLEncode(const QString& Text);
bool kov_IsUrlSafe(QChar Char);
QString kov_SafeFileName(const QString& Name, const QString& Extension, bool ReplaceIllegal,
                         bool SpacesToUnderscore, bool FileNameOnly);
/// The text up to its first NUL character.
QString kov_StripNull(const QString& Text);
