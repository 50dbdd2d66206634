#pragma once
// `CKovReg`, the settings-store object every window and class owns.
#include <QString>
#include <QVariant>

/// The settings key of the program below HKEY_LOCAL_MACHINE.
QString kov_SettingsKey();

class CKovReg
{
public:
    CKovReg();

    bool SetInfo(const QString& NewSubKey, const QString& NewAddInfo = QString());

    // Str, Lng and LngD: reads, and writes (the property Let).
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

    // Members the program does not call; they keep their registry meanings.
    qint32 hKey() const { return m_hKey; }
    void setHKey(qint32 root);
    QString SubKey() const { return m_subKey; }
    void setSubKey(const QString& key);
    QString AddInfo() const { return m_addInfo; }
    bool LastError() const { return m_lastError; }
    bool KeyExists(const QString& ThisKey, qint32 ThishKey = 0);
    qint32 GetType(const QString& ThisSubkey, const QString& ValueName, qint32 h_Key = 0);
    qint32 GetStringSize(const QString& SubKey, const QString& ValueName, qint32 h_Key = 0);
    QString EnumKey(qint32 Index, const QString& ThisSubkey, qint32 OhKey, bool bFullPath);
    bool CopyKey(const QString& SourceKey, const QString& DestinationKey, qint32 hkeySrc,
                 qint32 hKeyDest);
    bool DeleteKey(const QString& SubKey, qint32 h_Key = 0);
    bool SaveToFile(const QString& FileName);
    /// Writes the key as a REGEDIT4 text file (what "REGEDIT /E" would write), mode 0600 since
    /// it holds the account; why it could not, in `whyNot`.
    bool Export(const QString& FileName, const QString& ThisSubkey = QString(),
                QString* whyNot = nullptr);
    /// True when two exported files agree line by line, lines beginning with ";" skipped.
    bool FileCompare(const QString& File1, const QString& File2);

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
