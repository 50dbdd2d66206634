#pragma once
// Whether a file the program reads is there to be read.
#include <QString>

/// True when Path names a file (not a folder) that holds at least one byte.
bool kov_FileExists(const QString& Path);
