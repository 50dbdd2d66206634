#include "ckovreg.h"

#include "foundation/codepage.h"
#include "foundation/filewriters.h"
#include "foundation/kov_date.h"
#include "foundation/numbertext.h"
#include "foundation/texttools.h"
#include "foundation/trace.h"
#include "platform/registrystore.h"
#include "qz_reg.h"

#include <QtEndian>

#include <cmath>

namespace {
void classMessage(const QString& message, bool showBox)
{
    kov_ClassMessage("CKovReg", message, showBox);
}

// The usual text form of a value written as text (doubles, dates, texts).
QString textForm(const QVariant& v)
{
    switch (v.metaType().id()) {
    case QMetaType::QDateTime:
        return kov_DateText(v.toDateTime());
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

// A text must be a number as a whole; it is rounded with halves to even.
bool toLong(const QVariant& v, qint32* out, QString* error)
{
    if (isWholeNumber(v)) {
        *out = wholeNumber(v);
        return true;
    }
    bool ok = false;
    double d = 0;
    if (v.metaType().id() == QMetaType::Double || v.metaType().id() == QMetaType::LongLong) {
        d = v.toDouble();
        ok = true;
    } else if (v.metaType().id() == QMetaType::QString) {
        d = v.toString().trimmed().toDouble(&ok);
    }
    if (!ok) {
        *error = QStringLiteral("Type mismatch");
        return false;
    }
    bool inRange = false;
    *out = kov_RoundHalfEven(d, &inRange);
    if (!inRange)
        *error = QStringLiteral("Overflow");
    return inRange;
}
} // namespace

QString kov_SettingsKey()
{
    return QStringLiteral("Software\\Velmora\\Scheduler\\KovFerrit");
}

CKovReg::CKovReg() : m_hKey(kHKeyLocalMachine) {}

CKovReg kov_Settings()
{
    CKovReg reg;
    reg.SetInfo(kov_SettingsKey());
    return reg;
}

bool CKovReg::isValidRoot(qint32 root)
{
    return root < static_cast<qint32>(0x80000007u);
}

// The root names a REGEDIT4 export writes in its key header.
QString CKovReg::rootName(qint32 root)
{
    static const char* const names[] = {
        "HKEY_CLASSES_ROOT",     "HKEY_CURRENT_USER",   "HKEY_LOCAL_MACHINE", "HKEY_USERS",
        "HKEY_PERFORMANCE_DATA", "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA"};
    if (!isValidRoot(root))
        return QString();
    return QLatin1String(names[root - kHKeyClassesRoot]);
}

bool CKovReg::SetInfo(const QString& NewSubKey, const QString& NewAddInfo)
{
    // An empty key is refused and the one held before kept.
    if (NewSubKey.isEmpty())
        kov_DebugMessage(QStringLiteral("CKovRegNo SubKey specified"), true);
    else
        m_subKey = NewSubKey;
    m_addInfo = NewAddInfo;
    return !m_subKey.isEmpty();
}

bool CKovReg::checkArgs(const QString& ValueName, const QString& key, qint32 root, bool boxForEmpty,
                        const QString* newValue)
{
    const QString rootText = QString::number(root);
    if (ValueName.isEmpty()) {
        QString msg =
            QStringLiteral("CKovReg no value specified: ") + key + QStringLiteral(" : ") + rootText;
        if (newValue)
            msg += QStringLiteral(" : ") + *newValue;
        kov_DebugMessage(msg, boxForEmpty);
        return false;
    }
    if (key.isEmpty()) {
        QString msg = QStringLiteral("CKovReg no SubKey specified,  ValueName : ") + ValueName +
                      QStringLiteral(" : ") + rootText + QStringLiteral(" : ");
        if (newValue)
            msg += *newValue;
        kov_DebugMessage(msg, boxForEmpty);
        return false;
    }
    if (!isValidRoot(root)) {
        QString msg = QStringLiteral("CKovReg Invalid hKey specified,  ValueName : ") + ValueName +
                      QStringLiteral("  hKey : ") + rootText + QStringLiteral(" : ");
        if (newValue)
            msg += *newValue;
        kov_DebugMessage(msg, true);
        return false;
    }
    return true;
}

QString CKovReg::Str(const QString& ValueName, const QString& oSubKey, qint32 h_Key)
{
    const RegistryRead read;
    const QString key = keyOr(oSubKey);
    const qint32 root = rootOr(h_Key);
    if (!checkArgs(ValueName, key, root, true, nullptr))
        return QString();
    return kov_RegGetString(key, ValueName, root);
}

bool CKovReg::setStr(const QString& ValueName, const QString& Text, const QString& oSubKey,
                     qint32 h_Key)
{
    const QString key = keyOr(oSubKey);
    const qint32 root = rootOr(h_Key);
    if (!checkArgs(ValueName, key, root, true, &Text))
        return false;
    m_lastError = kov_RegSetString(key, ValueName, Text, root);
    return m_lastError;
}

qint32 CKovReg::Lng(const QString& ValueName, const QString& SubKey, qint32 h_Key)
{
    const RegistryRead read;
    const QString key = keyOr(SubKey);
    const qint32 root = rootOr(h_Key);
    // The Lng read alone reports a missing name or key to the trace channel only.
    if (!checkArgs(ValueName, key, root, false, nullptr))
        return 0;
    return qz_GetLongOrDefault(key, ValueName, 0, root);
}

bool CKovReg::setLng(const QString& ValueName, qint32 Number, const QString& SubKey, qint32 h_Key)
{
    const QString key = keyOr(SubKey);
    const qint32 root = rootOr(h_Key);
    const QString text = QString::number(Number);
    if (!checkArgs(ValueName, key, root, true, &text))
        return false;
    m_lastError = kov_RegSetLong(key, ValueName, Number, root);
    return m_lastError;
}

qint32 CKovReg::LngD(const QString& ValueName, qint32 DefaultValue, const QString& SubKey,
                     qint32 h_Key)
{
    const RegistryRead read;
    const QString key = keyOr(SubKey);
    const qint32 root = rootOr(h_Key);
    if (!checkArgs(ValueName, key, root, true, nullptr))
        return 0;
    return qz_GetLongOrDefault(key, ValueName, DefaultValue, root);
}

QVariant CKovReg::value(const QString& ValueName, const QVariant& MissingRetVal,
                        const QString& oSubKey)
{
    const RegistryRead read;
    const QString key = keyOr(oSubKey);
    const qint32 root = kHKeyLocalMachine;
    switch (qz_ValueType(key, ValueName, root)) {
    case RegType::None: {
        if (!MissingRetVal.isValid()) {
            kov_RegSetString(key, ValueName, QString(), root);
        } else if (isWholeNumber(MissingRetVal)) {
            kov_RegSetLong(key, ValueName, wholeNumber(MissingRetVal), root);
        } else {
            const int id = MissingRetVal.metaType().id();
            if (id == QMetaType::Double || id == QMetaType::LongLong ||
                id == QMetaType::QDateTime || id == QMetaType::QString)
                kov_RegSetString(key, ValueName, textForm(MissingRetVal), root);
        }
        return MissingRetVal;
    }
    case RegType::Text: {
        const QString text = kov_RegGetString(key, ValueName, root);
        if (text.isEmpty())
            return MissingRetVal.isValid() ? MissingRetVal : QVariant(QString());
        return text;
    }
    case RegType::Binary:
        return qz_GetBinary(key, ValueName, root);
    case RegType::Number:
        return qz_GetLongOrDefault(key, ValueName, 0, root);
    default:
        return QVariant();
    }
}

void CKovReg::setValue(const QString& ValueName, const QVariant& NV, const QString& oSubKey)
{
    const QString key = keyOr(oSubKey);
    const qint32 root = kHKeyLocalMachine;
    const qint32 type = qz_ValueType(key, ValueName, root);
    if (type == RegType::Text) {
        kov_RegSetString(key, ValueName, textForm(NV), root);
        return;
    }
    if (type == RegType::Number) {
        if (NV.metaType().id() == QMetaType::QString && NV.toString().isEmpty()) {
            DeleteValue(ValueName, key, root);
            return;
        }
        qint32 number = 0;
        QString error;
        if (!toLong(NV, &number, &error)) {
            kov_DebugMessage(QStringLiteral("CKovreg Property Let Value (") + ValueName +
                                 QStringLiteral(") - ") + error,
                             true);
            return;
        }
        kov_RegSetLong(key, ValueName, number, root);
        return;
    }
    if (isWholeNumber(NV))
        kov_RegSetLong(key, ValueName, wholeNumber(NV), root);
    else if (NV.metaType().id() == QMetaType::QString)
        kov_RegSetString(key, ValueName, NV.toString(), root);
}

bool CKovReg::ValueExists(const QString& ValueName)
{
    const RegistryRead read;
    return qz_ValueExists(m_subKey, ValueName, kHKeyLocalMachine);
}

QString CKovReg::EnumValue(qint32 Index, const QString& ThisSubkey, qint32 ThishKey)
{
    const QString key = keyOr(ThisSubkey);
    const qint32 root = rootOr(ThishKey);
    RegistryStore& store = RegistryStore::instance();
    StoreResult rc = store.openKey(root, key, false);
    if (rc != StoreResult::Success) {
        classMessage(QStringLiteral("EnumValue RegOpenKeyEx (") + key +
                         QStringLiteral(") FAILED : ") + QString::number(kov::resultNumber(rc)),
                     false);
        return QString();
    }
    QString name;
    qint32 type = 0;
    rc = store.enumValue(root, key, Index, &name, &type);
    if (rc != StoreResult::Success) {
        classMessage(QStringLiteral("EnumValue RegEnumValue FAILED. Index = ") +
                         QString::number(Index) + QStringLiteral(" RetVal = ") +
                         QString::number(kov::resultNumber(rc)) + kov_CrLf() +
                         QStringLiteral("  lpType = ") + QString::number(type) +
                         QStringLiteral("  ThisSubKey = ") + key,
                     false);
        return QString();
    }
    return kov_StripNull(name.left(260));
}

bool CKovReg::DeleteValue(const QString& ValueName, const QString& SubKey, qint32 h_Key)
{
    if (ValueName.isEmpty())
        return false;
    const QString key = keyOr(SubKey);
    const qint32 root = rootOr(h_Key);
    RegistryStore& store = RegistryStore::instance();
    StoreResult rc = store.openKey(root, key, false);
    if (rc != StoreResult::Success) {
        classMessage(QStringLiteral("RegOpenKeyEx(") + key + QStringLiteral(") FAILED : ") +
                         QString::number(kov::resultNumber(rc)),
                     true);
        return false;
    }
    rc = store.deleteValue(root, key, ValueName);
    if (rc != StoreResult::Success) {
        classMessage(QStringLiteral("RegDeleteValue(") + ValueName + QStringLiteral(") FAILED : ") +
                         QString::number(kov::resultNumber(rc)),
                     true);
        return false;
    }
    return true;
}

bool CKovReg::DeleteKey(const QString& SubKey, qint32 h_Key)
{
    return RegistryStore::instance().deleteKey(rootOr(h_Key), keyOr(SubKey)) ==
           StoreResult::Success;
}

bool CKovReg::Export(const QString& FileName, const QString& ThisSubkey, QString* whyNot)
{
    const QString key = kov_NormaliseKey(keyOr(ThisSubkey));
    RegistryStore& store = RegistryStore::instance();
    if (store.openKey(m_hKey, key, false) != StoreResult::Success) {
        if (whyNot) {
            const QString problem = store.problem();
            *whyNot = problem.isEmpty() ? QStringLiteral("no settings are stored") : problem;
        }
        return false;
    }
    const QString crlf = kov_CrLf();
    QString out = QStringLiteral("REGEDIT4") + crlf + crlf + QLatin1Char('[') + rootName(m_hKey) +
                  QLatin1Char('\\') + key + QLatin1Char(']') + crlf;
    auto quoted = [](QString s) {
        s.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
        s.replace(QLatin1Char('"'), QLatin1String("\\\""));
        return QLatin1Char('"') + s + QLatin1Char('"');
    };
    QString name;
    qint32 type = 0;
    for (qint32 i = 0; store.enumValue(m_hKey, key, i, &name, &type) == StoreResult::Success; ++i) {
        QByteArray data;
        store.queryValue(m_hKey, key, name, &type, &data);
        out += quoted(name) + QLatin1Char('=');
        if (type == RegType::Text) {
            const qsizetype nul = data.indexOf('\0');
            out += quoted(kov::fromCodePage(nul < 0 ? data : data.left(nul)));
        } else if (type == RegType::Number && data.size() == 4) {
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
    return kov_WritePrivateFile(FileName, out, whyNot);
}
