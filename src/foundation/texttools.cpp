#include "texttools.h"

#include "codepage.h"
#include "trace.h"

bool kov::isUrlSafe(QChar ch)
{
    const char16_t c = ch.unicode();
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_';
}

QString kov::urlEncode(const QString& text)
{
    if (text.isEmpty()) {
        kov::trace(QStringLiteral("kov_URLEncode Sting is empty"), false);
        return QString();
    }
    QString out;
    for (const QChar c : text) {
        if (kov::isUrlSafe(c)) {
            out.append(c);
        } else {
            out.append(
                QStringLiteral("%%1").arg(kov::codePageByte(c), 2, 16, QLatin1Char('0')).toUpper());
        }
    }
    return out;
}

QString kov::stripNull(const QString& text)
{
    if (text.isEmpty())
        return QString();
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}

QString kov::safeFileName(const QString& name, const QString& extension, Blanks blanks,
                          NamePart part)
{
    const bool fileNameOnly = part == NamePart::AfterLastBackslash;
    if (name.isEmpty())
        return QString();
    QString work = kov::stripNull(name);
    if (work.size() > 215)
        work = work.left(215);
    if (fileNameOnly) {
        // p characters lead up to and include the last "\". The last (length - p) characters
        // are taken from `name` as given, not from the shortened text: for a name without a NUL
        // and within 215 characters, that is the text after the backslash.
        const qsizetype p = work.lastIndexOf(QLatin1Char('\\')) + 1;
        if (p > 0)
            work = name.right(work.size() - p);
    }
    if (blanks == Blanks::ToUnderscores)
        work.replace(QLatin1Char(' '), QLatin1Char('_'));
    QString illegal = QStringLiteral("/?\"<>|*");
    if (fileNameOnly)
        illegal += QStringLiteral("\\:");
    for (QChar& c : work) {
        if (illegal.contains(c))
            c = QLatin1Char('_');
    }
    const qsizetype extensionDot = work.size() - 4; // the dot of a three-letter extension
    for (qsizetype i = 0; i < work.size(); ++i) {
        if (work[i] == QLatin1Char('.') && i != extensionDot)
            work[i] = QLatin1Char('_');
    }
    if (!extension.isEmpty()) {
        if (!extension.startsWith(QLatin1Char('.')))
            work += QLatin1Char('.');
        work += extension;
    }
    return kov::stripNull(work);
}
