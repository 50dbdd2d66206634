#pragma once
// The program's own names: the title its message boxes carry and the executable name it
// records in the settings.
#include <QString>

namespace kov {
/// Application title: the caption of every message box that names no other.
QString appTitle();
/// The executable name the program records in the setting `app.EXEName` ("kovferrit").
QString executableName();
void setExecutableName(const QString& name);
} // namespace kov
