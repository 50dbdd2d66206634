#include "localscheduler.h"

#include "foundation/kov_paths.h"
#include "foundation/kov_vb.h"

#include <QSqlDatabase>
#include <QSqlQuery>

#include <atomic>

namespace {
constexpr const char* kTimeFormat = "yyyy-MM-ddTHH:mm:ss";
} // namespace

LocalScheduler::LocalScheduler(const QString& databasePath, bool readOnly)
{
    static std::atomic<int> counter{0};
    m_connection = QStringLiteral("kovsched-%1").arg(counter++);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    db.setDatabaseName(databasePath);
    if (readOnly) {
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=10000"));
        m_open = kov_FileExists(databasePath) && db.open();
        return;
    }
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
    // The recordings come from the user's account: the store is its owner's alone.
    if (!kov_PreparePrivateDatabase(databasePath) || !db.open())
        return;
    QSqlQuery q(db);
    q.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    m_open = q.exec(QStringLiteral(
        "CREATE TABLE IF NOT EXISTS programs (id INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT "
        "NOT NULL UNIQUE, start TEXT NOT NULL, finish TEXT NOT NULL, channel INTEGER NOT NULL, "
        "file TEXT NOT NULL, tag TEXT NOT NULL, recurrence INTEGER NOT NULL)"));
}

LocalScheduler::~LocalScheduler()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
}

bool LocalScheduler::DoesProgramExist(const QString& name)
{
    if (!m_open)
        return false;
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.prepare(QStringLiteral("SELECT 1 FROM programs WHERE name = ?"));
    q.addBindValue(name);
    return q.exec() && q.next();
}

qint32 LocalScheduler::CreateProgram(qint32 /*arg1*/, const QString& name, const QDateTime& start,
                                     const QDateTime& end, qint32 channel, qint32 /*arg6*/,
                                     const QString& fileName, const QString& tag, qint32 recurrence,
                                     const QVariant& /*arg10*/, bool /*arg11*/)
{
    if (!(end > start))
        return EndNotAfterStart;
    if (channel < 1 || channel > 999)
        return ChannelOutOfRange;
    if (!m_open)
        return CannotWrite;
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.prepare(QStringLiteral("INSERT OR REPLACE INTO programs (name, start, finish, channel, "
                             "file, tag, recurrence) VALUES (?, ?, ?, ?, ?, ?, ?)"));
    q.addBindValue(name);
    q.addBindValue(start.toString(QLatin1String(kTimeFormat)));
    q.addBindValue(end.toString(QLatin1String(kTimeFormat)));
    q.addBindValue(channel);
    q.addBindValue(fileName);
    q.addBindValue(tag);
    q.addBindValue(recurrence);
    return q.exec() ? Stored : CannotWrite;
}

bool LocalScheduler::DeleteProgram(const QString& name)
{
    if (!m_open)
        return false;
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.prepare(QStringLiteral("DELETE FROM programs WHERE name = ?"));
    q.addBindValue(name);
    return q.exec() && q.numRowsAffected() > 0;
}

QList<ScheduledProgram> LocalScheduler::Programs()
{
    QList<ScheduledProgram> list;
    if (!m_open)
        return list;
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    if (!q.exec(QStringLiteral("SELECT name, start, finish, channel, file, tag, recurrence FROM "
                               "programs ORDER BY id")))
        return list;
    while (q.next()) {
        ScheduledProgram p;
        p.name = q.value(0).toString();
        p.start = QDateTime::fromString(q.value(1).toString(), QLatin1String(kTimeFormat));
        p.end = QDateTime::fromString(q.value(2).toString(), QLatin1String(kTimeFormat));
        p.channel = q.value(3).toInt();
        p.fileName = q.value(4).toString();
        p.tag = q.value(5).toString();
        p.recurrence = q.value(6).toInt();
        list << p;
    }
    return list;
}
