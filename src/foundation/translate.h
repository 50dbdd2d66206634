#pragma once
// kov::translate, the lookup of every user-visible text in "strings.dat" and
// "KovFerritStrings.dat" of the program folder, or in the German pair that ships with the
// program.
#include <QString>

namespace kov {
QString translate(const QString& text);
/// Forgets the loaded lists, so the next call loads the files again. The program never calls
/// it (a load is tried once per run); tests do, to start each case fresh.
void resetTranslations();
} // namespace kov
