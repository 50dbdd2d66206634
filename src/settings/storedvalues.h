#pragma once
// Below SettingsStore: one value of the settings database, read or written by key path and name.
// Each call opens the key and does one operation; a write creates a missing key.
#include <QByteArray>
#include <QString>

namespace kov {
bool storeText(const QString& subKey, const QString& name, const QString& text, qint32 root);
bool storeNumber(const QString& subKey, const QString& name, qint32 number, qint32 root);
qint32 storedTextSize(const QString& subKey, const QString& name, qint32 root);
QString storedText(const QString& subKey, const QString& name, qint32 root);

qint32 storedType(const QString& subKey, const QString& name, qint32 root);
bool storedValueExists(const QString& subKey, const QString& name, qint32 root);
QByteArray storedBytes(const QString& subKey, const QString& name, qint32 root);
qint32 storedNumberOr(const QString& subKey, const QString& name, qint32 defaultNumber,
                      qint32 root);
} // namespace kov
