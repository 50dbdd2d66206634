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

QString englishFile(const QString& folder)
{
    return folder + QStringLiteral("/strings.dat");
}

QString translationFile(const QString& folder)
{
    return folder + QLatin1Char('/') + kov::appTitle() + QStringLiteral("Strings.dat");
}

// "pt-BR" names the folder "pt_BR", then "pt"; "zh-Hans-CN" also "zh_CN".
QStringList folderNames(const QString& uiLanguage)
{
    QString name = uiLanguage;
    name.replace(QLatin1Char('-'), QLatin1Char('_'));
    const QString language = name.section(QLatin1Char('_'), 0, 0);
    QStringList names{name, QLocale(uiLanguage).name(), language};
    names.removeDuplicates();
    names.removeAll(QString());
    return names;
}

QStringList readList(const QString& path)
{
    QStringList lines = kov::readLines(path, nullptr);
    for (QString& line : lines)
        line = kov::stripNull(line);
    return lines;
}
} // namespace

QString kov::languageFolder(const QString& base, const QStringList& uiLanguages)
{
    for (const QString& uiLanguage : uiLanguages) {
        for (const QString& name : folderNames(uiLanguage)) {
            const QString folder = QDir::cleanPath(base + QLatin1Char('/') + name);
            if (kov::fileExists(englishFile(folder)) && kov::fileExists(translationFile(folder)))
                return folder;
        }
    }
    return QString();
}

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
        if (!ownTranslation && !ownEnglish) {
            // The pair shipped for the user's language, beside the binary under
            // ../share/kovferrit/translations: where it installs, and where the build writes it
            // for a binary run from the build tree. QLocale() is the user's locale (LANGUAGE,
            // LC_ALL, LC_MESSAGES, LANG) as long as the program sets no other default.
            if (!QCoreApplication::instance())
                return text;
            const QString folder =
                kov::languageFolder(QCoreApplication::applicationDirPath() +
                                        QStringLiteral("/../share/kovferrit/translations"),
                                    QLocale().uiLanguages());
            if (folder.isEmpty())
                return text;
            s.englishPath = englishFile(folder);
            s.translationPath = translationFile(folder);
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
