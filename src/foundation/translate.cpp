#include "translate.h"

#include "foundation/csvtable.h"
#include "foundation/fileexists.h"
#include "foundation/programfolder.h"
#include "foundation/programname.h"
#include "foundation/texttools.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <QStringList>

namespace {
struct TranslationState
{
    bool loaded = false;
    QStringList english;
    QStringList translation;
    QString englishPath;
    QString translationPath;
};

TranslationState& state()
{
    static TranslationState s;
    return s;
}

// The German pair that ships with the program: beside an installed binary under
// ../share/kovferrit/translations/de, and for a binary run from its build tree the copy in the
// source tree. The first folder that holds both files is used.
bool findSharedGerman(QString* englishPath, QString* translationPath)
{
    if (!QCoreApplication::instance())
        return false;
    const QString exeDir = QCoreApplication::applicationDirPath();
    QStringList folders{exeDir + QStringLiteral("/../share/kovferrit/translations/de")};
#if defined(KOV_BUILD_DIR) && defined(KOV_SOURCE_TRANSLATIONS)
    if (QDir::cleanPath(exeDir).startsWith(QDir::cleanPath(QStringLiteral(KOV_BUILD_DIR)) +
                                           QLatin1Char('/')))
        folders << QStringLiteral(KOV_SOURCE_TRANSLATIONS);
#endif
    for (const QString& folder : folders) {
        const QString english = QDir::cleanPath(folder + QStringLiteral("/strings.dat"));
        const QString translation = QDir::cleanPath(folder + QLatin1Char('/') + kov::appTitle() +
                                                    QStringLiteral("Strings.dat"));
        if (kov::fileExists(english) && kov::fileExists(translation)) {
            *englishPath = english;
            *translationPath = translation;
            return true;
        }
    }
    return false;
}

QStringList readList(const QString& path)
{
    QStringList lines = kov::readLines(path, nullptr);
    for (QString& line : lines)
        line = kov::stripNull(line);
    return lines;
}
} // namespace

void kov::resetTranslations()
{
    state() = TranslationState();
}

QString kov::translate(const QString& text)
{
    TranslationState& s = state();
    if (!s.loaded) {
        // Tried once per run, whatever the outcome.
        s.loaded = true;
        s.englishPath = kov::programFile(QStringLiteral("strings.dat"));
        s.translationPath = kov::programFile(kov::appTitle() + QStringLiteral("Strings.dat"));
        const bool ownTranslation = kov::fileExists(s.translationPath);
        const bool ownEnglish = kov::fileExists(s.englishPath);
        // A user whose language is German gets the shipped German texts, unless the program
        // folder holds string files of its own. QLocale() is the user's locale (LC_ALL,
        // LC_MESSAGES, LANG) as long as the program sets no other default.
        if (!ownTranslation && !ownEnglish && QLocale().language() == QLocale::German) {
            if (!findSharedGerman(&s.englishPath, &s.translationPath))
                return text;
        } else if (!ownTranslation || !ownEnglish) {
            return text;
        }
        s.english = readList(s.englishPath);
        s.translation = readList(s.translationPath);
        // Lists of different length leave this call untranslated; later calls use them.
        if (s.english.size() != s.translation.size())
            return text;
    }
    const qsizetype i = s.english.indexOf(text);
    if (i >= 0 && i < s.translation.size())
        return s.translation.at(i);
    return text;
}
