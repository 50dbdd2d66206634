#include "settingsstore.h"

#include "foundation/codepage.h"
#include "foundation/datetext.h"
#include "foundation/filewriters.h"
#include "foundation/texttools.h"
#include "foundation/trace.h"
#include "platform/settingsdatabase.h"
#include "storedvalues.h"

#include <QtEndian>

#include <cmath>

namespace {
void classMessage(const QString& message, bool showBox)
{
    kov::traceFrom("CKovReg", message, showBox);
}

// The usual text form of a value written as text (doubles, dates, texts).
QString textForm(const QVariant& v)
{
    switch (v.metaType().id()) {
    case QMetaType::QDateTime:
        return kov::dateText(v.toDateTime());
    case QMetaType::Double:
        return QString::number(v.toDouble(), 'g', 15);
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    default:
        return v.toString();
    }
}

bool isWholeNumber(const QVariant& v)
{
    const int id = v.metaType().id();
    return id == QMetaType::Int || id == QMetaType::Short || id == QMetaType::Bool;
}

qint32 wholeNumber(const QVariant& v)
{
    return v.metaType().id() == QMetaType::Bool ? (v.toBool() ? -1 : 0) : v.toInt();
}
} // namespace

QString kov::settingsKey()
{
    return QStringLiteral("Software\\Velmora\\Scheduler\\KovFerrit");
}

SettingsStore::SettingsStore() : m_root(kMachineRoot) {}

SettingsStore kov::settings()
{
    SettingsStore settings;
    settings.setKey(kov::settingsKey());
    return settings;
}

bool SettingsStore::isValidRoot(qint32 root)
{
    return root < static_cast<qint32>(0x80000007u);
}

// The root names a REGEDIT4 export writes in its key header.
QString SettingsStore::rootName(qint32 root)
{
    static const char* const names[] = {
        "HKEY_CLASSES_ROOT",     "HKEY_CURRENT_USER",   "HKEY_LOCAL_MACHINE", "HKEY_USERS",
        "HKEY_PERFORMANCE_DATA", "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA"};
    if (!isValidRoot(root))
        return QString();
    return QLatin1String(names[root - kClassesRoot]);
}

bool SettingsStore::setKey(const QString& subKey, const QString& addInfo)
{
    // An empty key is refused and the one held before kept.
    if (subKey.isEmpty())
        kov::trace(QStringLiteral("CKovRegNo SubKey specified"), true);
    else
        m_subKey = subKey;
    m_addInfo = addInfo;
    return !m_subKey.isEmpty();
}

bool SettingsStore::checkArgs(const QString& name, const QString& key, qint32 root,
                              bool boxForEmpty, const QString* newValue)
{
    const QString rootText = QString::number(root);
    if (name.isEmpty()) {
        QString msg =
            QStringLiteral("CKovReg no value specified: ") + key + QStringLiteral(" : ") + rootText;
        if (newValue)
            msg += QStringLiteral(" : ") + *newValue;
        kov::trace(msg, boxForEmpty);
        return false;
    }
    if (key.isEmpty()) {
        QString msg = QStringLiteral("CKovReg no SubKey specified,  ValueName : ") + name +
                      QStringLiteral(" : ") + rootText + QStringLiteral(" : ");
        if (newValue)
            msg += *newValue;
        kov::trace(msg, boxForEmpty);
        return false;
    }
    if (!isValidRoot(root)) {
        QString msg = QStringLiteral("CKovReg Invalid hKey specified,  ValueName : ") + name +
                      QStringLiteral("  hKey : ") + rootText + QStringLiteral(" : ");
        if (newValue)
            msg += *newValue;
        kov::trace(msg, true);
        return false;
    }
    return true;
}

QString SettingsStore::text(const QString& name, const QString& subKey, qint32 rootOverride)
{
    const SettingsReadScope read;
    const QString key = keyOr(subKey);
    const qint32 root = rootOr(rootOverride);
    if (!checkArgs(name, key, root, true, nullptr))
        return QString();
    return kov::storedText(key, name, root);
}

bool SettingsStore::setText(const QString& name, const QString& text, const QString& subKey,
                            qint32 rootOverride)
{
    const QString key = keyOr(subKey);
    const qint32 root = rootOr(rootOverride);
    if (!checkArgs(name, key, root, true, &text))
        return false;
    m_lastError = kov::storeText(key, name, text, root);
    return m_lastError;
}

qint32 SettingsStore::number(const QString& name, const QString& subKey, qint32 rootOverride)
{
    const SettingsReadScope read;
    const QString key = keyOr(subKey);
    const qint32 root = rootOr(rootOverride);
    // Of the reads, this one alone reports a missing name or key to the trace channel only,
    // without a box.
    if (!checkArgs(name, key, root, false, nullptr))
        return 0;
    return kov::storedNumberOr(key, name, 0, root);
}

bool SettingsStore::setNumber(const QString& name, qint32 number, const QString& subKey,
                              qint32 rootOverride)
{
    const QString key = keyOr(subKey);
    const qint32 root = rootOr(rootOverride);
    const QString text = QString::number(number);
    if (!checkArgs(name, key, root, true, &text))
        return false;
    m_lastError = kov::storeNumber(key, name, number, root);
    return m_lastError;
}

qint32 SettingsStore::numberOr(const QString& name, qint32 defaultValue, const QString& subKey,
                               qint32 rootOverride)
{
    const SettingsReadScope read;
    const QString key = keyOr(subKey);
    const qint32 root = rootOr(rootOverride);
    if (!checkArgs(name, key, root, true, nullptr))
        return 0;
    return kov::storedNumberOr(key, name, defaultValue, root);
}

