#include "md5.h"

#include "foundation/codepage.h"

#include <QCryptographicHash>

QString Md5::digestBase64(const QString& source)
{
    const QByteArray digest =
        QCryptographicHash::hash(kov::toCodePage(source), QCryptographicHash::Md5);
    return QString::fromLatin1(digest.toBase64());
}
