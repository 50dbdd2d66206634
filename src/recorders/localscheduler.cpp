#include "localscheduler.h"

#include "foundation/datetext.h"
#include "foundation/fileexists.h"
#include "foundation/filewriters.h"
#include "foundation/programfolder.h"
#include "foundation/translate.h"
#include "platform/sqlconnection.h"
#include "platform/sqluse.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

#include <utility>

namespace {
constexpr const char* kTimeFormat = "yyyy-MM-ddTHH:mm:ss";

// The connection every writable scheduler of this process shares, and the file it was opened
// on: a file removed or replaced since (another store put in its place) is opened afresh.
struct SharedStore
{
    QString path;
    dev_t device = 0;
    ino_t inode = 0;
    std::shared_ptr<SqlConnection> db;
};

SharedStore& sharedStore()
{
    // Never destroyed: the application object's post routine closes it, and that may run after
    // the statics made later than the routine's registration are gone (a process that ends
    // with exit() while its application object lives, as a fuzzer does).
    static auto* store = new SharedStore;
    return *store;
}

// The SQL driver belongs to the application object: close the store before it goes.
void closeSharedStore()
{
    sharedStore() = SharedStore();
}

bool fileIdentity(const QString& path, dev_t* device, ino_t* inode)
{
    struct stat st = {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return false;
    *device = st.st_dev;
    *inode = st.st_ino;
    return true;
}

// Why the store at `path` cannot be used, in words the user can act on; `error` is what the
// system or SQLite said, shown as it is when it is none of the usual causes.
QString storeProblem(const QString& path, const QString& error)
{
    const QFileInfo info(path);
    if (info.isDir())
        return kov::translate(QStringLiteral("a folder is in its place."));
    if (error.contains(QLatin1String("not a database"), Qt::CaseInsensitive))
        return kov::translate(QStringLiteral("the file is not a recording store."));
    if (error.contains(QLatin1String("permission denied"), Qt::CaseInsensitive) ||
        error.contains(QLatin1String("readonly"), Qt::CaseInsensitive) ||
        (info.exists() && !(info.isReadable() && info.isWritable())))
        return kov::translate(QStringLiteral("permission denied."));
    return error;
}

std::shared_ptr<SqlConnection> sharedConnection(const QString& path, QString* problem)
{
    SharedStore& store = sharedStore();
    dev_t device = 0;
    ino_t inode = 0;
    if (store.db && store.path == path && fileIdentity(path, &device, &inode) &&
        device == store.device && inode == store.inode)
        return store.db;
    store = SharedStore();
    store.path = path;
    auto db = std::make_shared<SqlConnection>("kovsched");
    // The recordings come from the user's account: the store is its owner's alone.
    QString error;
    if (!kov::preparePrivateDatabase(path, &error)) {
        *problem = storeProblem(path, error);
        return nullptr; // the next job tries again
    }
    // A new id is one past the largest, so ids keep the order of creation without
    // AUTOINCREMENT's sequence table, which cost every recording one more page to commit.
    if (!db->open(path, false) ||
        !db->exec(QStringLiteral(
            "CREATE TABLE IF NOT EXISTS programs (id INTEGER PRIMARY KEY, name TEXT "
            "NOT NULL UNIQUE, start TEXT NOT NULL, finish TEXT NOT NULL, channel INTEGER NOT "
            "NULL, file TEXT NOT NULL, tag TEXT NOT NULL, recurrence INTEGER NOT NULL)")) ||
        !fileIdentity(path, &store.device, &store.inode)) {
        *problem = storeProblem(path, db->lastError());
        return nullptr;
    }
    // Registered once a connection exists: the routines run in the reverse order of their
    // registration, so this one runs before Qt SQL lets go of its connections.
    static bool closeRegistered = false;
    if (!std::exchange(closeRegistered, true))
        qAddPostRoutine(closeSharedStore);
    store.db = db;
    return db;
}
} // namespace

LocalScheduler::LocalScheduler(const QString& databasePath, bool readOnly) : m_path(databasePath)
{
    if (!readOnly) {
        m_db = sharedConnection(databasePath, &m_problem);
        m_open = m_db != nullptr;
        return;
    }
    m_db = std::make_shared<SqlConnection>("kovsched-read");
    m_open = kov::fileExists(databasePath) && m_db->open(databasePath, true);
}

LocalScheduler::~LocalScheduler() = default;

bool LocalScheduler::hasRecording(const QString& name)
{
    if (!m_open)
        return false;
    return m_db->run("SELECT 1 FROM programs WHERE name = ?", {name}).next();
}

qint32 LocalScheduler::createRecording(const RecordingRequest& r)
{
    if (!(r.end > r.start))
        return EndNotAfterStart;
    if (r.channel < 1 || r.channel > 999)
        return ChannelOutOfRange;
    if (!m_open)
        return CannotWrite;
    // One statement outside any transaction: the recording is committed, and seen by every
    // process, when it returns.
    const SqlUse q = m_db->run("INSERT OR REPLACE INTO programs (name, start, finish, channel, "
                               "file, tag, recurrence) VALUES (?, ?, ?, ?, ?, ?, ?)",
                               {r.name, kov::isoText(r.start), kov::isoText(r.end), r.channel,
                                r.fileName, r.tag, r.recurrence});
    if (!q.ok())
        noteWriteFailure();
    return q.ok() ? Stored : CannotWrite;
}

bool LocalScheduler::deleteRecording(const QString& name)
{
    if (!m_open)
        return false;
    const SqlUse q = m_db->run("DELETE FROM programs WHERE name = ?", {name});
    if (!q.ok())
        noteWriteFailure();
    return q.rowsAffected() > 0;
}

void LocalScheduler::noteWriteFailure()
{
    m_failure =
        kov::translate(QStringLiteral("The recording store %1 cannot be written:")).arg(m_path) +
        QLatin1Char(' ') + storeProblem(m_path, m_db->lastError());
}

QList<ScheduledProgram> LocalScheduler::recordingNames()
{
    QList<ScheduledProgram> list;
    if (!m_open)
        return list;
    SqlUse q = m_db->run(
        "SELECT name, start, finish, channel, file, tag, recurrence FROM programs ORDER BY id");
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

std::unique_ptr<RecorderScheduler> LocalScheduler::open(SettingsStore& /*settings*/,
                                                        RecorderAccess access, QString* why)
{
    const bool readOnly = access == RecorderAccess::ReadOnly;
    const QString store = kov::programFile(QStringLiteral("KOVSched.db"));
    auto scheduler = std::make_unique<LocalScheduler>(store, readOnly);
    if (!scheduler->isOpen() && !(readOnly && !kov::fileExists(store))) {
        if (why)
            *why = kov::translate(QStringLiteral("The recording store %1 cannot be opened:"))
                       .arg(store) +
                   QLatin1Char(' ') + scheduler->problem();
        return nullptr;
    }
    return scheduler;
}
