#pragma once
// Qt's own texts (the standard buttons of message boxes, the edit fields' context menus) in the
// user's language, from the translations Qt ships for it (Debian: qt6-translations-l10n).
#include <QLocale>

namespace kov {
/// Installs Qt's translation for `locale` into the application. False when none is installed
/// for it (English, or the package missing): Qt's texts then stay English.
bool installQtTranslation(const QLocale& locale = QLocale());
} // namespace kov
