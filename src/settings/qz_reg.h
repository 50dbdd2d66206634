#pragma once
// Below CKovReg: one value of the settings database, read or written by key path and name.
// Each call opens the key and does one operation; a write creates a missing key.
#include <QByteArray>
#include <QString>

bool kov_RegSetString(const QString& SubKey, const QString& ValueName, const QString& Text,
                      qint32 Root);
bool kov_RegSetLong(const QString& SubKey, const QString& ValueName, qint32 Number, qint32 Root);
qint32 kov_RegStringSize(const QString& SubKey, const QString& ValueName, qint32 Root);
QString kov_RegGetString(const QString& SubKey, const QString& ValueName, qint32 Root);

qint32 qz_ValueType(const QString& SubKey, const QString& ValueName, qint32 Root);
bool qz_ValueExists(const QString& SubKey, const QString& ValueName, qint32 Root);
QByteArray qz_GetBinary(const QString& SubKey, const QString& ValueName, qint32 Root);
qint32 qz_GetLongOrDefault(const QString& SubKey, const QString& ValueName, qint32 Default,
                           qint32 Root);
