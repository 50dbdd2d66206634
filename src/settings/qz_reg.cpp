#include "qz_reg.h"

#include "foundation/codepage.h"
#include "foundation/trace.h"
#include "platform/registrystore.h"

#include <QtEndian>

namespace {
RegistryStore& store()
{
    return RegistryStore::instance();
}

// Opening for writing creates a missing key; "not found" is the only result that does.
bool openForWrite(const QString& SubKey, qint32 Root)
{
    StoreResult rc = store().openKey(Root, SubKey, false);
    if (rc == StoreResult::NotFound) {
        rc = store().openKey(Root, SubKey, true);
        if (kov_ApiFailed(kov::resultNumber(rc), QStringLiteral("RegCreateKeyEx")))
            return false;
    }
    return !kov_ApiFailed(kov::resultNumber(rc), QStringLiteral("RegOpenKeyEx"));
}
} // namespace

bool kov_RegSetString(const QString& SubKey, const QString& ValueName, const QString& Text,
                      qint32 Root)
{
    if (Text.size() > 1024)
        kov_DebugMessage(QStringLiteral("RegString size=") + QString::number(Text.size() * 2));
    if (!openForWrite(SubKey, Root))
        return false;
    // Text is stored as code-page bytes plus one NUL; the empty text with no data at all.
    QByteArray data;
    if (!Text.isEmpty())
        data = kov::toCodePage(Text, true);
    const StoreResult rc = store().setValue(Root, SubKey, ValueName, RegType::Text, data);
    return !kov_ApiFailed(kov::resultNumber(rc), QStringLiteral("RegSetValueExString"));
}

bool kov_RegSetLong(const QString& SubKey, const QString& ValueName, qint32 Number, qint32 Root)
{
    if (!openForWrite(SubKey, Root))
        return false;
    QByteArray data(4, '\0');
    qToLittleEndian<qint32>(Number, data.data());
    const StoreResult rc = store().setValue(Root, SubKey, ValueName, RegType::Number, data);
    return !kov_ApiFailed(kov::resultNumber(rc), QStringLiteral("RegSetValueExLong"));
}

qint32 kov_RegStringSize(const QString& SubKey, const QString& ValueName, qint32 Root)
{
    QByteArray data;
    if (store().queryValue(Root, SubKey, ValueName, nullptr, &data) != StoreResult::Success)
        return -1;
    return static_cast<qint32>(data.size()) - 1;
}

QString kov_RegGetString(const QString& SubKey, const QString& ValueName, qint32 Root)
{
    const qint32 n = kov_RegStringSize(SubKey, ValueName, Root);
    if (n < 0)
        return QString();
    StoreResult rc = store().openKey(Root, SubKey, false);
    if (kov_ApiFailed(kov::resultNumber(rc), QStringLiteral("RegOpenKeyEx")))
        return QString();
    QByteArray data;
    rc = store().queryValue(Root, SubKey, ValueName, nullptr, &data);
    // The buffer holds n + 2 bytes; a value that grew since its size was read does not fit.
    if (rc == StoreResult::Success && data.size() > n + 2)
        rc = StoreResult::MoreData;
    if (kov_ApiFailed(kov::resultNumber(rc), QStringLiteral("RegQueryValueExString")))
        return QString();
    const qsizetype nul = data.indexOf('\0');
    return kov::fromCodePage(nul < 0 ? data : data.left(nul));
}

qint32 qz_ValueType(const QString& SubKey, const QString& ValueName, qint32 Root)
{
    qint32 type = RegType::None;
    if (store().queryValue(Root, SubKey, ValueName, &type, nullptr) != StoreResult::Success)
        return RegType::None;
    return type;
}

bool qz_ValueExists(const QString& SubKey, const QString& ValueName, qint32 Root)
{
    return qz_ValueType(SubKey, ValueName, Root) >= 1;
}

QByteArray qz_GetBinary(const QString& SubKey, const QString& ValueName, qint32 Root)
{
    QByteArray buffer(1024, '\0');
    QByteArray data;
    if (store().queryValue(Root, SubKey, ValueName, nullptr, &data) == StoreResult::Success)
        buffer.replace(0, qMin<qsizetype>(data.size(), 1024), data.left(1024));
    return buffer;
}

qint32 qz_GetLongOrDefault(const QString& SubKey, const QString& ValueName, qint32 Default,
                           qint32 Root)
{
    QByteArray data;
    // A 4-byte buffer: the read fails when the value is missing or longer than 4 bytes. Shorter
    // data fills the buffer from the front, so the text "1" (two bytes) reads as 49.
    if (store().queryValue(Root, SubKey, ValueName, nullptr, &data) == StoreResult::Success &&
        data.size() <= 4) {
        QByteArray buffer(4, '\0');
        buffer.replace(0, data.size(), data);
        return qFromLittleEndian<qint32>(buffer.constData());
    }
    kov_RegSetLong(SubKey, ValueName, Default, Root);
    return Default;
}
