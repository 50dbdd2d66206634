#include "kov_vb.h"

#include "codepage.h"
#include "kov_paths.h"
#include "messagebox.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>

#include <cmath>
#include <cstdio>
#include <limits>
#include <stdexcept>

namespace {
// Module state, zeroed at start and never reset.
qint32 g_randomSeed = 0;
qint32 g_randomCounter = 0;
bool g_traceSwitch = false;
bool g_traceSwitchRead = false;

quint64 splitMix(quint64 x)
{
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

std::function<void(const QString&)>& traceObserver()
{
    static std::function<void(const QString&)> observer;
    return observer;
}
} // namespace

void kov_SetTraceObserver(std::function<void(const QString&)> observer)
{
    traceObserver() = std::move(observer);
}

qint32 kov_DebugMessage(const QString& Message, bool ShowBox, qint32 RetVal, const QString& Title,
                        MessageStyle Style)
{
    if (!g_traceSwitchRead) {
        g_traceSwitch = kov_TraceEnabled();
        g_traceSwitchRead = true;
    }
    if (traceObserver())
        traceObserver()(Message);
    if (g_traceSwitch) {
        const QByteArray line = "##B## " + Message.toLocal8Bit() + " ##B##\n";
        std::fputs(line.constData(), stderr);
    }
    if (ShowBox)
        kov_MessageBoxSink().messageBox(Message, Style, Title.isEmpty() ? kov_AppTitle() : Title);
    return RetVal;
}

bool kov_InDevelopment()
{
    return false;
}

bool kov_TraceEnabled()
{
    return qEnvironmentVariable("KOVFERRIT_TRACE") == QLatin1String("1");
}

qint32 kov_IdeMessage(const QString& Message, qint32 RetVal)
{
    if (kov_InDevelopment())
        kov_MessageBoxSink().messageBox(Message, MessageIcon::None,
                                        QStringLiteral("** IDE Debug Message **"));
    return RetVal;
}

bool kov_ApiFailed(qint32 Code, const QString& CallName, bool ShowBox)
{
    if (Code == 0)
        return false;
    kov_DebugMessage(CallName + QStringLiteral(" FAILED : ") + QString::number(Code),
                     ShowBox && kov_InDevelopment(), 0, QString(), MessageIcon::Information);
    return true;
}

bool kov_ApiOk(qint32 Code, const QString& CallName)
{
    return !kov_ApiFailed(Code, CallName, false);
}

qint32 kov_ClassMessage(const char* ClassName, const QString& Message, bool ShowBox)
{
    return kov_DebugMessage(QLatin1String(ClassName) + QStringLiteral("::") + Message, ShowBox, 0,
                            QString(), MessageIcon::Information);
}

bool kov_IsUrlSafe(QChar Char)
{
    const char16_t c = Char.unicode();
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_';
}

QString kov_URLEncode(const QString& Text)
{
    if (Text.isEmpty()) {
        kov_DebugMessage(QStringLiteral("kov_URLEncode Sting is empty"), kov_InDevelopment());
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

QString kov_LowerCase(const QString& Text)
{
    return QLocale::system().toLower(Text);
}

qint32 kov_RandomBetween(qint32 Low, qint32 High)
{
    const auto tick = static_cast<quint32>(QDateTime::currentMSecsSinceEpoch());
    const quint32 seed =
        static_cast<quint32>(g_randomCounter) ^ static_cast<quint32>(g_randomSeed) ^ tick;
    // "Re-seed and draw": a strong mix of the seed, so that neighbouring seeds (the counter
    // steps by one) give unrelated draws. 24 bits: single precision, 0 <= r < 1.
    const float r = static_cast<float>(splitMix(seed) >> 40) / 16777216.0f;
    const double span = static_cast<double>(High) - static_cast<double>(Low) + 1.0;
    double value = std::floor(static_cast<double>(r) * span + static_cast<double>(Low));
    // Guard against rounding at the ends of very wide ranges.
    if (value > High)
        value = High;
    if (value < Low)
        value = Low;
    const auto result = static_cast<qint32>(value);
    g_randomSeed = result;
    if (++g_randomCounter > 32768)
        g_randomCounter = 0;
    return result;
}

bool kov_FileExists(const QString& Path)
{
    if (Path.isEmpty())
        return false;
    const QFileInfo info(Path);
    return info.exists() && info.isFile() && info.size() > 0;
}

qint32 kov_RunAndWait(const QString& CommandLine)
{
    QStringList args = QProcess::splitCommand(CommandLine);
    if (args.isEmpty())
        return -1;
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(args.takeFirst(), args);
    if (!process.waitForStarted(-1))
        return -1;
    process.waitForFinished(-1);
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

double kov_LeadingNumber(const QString& Text, bool* ok)
{
    qsizetype i = 0;
    const qsizetype n = Text.size();
    while (i < n && (Text[i] == QLatin1Char(' ') || Text[i] == QLatin1Char('\t')))
        ++i;
    const qsizetype start = i;
    const bool negative = i < n && Text[i] == QLatin1Char('-');
    if (i < n && (Text[i] == QLatin1Char('+') || Text[i] == QLatin1Char('-')))
        ++i;
    qsizetype digits = 0;
    qint64 whole = 0;
    while (i < n && Text[i].unicode() >= '0' && Text[i].unicode() <= '9') {
        if (digits < 18)
            whole = whole * 10 + (Text[i].unicode() - '0');
        ++i;
        ++digits;
    }
    // Whole numbers, nearly every number read, need no floating-point parse:
    // with up to 15 digits they are exact, as the parse would give them.
    if (digits > 0 && digits <= 15 &&
        (i == n || (Text[i] != QLatin1Char('.') && Text[i] != QLatin1Char('e') &&
                    Text[i] != QLatin1Char('E')))) {
        if (ok)
            *ok = true;
        return negative ? -static_cast<double>(whole) : static_cast<double>(whole);
    }
    if (i < n && Text[i] == QLatin1Char('.')) {
        qsizetype j = i + 1;
        qsizetype fraction = 0;
        while (j < n && Text[j].unicode() >= '0' && Text[j].unicode() <= '9') {
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
    if (i < n && (Text[i] == QLatin1Char('e') || Text[i] == QLatin1Char('E'))) {
        qsizetype j = i + 1;
        if (j < n && (Text[j] == QLatin1Char('+') || Text[j] == QLatin1Char('-')))
            ++j;
        const qsizetype expStart = j;
        while (j < n && Text[j].unicode() >= '0' && Text[j].unicode() <= '9')
            ++j;
        if (j > expStart)
            i = j;
    }
    bool converted = false;
    const double value = Text.mid(start, i - start).toDouble(&converted);
    if (ok)
        *ok = converted;
    return converted ? value : 0.0;
}

qint32 kov_RoundHalfEven(double Value, bool* ok)
{
    const double rounded = std::nearbyint(Value); // default rounding mode: halves to even
    const bool inRange = std::isfinite(rounded) &&
                         rounded >= static_cast<double>(std::numeric_limits<qint32>::min()) &&
                         rounded <= static_cast<double>(std::numeric_limits<qint32>::max());
    if (ok)
        *ok = inRange;
    return inRange ? static_cast<qint32>(rounded) : 0;
}

qint32 kov_LeadingLong(const QString& Text, bool* inRange)
{
    return kov_RoundHalfEven(kov_LeadingNumber(Text), inRange);
}

qint32 kov_LeadingLongOrThrow(const QString& Text)
{
    bool inRange = false;
    const qint32 value = kov_LeadingLong(Text, &inRange);
    if (!inRange)
        throw std::overflow_error("Overflow");
    return value;
}

qint32 kov_CLng(const QString& Text)
{
    bool ok = false;
    const double value = Text.trimmed().toDouble(&ok);
    if (!ok)
        throw std::runtime_error("Type mismatch");
    bool inRange = false;
    const qint32 number = kov_RoundHalfEven(value, &inRange);
    if (!inRange)
        throw std::overflow_error("Overflow");
    return number;
}
