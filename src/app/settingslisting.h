#pragma once
// The listing of every value under the settings key, shared by the log viewer and
// `kovferrit-cli settings list`.
#include <QJsonObject>
#include <QString>

namespace kov {
/// One "name : value" line (CR LF ended) per value, in enumeration order.
QString settingsListing();
/// The same values by name, numbers as numbers.
QJsonObject settingsObject();
} // namespace kov
