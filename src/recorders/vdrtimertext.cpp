#include "vdrtimertext.h"

namespace kov::vdr {
namespace {
const QString kOpen = QStringLiteral("<kovferrit>");
const QString kClose = QStringLiteral("</kovferrit>");
// VDR keeps a recording in a folder named after it; a file system takes 255 bytes a name.
constexpr qsizetype kMaxNameBytes = 200;

bool isPlain(QChar c)
{
    const char16_t u = c.unicode();
    return u >= 0x20 && u < 0x7f && u != u':' && u != u'|' && u != u'&' && u != u'<' && u != u'>';
}

// The text between <tag> and </tag> from `from` on; `from` moves past it. None when absent.
std::optional<QString> element(const QString& text, const QString& tag, qsizetype* from)
{
    const QString open = QLatin1Char('<') + tag + QLatin1Char('>');
    const QString close = QStringLiteral("</") + tag + QLatin1Char('>');
    if (!QStringView(text).mid(*from).startsWith(open))
        return std::nullopt;
    const qsizetype start = *from + open.size();
    const qsizetype end = text.indexOf(close, start);
    if (end < 0)
        return std::nullopt;
    *from = end + close.size();
    return decodeText(text.mid(start, end - start));
}

// A name or folder as VDR may take it into a file name.
QString plainPart(const QString& text, QChar tilde)
{
    QString part;
    part.reserve(text.size());
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            part += QLatin1Char(' ');
        else if (c == QLatin1Char(':'))
            part += QLatin1Char('|');
        else if (c == QLatin1Char('~'))
            part += tilde;
        else if (c == QLatin1Char('{')) // "{...}" would make a pattern timer of VDR's
            part += QLatin1Char('(');
        else if (c == QLatin1Char('}'))
            part += QLatin1Char(')');
        else
            part += c;
    }
    // VDR puts the programme's own title and episode in place of these words when it records.
    part.replace(QLatin1String("TITLE"), QLatin1String("Title"));
    part.replace(QLatin1String("EPISODE"), QLatin1String("Episode"));
    return part.trimmed();
}

QString shortened(QString name)
{
    while (name.toUtf8().size() > kMaxNameBytes) {
        name.chop(name.size() > 1 && name.at(name.size() - 1).isLowSurrogate() ? 2 : 1);
        name = name.trimmed();
    }
    return name;
}
} // namespace

QString encodeText(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (isPlain(c))
            out += c;
        else
            out += QStringLiteral("&#") + QString::number(c.unicode()) + QLatin1Char(';');
    }
    return out;
}

QString decodeText(const QString& encoded)
{
    QString out;
    out.reserve(encoded.size());
    for (qsizetype i = 0; i < encoded.size(); ++i) {
        const qsizetype semicolon = encoded.at(i) == QLatin1Char('&')
                                        ? encoded.indexOf(QLatin1Char(';'), i)
                                        : qsizetype(-1);
        const QStringView entity =
            semicolon > i ? QStringView(encoded).mid(i + 1, semicolon - i - 1) : QStringView();
        bool number = false;
        const uint code = entity.startsWith(u'#') ? entity.mid(1).toUInt(&number) : 0;
        if (number && code <= 0xffff)
            out += QChar(char16_t(code));
        else if (entity == u"amp")
            out += QLatin1Char('&');
        else if (entity == u"lt")
            out += QLatin1Char('<');
        else if (entity == u"gt")
            out += QLatin1Char('>');
        else {
            out += encoded.at(i);
            continue;
        }
        i = semicolon;
    }
    return out;
}

QString auxField(const Mark& mark)
{
    QString aux = kOpen;
    for (const Claim& claim : mark.claims) {
        aux += QStringLiteral("<claim><account>") + encodeText(claim.account) +
               QStringLiteral("</account><name>") + encodeText(claim.name) +
               QStringLiteral("</name><tag>") + encodeText(claim.tag) +
               QStringLiteral("</tag></claim>");
    }
    return aux + kClose + mark.rest;
}

std::optional<Mark> markOf(const QString& aux)
{
    if (!aux.startsWith(kOpen))
        return std::nullopt;
    Mark mark;
    qsizetype at = kOpen.size();
    // Written before timers carried accounts: "<name>...</name><tag>...</tag>".
    if (const auto name = element(aux, QStringLiteral("name"), &at)) {
        const auto tag = element(aux, QStringLiteral("tag"), &at);
        mark.claims << Claim{QString(), *name, tag.value_or(QString())};
    }
    for (qsizetype next = at; QStringView(aux).mid(at).startsWith(u"<claim>"); at = next) {
        next = at + 7;
        const auto account = element(aux, QStringLiteral("account"), &next);
        const auto name = account ? element(aux, QStringLiteral("name"), &next) : std::nullopt;
        const auto tag = name ? element(aux, QStringLiteral("tag"), &next) : std::nullopt;
        if (!tag || !QStringView(aux).mid(next).startsWith(u"</claim>"))
            return std::nullopt;
        next += 8;
        mark.claims << Claim{*account, *name, *tag};
    }
    if (!QStringView(aux).mid(at).startsWith(kClose))
        return std::nullopt;
    mark.rest = aux.mid(at + kClose.size());
    return mark;
}

QString fileField(const QString& folder, const QString& name)
{
    QStringList parts;
    for (const QString& level : folder.split(QLatin1Char('~'))) {
        const QString part = plainPart(level, QLatin1Char('-'));
        if (!part.isEmpty())
            parts << part;
    }
    QString title = shortened(plainPart(name, QLatin1Char('-')));
    parts << (title.isEmpty() ? QStringLiteral("KovFerrit") : title);
    return parts.join(QLatin1Char('~'));
}

} // namespace kov::vdr
