#pragma once
// `Translate`, the lookup of every user-visible text in "strings.dat" and
// "KovFerritStrings.dat" of the program folder.
#include <QString>

namespace kov {
QString translate(const QString& text);
/// Forgets the loaded lists, so the next call loads the files again. The program never calls
/// it (a load is tried once per run); tests do, to start each case fresh.
void resetTranslations();
} // namespace kov
