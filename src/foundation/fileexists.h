#pragma once
// Whether a file the program reads is there to be read.
#include <QString>

namespace kov {
/// True when `path` names a file (not a folder) that holds at least one byte.
bool fileExists(const QString& path);
} // namespace kov
