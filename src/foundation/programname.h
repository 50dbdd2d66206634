#pragma once
// The program's own names: the title its message boxes carry and the executable name it
// records in the settings.
#include <QString>

/// Application title: the caption of every message box that names no other.
QString kov_AppTitle();
/// The executable name the program records in `app.EXEName` ("kovferrit").
QString kov_ExecutableName();
void kov_SetExecutableName(const QString& name);
