#include "datetext.h"

#include <QLocale>
#include <QRegularExpression>

#include <ctime>

namespace {
QString shortDateFormat(const QLocale& locale)
{
    QString format = locale.dateFormat(QLocale::ShortFormat);
    // The general date form always shows four year digits, whatever the locale's short form.
    if (!format.contains(QLatin1String("yyyy")))
        format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return format;
}

// The form the service sends, "yyyy-MM-dd HH:mm:ss" (a T may stand for the blank, the seconds
// may be missing), read directly: the locale's parser costs several microseconds a text. Any
// other text, or one that is not a real date and time, goes through the forms below.
QDateTime isoDateTime(QStringView t)
{
    if (t.size() != 19 && t.size() != 16)
        return QDateTime();
    auto number = [t](qsizetype at, qsizetype count, int* value) {
        *value = 0;
        for (qsizetype i = at; i < at + count; ++i) {
            if (t[i] < QLatin1Char('0') || t[i] > QLatin1Char('9'))
                return false;
            *value = *value * 10 + (t[i].unicode() - '0');
        }
        return true;
    };
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (!number(0, 4, &year) || t[4] != QLatin1Char('-') || !number(5, 2, &month) ||
        t[7] != QLatin1Char('-') || !number(8, 2, &day) ||
        (t[10] != QLatin1Char(' ') && t[10] != QLatin1Char('T')) || !number(11, 2, &hour) ||
        t[13] != QLatin1Char(':') || !number(14, 2, &minute))
        return QDateTime();
    if (t.size() == 19 && (t[16] != QLatin1Char(':') || !number(17, 2, &second)))
        return QDateTime();
    const QDate date(year, month, day);
    const QTime time(hour, minute, second);
    if (!date.isValid() || !time.isValid())
        return QDateTime();
    return QDateTime(date, time); // invalid in a daylight-saving gap, as the parser's
}

QDateTime tryFormats(const QLocale& locale, const QString& text)
{
    const QString date = shortDateFormat(locale);
    // The service's times are ISO texts, so those forms come first. A locale form that reads
    // an ISO text at all is a year-month-day form and reads the same moment.
    const QString formats[] = {
        QStringLiteral("yyyy-MM-dd HH:mm:ss"),
        QStringLiteral("yyyy-MM-ddTHH:mm:ss"),
        QStringLiteral("yyyy-MM-dd HH:mm"),
        QStringLiteral("yyyy-MM-ddTHH:mm"),
        date + QStringLiteral(" HH:mm:ss"),
        date + QStringLiteral(" H:mm:ss"),
        date + QStringLiteral(" HH:mm"),
        locale.dateTimeFormat(QLocale::ShortFormat),
        locale.dateTimeFormat(QLocale::LongFormat),
    };
    for (const QString& format : formats) {
        const QDateTime dt = locale.toDateTime(text, format);
        if (dt.isValid())
            return dt;
    }
    const QString dateOnly[] = {QStringLiteral("yyyy-MM-dd"), date,
                                locale.dateFormat(QLocale::ShortFormat),
                                locale.dateFormat(QLocale::LongFormat)};
    for (const QString& format : dateOnly) {
        const QDate d = locale.toDate(text, format);
        if (d.isValid())
            return QDateTime(d, QTime(0, 0));
    }
    return QDateTime();
}

// "July 4, 1776" and "July 4, 1776 10:00:00": English month names in any locale.
QDateTime tryEnglish(const QString& text)
{
    static const QRegularExpression re(
        QStringLiteral("^([A-Za-z]+)\\.?\\s+(\\d{1,2}),?\\s+(\\d{4})(?:\\s+(\\d{1,2}):(\\d{2})"
                       "(?::(\\d{2}))?)?$"));
    const QRegularExpressionMatch m = re.match(text);
    if (!m.hasMatch())
        return QDateTime();
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    int month = 0;
    for (int i = 1; i <= 12 && month == 0; ++i) {
        if (m.captured(1).compare(english.monthName(i, QLocale::LongFormat), Qt::CaseInsensitive) ==
                0 ||
            m.captured(1).compare(english.monthName(i, QLocale::ShortFormat),
                                  Qt::CaseInsensitive) == 0)
            month = i;
    }
    const QDate date(m.captured(3).toInt(), month, m.captured(2).toInt());
    if (month == 0 || !date.isValid())
        return QDateTime();
    const QTime time = m.captured(4).isEmpty() ? QTime(0, 0)
                                               : QTime(m.captured(4).toInt(), m.captured(5).toInt(),
                                                       m.captured(6).toInt());
    return time.isValid() ? QDateTime(date, time) : QDateTime();
}

void appendNumber(QString* out, int value, int width)
{
    char digits[12];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value > 0 && n < 11);
    for (int i = n; i < width; ++i)
        out->append(QLatin1Char('0'));
    while (n > 0)
        out->append(QLatin1Char(digits[--n]));
}

