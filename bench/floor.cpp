// The floor of the benchmark: the least work a sync of a getjobs reply needs. It reads the
// reply and the channel database, splits each record by the CSV quoting rule, reads the two
// times, finds the channel number and inserts every recording into an SQLite store of the
// same shape as the local scheduler's, all in one transaction.
//
//   kovferrit-bench-floor REPLY DBCHANNEL STORE
//
// Prints the number of recordings stored; exit 1 when a file cannot be read or written.
#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringDecoder>
#include <QStringList>

#include <cstdio>

namespace {
// Splits one CSV line: fields separated by commas, a quoted field keeps its commas and a
// doubled quote stands for one.
QStringList splitRow(QStringView line)
{
    QStringList fields;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < line.size() && line[i + 1] == QLatin1Char('"')) {
                    field += c;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field += c;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            fields << field;
            field.clear();
        } else {
            field += c;
        }
    }
    fields << field;
    return fields;
}

int digits(QStringView text, qsizetype at, qsizetype count)
{
    int value = 0;
    for (qsizetype i = at; i < at + count && i < text.size(); ++i)
        value = value * 10 + (text[i].unicode() - '0');
    return value;
}

// "yyyy-MM-dd HH:mm:ss +hhmm", the offset added as the client does.
QDateTime readTime(QStringView text)
{
    if (text.size() < 25)
        return QDateTime();
    const QDate date(digits(text, 0, 4), digits(text, 5, 2), digits(text, 8, 2));
    const QTime time(digits(text, 11, 2), digits(text, 14, 2), digits(text, 17, 2));
    const int offset = digits(text, 21, 2) * 3600 + digits(text, 23, 2) * 60;
    return QDateTime(date, time).addSecs(offset);
}

QString readFile(const QString& path, bool* ok)
{
    QFile file(path);
    *ok = file.open(QIODevice::ReadOnly);
    if (!*ok)
        return QString();
    QStringDecoder decoder("windows-1252");
    if (!decoder.isValid())
        return QString::fromLatin1(file.readAll());
    return decoder.decode(file.readAll());
}

// The lines of a text that end in CR LF; a last line without one is not used.
template <typename Visit> void forEachLine(const QString& text, Visit visit)
{
    qsizetype at = 0;
    for (;;) {
        const qsizetype end = text.indexOf(QLatin1String("\r\n"), at);
        if (end < 0)
            return;
        if (end > at && !visit(QStringView(text).mid(at, end - at)))
            return;
        at = end + 2;
    }
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        std::fputs("usage: kovferrit-bench-floor REPLY DBCHANNEL STORE\n", stderr);
        return 2;
    }
    bool ok = false;
    const QString channelText = readFile(args[2], &ok);
    if (!ok) {
        std::fputs("kovferrit-bench-floor: cannot read the channel database\n", stderr);
        return 1;
    }
    QHash<QString, int> numbers;
    forEachLine(channelText, [&numbers](QStringView line) {
        const QStringList fields = splitRow(line);
        if (fields.size() == 2)
            numbers.insert(fields[1], fields[0].toInt());
        return true;
    });
    const QString reply = readFile(args[1], &ok);
    if (!ok) {
        std::fputs("kovferrit-bench-floor: cannot read the reply\n", stderr);
        return 1;
    }

    QFile::remove(args[3]);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    db.setDatabaseName(args[3]);
    if (!db.open())
        return 1;
    QSqlQuery q(db);
    q.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    q.exec(QStringLiteral(
        "CREATE TABLE programs (id INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT NOT NULL UNIQUE, "
        "start TEXT NOT NULL, finish TEXT NOT NULL, channel INTEGER NOT NULL, file TEXT NOT "
        "NULL, tag TEXT NOT NULL, recurrence INTEGER NOT NULL)"));
    db.transaction();
    q.prepare(QStringLiteral("INSERT OR REPLACE INTO programs (name, start, finish, channel, "
                             "file, tag, recurrence) VALUES (?, ?, ?, ?, ?, ?, ?)"));
    const QString format = QStringLiteral("yyyy-MM-ddTHH:mm:ss");
    int line = 0;
    int expected = 0;
    int stored = 0;
    forEachLine(reply, [&](QStringView text) {
        ++line;
        const QStringList fields = splitRow(text);
        if (line == 1) {
            expected = fields.value(3).toInt();
            return true;
        }
        if (line == 2)
            return true;
        if (fields.size() != 17 || fields[5] != QLatin1String("rec"))
            return line - 2 < expected;
        const QDateTime start = readTime(fields[3]);
        const QDateTime end = readTime(fields[4]);
        const int channel = numbers.value(fields[0]);
        const QString name = fields[6] + QLatin1Char(' ') + start.toString(format);
        q.addBindValue(name);
        q.addBindValue(start.toString(format));
        q.addBindValue(end.toString(format));
        q.addBindValue(channel);
        q.addBindValue(name);
        q.addBindValue(QStringLiteral("fs:") + fields[2]);
        q.addBindValue(fields[9] == QLatin1String("127") ? 1 : 0);
        if (q.exec())
            ++stored;
        return line - 2 < expected;
    });
    if (!db.commit()) {
        std::fprintf(stderr, "kovferrit-bench-floor: %s\n",
                     db.lastError().text().toLocal8Bit().constData());
        return 1;
    }
    std::printf("%d\n", stored);
    return 0;
}
