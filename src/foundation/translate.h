#pragma once
// kov::translate, the lookup of every user-visible text in "strings.dat" and
// "KovFerritStrings.dat" of the program folder, or in the pair that ships with the program for
// the user's language.
#include <QString>
#include <QStringList>

namespace kov {
QString translate(const QString& text);
/// Forgets the loaded lists, so the next call loads the files again. The program never calls
/// it (a load is tried once per run); tests do, to start each case fresh.
void resetTranslations();
/// The folder under `base` that holds the string-file pair for the first language of
/// `uiLanguages` (as QLocale::uiLanguages() lists them, "de-AT") that has one: "de_AT" is
/// tried before "de". Empty when none has.
QString languageFolder(const QString& base, const QStringList& uiLanguages);
} // namespace kov
