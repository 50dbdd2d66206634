#include "translate.h"

#include "foundation/ckovqzcsv.h"
#include "foundation/kov_paths.h"
#include "foundation/kov_vb.h"

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

QStringList readList(const QString& path)
{
    QStringList lines = kov_ReadLines(path, nullptr);
    for (QString& line : lines)
        line = kov_StripNull(line);
    return lines;
}
} // namespace

void Translate_Reset()
{
    state() = TranslationState();
}

QString Translate(const QString& Text)
{
    TranslationState& s = state();
    if (!s.loaded) {
        // Tried once per run, whatever the outcome.
        s.loaded = true;
        s.englishPath = kov_ProgramFile(QStringLiteral("strings.dat"));
        s.translationPath = kov_ProgramFile(kov_AppTitle() + QStringLiteral("Strings.dat"));
        if (!kov_FileExists(s.translationPath) || !kov_FileExists(s.englishPath))
            return Text;
        s.english = readList(s.englishPath);
        s.translation = readList(s.translationPath);
        // Lists of different length leave this call untranslated; later calls use them.
        if (s.english.size() != s.translation.size())
            return Text;
    }
    const qsizetype i = s.english.indexOf(Text);
    if (i >= 0 && i < s.translation.size())
        return s.translation.at(i);
    return Text;
}
