#pragma once
// The program's version as the windows and messages show it.
#include <QString>

namespace kov {
/// "Version " (translated) and the version number.
QString versionText();
} // namespace kov
