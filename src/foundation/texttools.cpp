#include "texttools.h"

#include "codepage.h"
#include "trace.h"

bool kov_IsUrlSafe(QChar Char)
{
    const char16_t c = Char.unicode();
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_';
}

QString kov_URLEncode(const QString& Text)
{
    if (Text.isEmpty()) {
        kov_DebugMessage(QStringLiteral("kov_URLEncode Sting is empty"), false);
        return QString();
    }
    QString out;
    for (const QChar c : Text) {
        if (kov_IsUrlSafe(c)) {
            out.append(c);
        } else {
            out.append(
                QStringLiteral("%%1").arg(kov::codePageByte(c), 2, 16, QLatin1Char('0')).toUpper());
        }
    }
    return out;
}

QString kov_StripNull(const QString& Text)
{
    if (Text.isEmpty())
        return QString();
    const qsizetype nul = Text.indexOf(QChar(0));
    return nul < 0 ? Text : Text.left(nul);
}

QString kov_SafeFileName(const QString& Name, const QString& Extension, bool ReplaceIllegal,
                         bool SpacesToUnderscore, bool FileNameOnly)
{
    if (Name.isEmpty())
        return QString();
    QString work = kov_StripNull(Name);
    if (work.size() > 215)
        work = work.left(215);
    if (FileNameOnly) {
        // 1-based position p of the last "\"; keep the last (length - p) characters of Name
        // as given, which is the text after the backslash for ordinary names.
        const qsizetype p = work.lastIndexOf(QLatin1Char('\\')) + 1;
        if (p > 0)
            work = Name.right(work.size() - p);
    }
    if (SpacesToUnderscore)
        work.replace(QLatin1Char(' '), QLatin1Char('_'));
    if (ReplaceIllegal) {
        QString illegal = QStringLiteral("/?\"<>|*");
        if (FileNameOnly)
            illegal += QStringLiteral("\\:");
        for (QChar& c : work) {
            if (illegal.contains(c))
                c = QLatin1Char('_');
        }
        const qsizetype extensionDot = work.size() - 4; // 0-based "length - 3"
        for (qsizetype i = 0; i < work.size(); ++i) {
            if (work[i] == QLatin1Char('.') && i != extensionDot)
                work[i] = QLatin1Char('_');
        }
    }
    if (!Extension.isEmpty()) {
        if (!Extension.startsWith(QLatin1Char('.')))
            work += QLatin1Char('.');
        work += Extension;
    }
    return kov_StripNull(work);
}
