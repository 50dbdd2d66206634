#include "numbertext.h"

#include <cmath>
#include <limits>
#include <stdexcept>

double kov::leadingNumber(const QString& text, bool* ok)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    const qsizetype start = i;
    const bool negative = i < n && text[i] == QLatin1Char('-');
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        ++i;
    qsizetype digits = 0;
    qint64 whole = 0;
    while (i < n && text[i].unicode() >= '0' && text[i].unicode() <= '9') {
        if (digits < 18)
            whole = whole * 10 + (text[i].unicode() - '0');
        ++i;
        ++digits;
    }
    // Whole numbers, nearly every number read, need no floating-point parse:
    // with up to 15 digits they are exact, as the parse would give them.
    if (digits > 0 && digits <= 15 &&
        (i == n || (text[i] != QLatin1Char('.') && text[i] != QLatin1Char('e') &&
                    text[i] != QLatin1Char('E')))) {
        if (ok)
            *ok = true;
        return negative ? -static_cast<double>(whole) : static_cast<double>(whole);
    }
    if (i < n && text[i] == QLatin1Char('.')) {
        qsizetype j = i + 1;
        qsizetype fraction = 0;
        while (j < n && text[j].unicode() >= '0' && text[j].unicode() <= '9') {
            ++j;
            ++fraction;
        }
        if (digits + fraction > 0) {
            i = j;
            digits += fraction;
        }
    }
    if (digits == 0) {
        if (ok)
            *ok = false;
        return 0.0;
    }
    // An exponent counts only when at least one digit follows it.
    if (i < n && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        qsizetype j = i + 1;
        if (j < n && (text[j] == QLatin1Char('+') || text[j] == QLatin1Char('-')))
            ++j;
        const qsizetype expStart = j;
        while (j < n && text[j].unicode() >= '0' && text[j].unicode() <= '9')
            ++j;
        if (j > expStart)
            i = j;
    }
    bool converted = false;
    const double value = text.mid(start, i - start).toDouble(&converted);
    if (ok)
        *ok = converted;
    return converted ? value : 0.0;
}

qint32 kov::roundHalfEven(double value, bool* ok)
{
    const double rounded = std::nearbyint(value); // default rounding mode: halves to even
    const bool inRange = std::isfinite(rounded) &&
                         rounded >= static_cast<double>(std::numeric_limits<qint32>::min()) &&
                         rounded <= static_cast<double>(std::numeric_limits<qint32>::max());
    if (ok)
        *ok = inRange;
    return inRange ? static_cast<qint32>(rounded) : 0;
}

qint32 kov::leadingLong(const QString& text, bool* inRange)
{
    return kov::roundHalfEven(kov::leadingNumber(text), inRange);
}

qint32 kov::leadingLongOrThrow(const QString& text)
{
    bool inRange = false;
    const qint32 value = kov::leadingLong(text, &inRange);
    if (!inRange)
        throw std::overflow_error("Overflow");
    return value;
}

qint32 kov::toInt32Strict(const QString& text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok)
        throw std::runtime_error("Type mismatch");
    bool inRange = false;
    const qint32 number = kov::roundHalfEven(value, &inRange);
    if (!inRange)
        throw std::overflow_error("Overflow");
    return number;
}
