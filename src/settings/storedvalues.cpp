#include "storedvalues.h"

#include "foundation/codepage.h"
#include "foundation/trace.h"
#include "platform/settingsdatabase.h"

#include <QtEndian>

namespace {
SettingsDatabase& store()
{
    return SettingsDatabase::instance();
}

// Opening for writing creates a missing key; "not found" is the only result that does.
bool openForWrite(const QString& subKey, qint32 root)
{
    StoreResult rc = store().openKey(root, subKey, false);
    if (rc == StoreResult::NotFound) {
        rc = store().openKey(root, subKey, true);
        if (kov::callFailed(kov::resultNumber(rc), QStringLiteral("RegCreateKeyEx")))
            return false;
    }
    return !kov::callFailed(kov::resultNumber(rc), QStringLiteral("RegOpenKeyEx"));
}
} // namespace

bool kov::storeText(const QString& subKey, const QString& name, const QString& text, qint32 root)
{
    if (text.size() > 1024)
        kov::trace(QStringLiteral("RegString size=") + QString::number(text.size() * 2));
    if (!openForWrite(subKey, root))
        return false;
    // Text is stored as code-page bytes plus one NUL; the empty text with no data at all.
    QByteArray data;
    if (!text.isEmpty())
        data = kov::toCodePage(text, true);
    const StoreResult rc = store().setValue(root, subKey, name, StoredType::Text, data);
    return !kov::callFailed(kov::resultNumber(rc), QStringLiteral("RegSetValueExString"));
}

bool kov::storeNumber(const QString& subKey, const QString& name, qint32 number, qint32 root)
{
    if (!openForWrite(subKey, root))
        return false;
    QByteArray data(4, '\0');
    qToLittleEndian<qint32>(number, data.data());
    const StoreResult rc = store().setValue(root, subKey, name, StoredType::Number, data);
    return !kov::callFailed(kov::resultNumber(rc), QStringLiteral("RegSetValueExLong"));
}

qint32 kov::storedTextSize(const QString& subKey, const QString& name, qint32 root)
{
    QByteArray data;
    if (store().queryValue(root, subKey, name, nullptr, &data) != StoreResult::Success)
        return -1;
    return static_cast<qint32>(data.size()) - 1;
}

QString kov::storedText(const QString& subKey, const QString& name, qint32 root)
{
    const qint32 n = kov::storedTextSize(subKey, name, root);
    if (n < 0)
        return QString();
    StoreResult rc = store().openKey(root, subKey, false);
    if (kov::callFailed(kov::resultNumber(rc), QStringLiteral("RegOpenKeyEx")))
        return QString();
    QByteArray data;
    rc = store().queryValue(root, subKey, name, nullptr, &data);
    // The read allows for n + 2 bytes: a value that grew since its size was read does not fit.
    if (rc == StoreResult::Success && data.size() > n + 2)
        rc = StoreResult::MoreData;
    if (kov::callFailed(kov::resultNumber(rc), QStringLiteral("RegQueryValueExString")))
        return QString();
    const qsizetype nul = data.indexOf('\0');
    return kov::fromCodePage(nul < 0 ? data : data.left(nul));
}

qint32 kov::storedType(const QString& subKey, const QString& name, qint32 root)
{
    qint32 type = StoredType::None;
    if (store().queryValue(root, subKey, name, &type, nullptr) != StoreResult::Success)
        return StoredType::None;
    return type;
}

bool kov::storedValueExists(const QString& subKey, const QString& name, qint32 root)
{
    return kov::storedType(subKey, name, root) >= 1;
}

QByteArray kov::storedBytes(const QString& subKey, const QString& name, qint32 root)
{
    QByteArray buffer(1024, '\0');
    QByteArray data;
    if (store().queryValue(root, subKey, name, nullptr, &data) == StoreResult::Success)
        buffer.replace(0, qMin<qsizetype>(data.size(), 1024), data.left(1024));
    return buffer;
}

qint32 kov::storedNumberOr(const QString& subKey, const QString& name, qint32 defaultNumber,
                           qint32 root)
{
    QByteArray data;
    // A 4-byte buffer: the read fails when the value is missing or longer than 4 bytes. Shorter
    // data fills the buffer from the front, so the text "1" (two bytes) reads as 49.
    if (store().queryValue(root, subKey, name, nullptr, &data) == StoreResult::Success &&
        data.size() <= 4) {
        QByteArray buffer(4, '\0');
        buffer.replace(0, data.size(), data);
        return qFromLittleEndian<qint32>(buffer.constData());
    }
    kov::storeNumber(subKey, name, defaultNumber, root);
    return defaultNumber;
}
