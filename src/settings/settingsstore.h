#pragma once
// `SettingsStore`, the settings-store object every window and class owns.
#include <QString>
#include <QVariant>

namespace kov {
/// The key path under which the program keeps its settings in the settings database.
QString settingsKey();
} // namespace kov

class SettingsStore
{
public:
    SettingsStore();

    bool setKey(const QString& subKey, const QString& addInfo = QString());

    // text, number and numberOr read a value; setText and setNumber write one.
    QString text(const QString& name, const QString& subKey = QString(), qint32 rootOverride = 0);
    bool setText(const QString& name, const QString& text, const QString& subKey = QString(),
                 qint32 rootOverride = 0);
    qint32 number(const QString& name, const QString& subKey = QString(), qint32 rootOverride = 0);
    bool setNumber(const QString& name, qint32 number, const QString& subKey = QString(),
                   qint32 rootOverride = 0);
    qint32 numberOr(const QString& name, qint32 defaultValue = 0, const QString& subKey = QString(),
                    qint32 rootOverride = 0);

    /// Reads a value by its stored type; an invalid `missing` stands for "absent".
    QVariant value(const QString& name, const QVariant& missing = QVariant(),
                   const QString& subKey = QString());

    bool valueExists(const QString& name);
    QString valueName(qint32 index, const QString& subKey, qint32 rootOverride);
    bool deleteValue(const QString& name, const QString& subKey = QString(),
                     qint32 rootOverride = 0);

    // What the object was set to, and whether its last setText or setNumber succeeded.
    qint32 root() const { return m_root; }
    QString subKey() const { return m_subKey; }
    QString addInfo() const { return m_addInfo; }
    bool lastError() const { return m_lastError; }
    /// Removes a key that holds no keys below it, with its values.
    bool deleteKey(const QString& subKey, qint32 rootOverride = 0);
    /// Writes the key in the REGEDIT4 text format, mode 0600 since it holds the account; why it
    /// could not, in `whyNot`.
    bool exportTo(const QString& fileName, const QString& subKey = QString(),
                  QString* whyNot = nullptr);

    static bool isValidRoot(qint32 root);
    static QString rootName(qint32 root);

private:
    bool checkArgs(const QString& name, const QString& key, qint32 root, bool boxForEmpty,
                   const QString* newValue);
    QString keyOr(const QString& key) const { return key.isEmpty() ? m_subKey : key; }
    qint32 rootOr(qint32 root) const { return root == 0 ? m_root : root; }

    qint32 m_root;
    QString m_subKey;
    QString m_addInfo;
    bool m_lastError = false;
};

namespace kov {
/// A new settings-store object pointed at the settings key, as every owner makes one.
SettingsStore settings();
} // namespace kov
