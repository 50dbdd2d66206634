#pragma once
// `CKovReg`, the settings-store object every window and class owns.
#include <QString>
#include <QVariant>

/// The key path under which the program keeps its settings in the settings database.
QString kov_SettingsKey();

class CKovReg
{
public:
    CKovReg();

    bool SetInfo(const QString& NewSubKey, const QString& NewAddInfo = QString());

    // Str, Lng and LngD read a value; setStr and setLng write one.
    QString Str(const QString& ValueName, const QString& oSubKey = QString(), qint32 h_Key = 0);
    bool setStr(const QString& ValueName, const QString& Text, const QString& oSubKey = QString(),
                qint32 h_Key = 0);
    qint32 Lng(const QString& ValueName, const QString& SubKey = QString(), qint32 h_Key = 0);
    bool setLng(const QString& ValueName, qint32 Number, const QString& SubKey = QString(),
                qint32 h_Key = 0);
    qint32 LngD(const QString& ValueName, qint32 DefaultValue = 0,
                const QString& SubKey = QString(), qint32 h_Key = 0);

    /// Read by stored type; an invalid MissingRetVal stands for "absent".
    QVariant value(const QString& ValueName, const QVariant& MissingRetVal = QVariant(),
                   const QString& oSubKey = QString());
    /// Write keeping the stored type.
    void setValue(const QString& ValueName, const QVariant& NV, const QString& oSubKey = QString());

    bool ValueExists(const QString& ValueName);
    QString EnumValue(qint32 Index, const QString& ThisSubkey, qint32 ThishKey);
    bool DeleteValue(const QString& ValueName, const QString& SubKey = QString(), qint32 h_Key = 0);

    // What the object was set to, and whether its last write of Str or Lng succeeded.
    qint32 hKey() const { return m_hKey; }
    QString SubKey() const { return m_subKey; }
    QString AddInfo() const { return m_addInfo; }
    bool LastError() const { return m_lastError; }
    /// Removes a key that holds no keys below it, with its values.
    bool DeleteKey(const QString& SubKey, qint32 h_Key = 0);
    /// Writes the key in the REGEDIT4 text format, mode 0600 since it holds the account; why it
    /// could not, in `whyNot`.
    bool Export(const QString& FileName, const QString& ThisSubkey = QString(),
                QString* whyNot = nullptr);

    static bool isValidRoot(qint32 root);
    static QString rootName(qint32 root);

private:
    bool checkArgs(const QString& ValueName, const QString& key, qint32 root, bool boxForEmpty,
                   const QString* newValue);
    QString keyOr(const QString& key) const { return key.isEmpty() ? m_subKey : key; }
    qint32 rootOr(qint32 root) const { return root == 0 ? m_hKey : root; }

    qint32 m_hKey;
    QString m_subKey;
    QString m_addInfo;
    bool m_lastError = false;
};

/// A new settings-store object pointed at the settings key, as every owner makes one.
CKovReg kov_Settings();