// A date written in `format` when the format uses only d, dd, M, MM, yy, yyyy and characters
// that are not letters; a null text for any other format (month names, quoted text), which
// the locale then writes. A sync writes one date per job: the locale's writer costs
// several microseconds each time.
QString simpleDateText(QDate date, const QString& format)
{
    if (date.year() < 1 || date.year() > 9999)
        return QString();
    QString out;
    out.reserve(format.size() + 2);
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format[i];
        qsizetype run = 1;
        while (i + run < format.size() && format[i + run] == c)
            ++run;
        if (c == QLatin1Char('d') && run <= 2)
            appendNumber(&out, date.day(), static_cast<int>(run));
        else if (c == QLatin1Char('M') && run <= 2)
            appendNumber(&out, date.month(), static_cast<int>(run));
        else if (c == QLatin1Char('y') && run == 4)
            appendNumber(&out, date.year(), 4);
        else if (c == QLatin1Char('y') && run == 2)
            appendNumber(&out, date.year() % 100, 2);
        else if (c.isLetter() || c == QLatin1Char('\'') || c == QLatin1Char('\\'))
            return QString();
        else
            out.append(QStringView(format).mid(i, run));
        i += run;
    }
    return out;
}

void appendTime(QString* out, QTime time)
{
    if (!time.isValid())
        return;
    appendNumber(out, time.hour(), 2);
    out->append(QLatin1Char(':'));
    appendNumber(out, time.minute(), 2);
    out->append(QLatin1Char(':'));
    appendNumber(out, time.second(), 2);
}
} // namespace

void kov::cacheLocalTimeRules()
{
    // With TZ unset the C library looks at /etc/localtime again on every local-time conversion
    // (a stat(2) each time, several per date read). Naming the same file in TZ makes it read
    // the rules once per process. A TZ that is set, even empty, is left as it is.
    static const bool cached = [] {
        if (!qEnvironmentVariableIsSet("TZ")) {
            qputenv("TZ", QByteArrayLiteral(":/etc/localtime"));
            ::tzset();
        }
        return true;
    }();
    Q_UNUSED(cached);
}

QDateTime kov::zeroDate()
{
    return QDateTime(QDate(1899, 12, 30), QTime(0, 0));
}

QString kov::dateText(const QDateTime& value)
{
    kov::cacheLocalTimeRules();
    // The short date form is looked up again only when the default locale changes.
    // A locale with digits of its own is always written by the locale.
    static QLocale cachedLocale;
    static QString cachedFormat = shortDateFormat(cachedLocale);
    static bool asciiDigits = cachedLocale.zeroDigit() == QLatin1String("0");
    const QLocale locale;
    if (!(locale == cachedLocale)) {
        cachedLocale = locale;
        cachedFormat = shortDateFormat(locale);
        asciiDigits = locale.zeroDigit() == QLatin1String("0");
    }
    QString text = asciiDigits ? simpleDateText(value.date(), cachedFormat) : QString();
    if (text.isNull())
        text = locale.toString(value.date(), cachedFormat);
    if (value.time() == QTime(0, 0))
        return text;
    text.append(QLatin1Char(' '));
    appendTime(&text, value.time());
    return text;
}

QString kov::isoText(const QDateTime& value)
{
    const QDate date = value.date();
    if (!value.isValid() || date.year() < 1 || date.year() > 9999)
        return value.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
    QString text;
    text.reserve(19);
    appendNumber(&text, date.year(), 4);
    text.append(QLatin1Char('-'));
    appendNumber(&text, date.month(), 2);
    text.append(QLatin1Char('-'));
    appendNumber(&text, date.day(), 2);
    text.append(QLatin1Char('T'));
    appendTime(&text, value.time());
    return text;
}

QString kov::isoTextWithOffset(const QDateTime& value)
{
    if (!value.isValid())
        return QString();
    kov::cacheLocalTimeRules();
    // Written by hand: Qt writes "Z" for UTC and no offset at all for some time specs.
    const int offset = value.offsetFromUtc();
    const int minutes = qAbs(offset) / 60;
    QString text = kov::isoText(value);
    text.append(QLatin1Char(offset < 0 ? '-' : '+'));
    appendNumber(&text, minutes / 60, 2);
    text.append(QLatin1Char(':'));
    appendNumber(&text, minutes % 60, 2);
    return text;
}

QDateTime kov::parseDate(const QString& text, bool* ok)
{
    kov::cacheLocalTimeRules();
    const QString t = text.trimmed();
    QDateTime result;
    if (!t.isEmpty()) {
        result = isoDateTime(t);
        if (!result.isValid())
            result = tryFormats(QLocale(), t);
        if (!result.isValid())
            result = tryEnglish(t);
        if (!result.isValid())
            result = tryFormats(QLocale::c(), t);
    }
    if (ok)
        *ok = result.isValid();
    return result;
}
