#pragma once
// The listing of every value under the settings key, shared by the log viewer and
// `kovferrit-cli settings list`.
#include <QString>

namespace kov {
/// One "name : value" line (CR LF ended) per value, in enumeration order.
QString settingsListing();
} // namespace kov
