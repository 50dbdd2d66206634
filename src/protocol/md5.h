#pragma once
// The MD5 step of the access string: code-page bytes, MD5 (RFC 1321), Base64 (RFC 4648).
#include <QString>

class Md5
{
public:
    /// The last steps of the access string: Base64 of the MD5 digest of the text's code-page bytes.
    static QString digestBase64(const QString& source);
};
