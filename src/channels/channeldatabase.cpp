#include "channeldatabase.h"

#include "foundation/codepage.h"
#include "foundation/filewriters.h"
#include "foundation/numbertext.h"
#include "foundation/texttools.h"
#include "foundation/translate.h"

#include <QFile>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <mutex>
#include <sys/stat.h>

namespace {
bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

bool isLineEnd(QChar c)
{
    return c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

// Plain decimal digits and nothing else; -1 for any other text or a value past `max`.
qint32 plainNumber(const QString& text, qint32 max)
{
    if (text.isEmpty())
        return -1;
    qint64 value = 0;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
        value = value * 10 + (c.unicode() - '0');
        if (value > max)
            return -1;
    }
    return static_cast<qint32>(value);
}

// Reads the fields of the entry that starts at `i` and leaves `i` at the line end that closes
// it (or the end of the text). False when a quote is never closed: `i` is then at the end of
// the line the quote stands in, so that only this line is lost.
bool readEntry(const QString& text, qsizetype& i, QStringList& fields)
{
    const qsizetype n = text.size();
    for (;;) {
        while (i < n && isBlank(text[i]))
            ++i;
        QString field;
        qsizetype quotedPart = 0; // the quoted characters keep their blanks
        if (i < n && text[i] == QLatin1Char('"')) {
            const qsizetype close = text.indexOf(QLatin1Char('"'), i + 1);
            if (close < 0) {
                while (i < n && !isLineEnd(text[i]))
                    ++i;
                return false;
            }
            field = text.mid(i + 1, close - i - 1);
            quotedPart = field.size();
            i = close + 1;
        }
        while (i < n && text[i] != QLatin1Char(',') && !isLineEnd(text[i]))
            field += text[i++];
        while (field.size() > quotedPart && isBlank(field.back()))
            field.chop(1);
        fields << field;
        if (i >= n || text[i] != QLatin1Char(','))
            return true;
        ++i;
    }
}

ChannelDatabaseContent parseDatabase(const QString& text)
{
    ChannelDatabaseContent content;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        const qsizetype start = i;
        QStringList fields;
        const bool closed = readEntry(text, i, fields);
        const QString line = text.mid(start, i - start);
        if (i < n && text[i] == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n'))
            ++i;
        if (i < n)
            ++i;
        if (line.isEmpty())
            continue; // an empty line holds no entry
        const qint32 number = fields.size() == 2 ? plainNumber(fields.at(0), 999) : -1;
        if (!closed || number < 0)
            content.damaged << line;
        else
            content.entries.append(DatabaseChannel{number, fields.at(1)});
    }
    return content;
}

// Whether the last entry of the text is `number`, `name`.
bool endsWithEntry(const QString& text, qint32 number, const QString& name)
{
    const ChannelDatabaseContent content = parseDatabase(text);
    return !content.entries.isEmpty() && content.entries.back().number == number &&
           content.entries.back().name == kov::storedChannelName(name);
}
} // namespace

namespace {
// What tells one state of the file from another without reading it.
struct FileStamp
{
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = -1;
    qint64 modified = 0; ///< nanoseconds since the epoch
    qint64 changed = 0;  ///< nanoseconds since the epoch