QVariant SettingsStore::value(const QString& name, const QVariant& missing, const QString& subKey)
{
    const SettingsReadScope read;
    const QString key = keyOr(subKey);
    const qint32 root = kMachineRoot;
    switch (kov::storedType(key, name, root)) {
    case StoredType::None: {
        if (!missing.isValid()) {
            kov::storeText(key, name, QString(), root);
        } else if (isWholeNumber(missing)) {
            kov::storeNumber(key, name, wholeNumber(missing), root);
        } else {
            const int id = missing.metaType().id();
            if (id == QMetaType::Double || id == QMetaType::LongLong ||
                id == QMetaType::QDateTime || id == QMetaType::QString)
                kov::storeText(key, name, textForm(missing), root);
        }
        return missing;
    }
    case StoredType::Text: {
        const QString text = kov::storedText(key, name, root);
        if (text.isEmpty())
            return missing.isValid() ? missing : QVariant(QString());
        return text;
    }
    case StoredType::Binary:
        return kov::storedBytes(key, name, root);
    case StoredType::Number:
        return kov::storedNumberOr(key, name, 0, root);
    default:
        return QVariant();
    }
}

bool SettingsStore::valueExists(const QString& name)
{
    const SettingsReadScope read;
    return kov::storedValueExists(m_subKey, name, kMachineRoot);
}

QString SettingsStore::valueName(qint32 index, const QString& subKey, qint32 rootOverride)
{
    const QString key = keyOr(subKey);
    const qint32 root = rootOr(rootOverride);
    SettingsDatabase& store = SettingsDatabase::instance();
    StoreResult rc = store.openKey(root, key, false);
    if (rc != StoreResult::Success) {
        classMessage(QStringLiteral("EnumValue RegOpenKeyEx (") + key +
                         QStringLiteral(") FAILED : ") + QString::number(kov::resultNumber(rc)),
                     false);
        return QString();
    }
    QString name;
    qint32 type = 0;
    rc = store.enumValue(root, key, index, &name, &type);
    if (rc != StoreResult::Success) {
        classMessage(QStringLiteral("EnumValue RegEnumValue FAILED. Index = ") +
                         QString::number(index) + QStringLiteral(" RetVal = ") +
                         QString::number(kov::resultNumber(rc)) + kov::crLf() +
                         QStringLiteral("  lpType = ") + QString::number(type) +
                         QStringLiteral("  ThisSubKey = ") + key,
                     false);
        return QString();
    }
    return kov::stripNull(name.left(260));
}

bool SettingsStore::deleteValue(const QString& name, const QString& subKey, qint32 rootOverride)
{
    if (name.isEmpty())
        return false;
    const QString key = keyOr(subKey);
    const qint32 root = rootOr(rootOverride);
    SettingsDatabase& store = SettingsDatabase::instance();
    StoreResult rc = store.openKey(root, key, false);
    if (rc != StoreResult::Success) {
        classMessage(QStringLiteral("RegOpenKeyEx(") + key + QStringLiteral(") FAILED : ") +
                         QString::number(kov::resultNumber(rc)),
                     true);
        return false;
    }
    rc = store.deleteValue(root, key, name);
    if (rc != StoreResult::Success) {
        classMessage(QStringLiteral("RegDeleteValue(") + name + QStringLiteral(") FAILED : ") +
                         QString::number(kov::resultNumber(rc)),
                     true);
        return false;
    }
    return true;
}

bool SettingsStore::deleteKey(const QString& subKey, qint32 rootOverride)
{
    return SettingsDatabase::instance().deleteKey(rootOr(rootOverride), keyOr(subKey)) ==
           StoreResult::Success;
}

bool SettingsStore::exportTo(const QString& fileName, const QString& subKey, QString* whyNot)
{
    const QString key = kov::normaliseKey(keyOr(subKey));
    SettingsDatabase& store = SettingsDatabase::instance();
    if (store.openKey(m_root, key, false) != StoreResult::Success) {
        if (whyNot) {
            const QString problem = store.problem();
            *whyNot = problem.isEmpty() ? QStringLiteral("no settings are stored") : problem;
        }
        return false;
    }
    const QString crlf = kov::crLf();
    QString out = QStringLiteral("REGEDIT4") + crlf + crlf + QLatin1Char('[') + rootName(m_root) +
                  QLatin1Char('\\') + key + QLatin1Char(']') + crlf;
    auto quoted = [](QString s) {
        s.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
        s.replace(QLatin1Char('"'), QLatin1String("\\\""));
        return QLatin1Char('"') + s + QLatin1Char('"');
    };
    QString name;
    qint32 type = 0;
    for (qint32 i = 0; store.enumValue(m_root, key, i, &name, &type) == StoreResult::Success; ++i) {
        QByteArray data;
        store.queryValue(m_root, key, name, &type, &data);
        out += quoted(name) + QLatin1Char('=');
        if (type == StoredType::Text) {
            const qsizetype nul = data.indexOf('\0');
            out += quoted(kov::fromCodePage(nul < 0 ? data : data.left(nul)));
        } else if (type == StoredType::Number && data.size() == 4) {
            out += QStringLiteral("dword:%1")
                       .arg(qFromLittleEndian<quint32>(data.constData()), 8, 16, QLatin1Char('0'));
        } else {
            QStringList bytes;
            for (const char b : data)
                bytes << QStringLiteral("%1").arg(static_cast<unsigned char>(b), 2, 16,
                                                  QLatin1Char('0'));
            out += QStringLiteral("hex:") + bytes.join(QLatin1Char(','));
        }
        out += crlf;
    }
    out += crlf;
    return kov::writePrivateFile(fileName, out, whyNot);
}
