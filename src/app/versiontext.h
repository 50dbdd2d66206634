#pragma once
// The program's version as the windows and messages show it.
#include <QString>

/// "Version " (through Translate) and the version number.
QString kov_VersionText();