    bool operator==(const FileStamp& o) const
    {
        return device == o.device && inode == o.inode && size == o.size && modified == o.modified &&
               changed == o.changed;
    }
};

qint64 nanoseconds(const timespec& t)
{
    return static_cast<qint64>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

FileStamp stampOf(const struct stat& st)
{
    return FileStamp{st.st_dev, st.st_ino, st.st_size, nanoseconds(st.st_mtim),
                     nanoseconds(st.st_ctim)};
}

// Whether a read stamped `stamp` may stand for the file for as long as the stamp stays the
// same. A file system stamps a change with the time of its clock tick (a few milliseconds on a
// coarse clock, whole seconds where the times carry no nanoseconds), so a second change within
// the tick of the last one can leave the stamp as it was: a read made within that tick serves
// its own lookup only, and the next lookup reads again.
bool settled(const FileStamp& stamp, qint64 tick)
{
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    const bool wholeSeconds = stamp.modified % 1000000000 == 0 && stamp.changed % 1000000000 == 0;
    if (tick < 0)
        tick = wholeSeconds ? 2000000000 : 20000000;
    return nanoseconds(now) - std::max(stamp.modified, stamp.changed) >= tick;
}

// Reads the open file. `stamp` is taken from the descriptor before the bytes, so a change
// during the read leaves a later stamp on the file and the next lookup reads it again.
ChannelDatabaseContent readOpenFile(QFile& file, FileStamp* stamp)
{
    ChannelDatabaseContent content;
    struct stat st = {};
    if (stamp && ::fstat(file.handle(), &st) == 0)
        *stamp = stampOf(st);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return content;
    content = parseDatabase(kov::fromCodePage(bytes));
    content.complete = true;
    return content;
}

struct DatabaseCache
{
    std::mutex mutex;
    QString path;
    FileStamp stamp;
    std::shared_ptr<const ChannelDatabaseSnapshot> snapshot; ///< null when it may not be used
};

DatabaseCache& databaseCache()
{
    static DatabaseCache cache;
    return cache;
}
} // namespace

ChannelDatabaseContent kov::readChannelDatabase(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return ChannelDatabaseContent();
    return readOpenFile(file, nullptr);
}

std::shared_ptr<const ChannelDatabaseSnapshot> kov::channelDatabaseNow(const QString& path,
                                                                       qint64 settleNs)
{
    struct stat st = {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode) ||
        st.st_size == 0)
        return nullptr; // absent, as a file of length 0 counts
    DatabaseCache& cache = databaseCache();
    const std::lock_guard<std::mutex> guard(cache.mutex);
    if (cache.snapshot && cache.path == path && cache.stamp == stampOf(st))
        return cache.snapshot;
    auto snapshot = std::make_shared<ChannelDatabaseSnapshot>();
    FileStamp stamp;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        snapshot->content = readOpenFile(file, &stamp);
    for (const DatabaseChannel& entry : std::as_const(snapshot->content.entries))
        snapshot->numbers.insert(entry.name, entry.number); // a later entry replaces an earlier
    const bool keep = snapshot->content.complete && stamp.size >= 0 && settled(stamp, settleNs);
    cache.path = path;
    cache.stamp = stamp;
    cache.snapshot = keep ? snapshot : nullptr;
    return snapshot;
}

QString kov::storedChannelName(const QString& name)
{
    QString stored = name;
    return stored.remove(QLatin1Char('"'));
}

QString kov::channelDatabaseLine(qint32 number, const QString& name)
{
    const QString stored = kov::storedChannelName(name);
    const bool quoted = stored.isEmpty() || stored.contains(QLatin1Char(',')) ||
                        stored.contains(QLatin1Char('\r')) || stored.contains(QLatin1Char('\n')) ||
                        isBlank(stored.front()) || isBlank(stored.back());
    const QString field = quoted ? QLatin1Char('"') + stored + QLatin1Char('"') : stored;
    return QString::number(number) + QLatin1Char(',') + field + kov::crLf();
}

bool kov::appendChannelDatabaseLine(const QString& path, qint32 number, const QString& name)
{
    QString existing;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        existing = kov::fromCodePage(file.readAll());
    file.close();
    QString text = kov::channelDatabaseLine(number, name);
    if (!existing.isEmpty() && !isLineEnd(existing.back()))
        text.prepend(kov::crLf());
    // A damaged last line may hold a quote that is never closed; the first quote of the new
    // entry would close it and swallow the entry. Closing it here and giving that line a third
    // field keeps it damaged, and the new entry readable.
    const QString closeDamaged = QStringLiteral("\",,") + kov::crLf();
    if (!endsWithEntry(existing + text, number, name) &&
        endsWithEntry(existing + closeDamaged + text, number, name))
        text.prepend(closeDamaged);
    return kov::appendTextFile(path, text);
}

bool kov::isChannelNumber(qint64 number)
{
    return number >= 1 && number <= 999;
}

qint32 kov::channelNumberFromText(const QString& text)
{
    const qint32 number = plainNumber(text.trimmed(), 999);
    return kov::isChannelNumber(number) ? number : 0;
}

qint32 kov::readChannelNumber(const QString& text, bool roundFraction, QString* why)
{
    const QString answer = text.trimmed();
    bool ok = false;
    const double value = answer.toDouble(&ok); // "1,5" is no number in any locale
    if (!ok || !std::isfinite(value) || (!roundFraction && value != std::floor(value))) {
        if (why)
            *why = kov::translate(QStringLiteral("%1 is not a whole number.")).arg(answer);
        return 0;
    }
    bool inRange = false;
    const qint32 number = kov::roundHalfEven(value, &inRange);
    if (inRange && kov::isChannelNumber(number))
        return number;
    if (why)
        *why = kov::translate(QStringLiteral("%1 is out of range: channel numbers are 1 to 999."))
                   .arg(answer);
    return 0;
}
