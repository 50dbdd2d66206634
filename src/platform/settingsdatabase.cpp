#include "settingsdatabase.h"

#include "foundation/filewriters.h"
#include "foundation/programfolder.h"
#include "sqluse.h"

#include <QCoreApplication>

#include <memory>
#include <utility>

namespace {
// Key and value names compare without regard to case.
QString fold(const QString& s)
{
    return s.toCaseFolded();
}
} // namespace

QString kov::normaliseKey(const QString& key)
{
    const QStringList parts = key.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    return parts.join(QLatin1Char('\\'));
}

namespace {
std::unique_ptr<SettingsDatabase>& sharedStore()
{
    static std::unique_ptr<SettingsDatabase> store;
    return store;
}

// The SQL driver belongs to the application object: close the store before it goes.
void closeSharedStore()
{
    sharedStore().reset();
}
} // namespace

SettingsDatabase& SettingsDatabase::instance()
{
    std::unique_ptr<SettingsDatabase>& store = sharedStore();
    // Every settings read comes here: the folder is compared, the file name made only anew.
    const QString folder = kov::programFolder();
    if (!store || store->m_folder != folder) {
        store = std::make_unique<SettingsDatabase>(folder + QStringLiteral("/settings.db"));
        store->m_folder = folder;
    }
    return *store;
}

SettingsDatabase::SettingsDatabase(const QString& databasePath) : m_path(databasePath) {}

SettingsDatabase::~SettingsDatabase() = default;

bool SettingsDatabase::ensureOpen()
{
    if (m_open)
        return true;
    // The store holds the account and its password: the file is made 0600 before SQLite opens
    // it, and the journal files SQLite makes beside it take that mode.
    if (!kov::preparePrivateDatabase(m_path, &m_problem))
        return false;
    // The connection stays open for the life of the process; its statements are reset after
    // each use, so no read keeps an old snapshot (answers are kept only as dropStaleAnswers
    // allows).
    const bool opened = m_db.isOpen() || m_db.open(m_path, false);
    // Registered once a connection was made, opened or not (a file that is not a database still
    // leaves one): the routines run in the reverse order of their registration, so this one runs
    // before Qt SQL lets go of its connections.
    static bool closeRegistered = false;
    if (!std::exchange(closeRegistered, true))
        qAddPostRoutine(closeSharedStore);
    const bool ok =
        opened &&
        m_db.exec(
            QStringLiteral("CREATE TABLE IF NOT EXISTS keys (id INTEGER PRIMARY KEY "
                           "AUTOINCREMENT, root INTEGER NOT NULL, path TEXT NOT NULL, "
                           "fold TEXT NOT NULL, parent TEXT NOT NULL, UNIQUE(root, fold))")) &&
        m_db.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS vals (id INTEGER PRIMARY KEY "
                                 "AUTOINCREMENT, key_id INTEGER NOT NULL, name TEXT NOT NULL, "
                                 "fold TEXT NOT NULL, type INTEGER NOT NULL, data BLOB, "
                                 "UNIQUE(key_id, fold))"));
    if (!ok) {
        m_problem = m_db.lastError();
        return false;
    }
    m_problem.clear();
    m_open = true;
    return true;
}

QString SettingsDatabase::problem()
{
    return ensureOpen() ? QString() : m_problem;
}

const QString& SettingsDatabase::foldedKey(const QString& key)
{
    if (key != m_lastKey || m_lastFolded.isNull()) {
        m_lastKey = key;
        m_lastFolded = fold(kov::normaliseKey(key));
    }
    return m_lastFolded;
}

void SettingsDatabase::beginRead()
{
    if (m_readDepth++ == 0)
        m_checkedInRead = false;
}

void SettingsDatabase::endRead()
{
    if (m_readDepth > 0)
        --m_readDepth;
}

void SettingsDatabase::dropStaleAnswers()
{
    if (m_readDepth > 0 && m_checkedInRead)
        return;
    m_checkedInRead = m_readDepth > 0;
    SqlUse q = m_db.run("PRAGMA data_version");
    const qint64 version = q.next() ? q.value(0).toLongLong() : -1;
    if (version == -1 || version != m_dataVersion)
        forgetAnswers();
    m_dataVersion = version;
}

void SettingsDatabase::forgetAnswers()
{
    m_values.clear();
    m_keys.clear();
}

QString SettingsDatabase::answerKey(qint32 root, const QString& key)
{
    return QString::number(root) + QLatin1Char('\\') + foldedKey(key);
}

StoreResult SettingsDatabase::keyId(qint32 root, const QString& key, qint64* id)
{
    if (!ensureOpen())
        return StoreResult::BadDatabase;
    dropStaleAnswers();
    const QString cacheKey = answerKey(root, key);
    const auto known = m_keys.constFind(cacheKey);
    if (known != m_keys.constEnd()) {
        *id = known.value();
        return *id < 0 ? StoreResult::NotFound : StoreResult::Success;
    }
    SqlUse q = m_db.run("SELECT id FROM keys WHERE root = ? AND fold = ?", {root, foldedKey(key)});
    if (!q.ok())
        return StoreResult::BadDatabase;
    *id = q.next() ? q.value(0).toLongLong() : -1;
    m_keys.insert(cacheKey, *id);
    return *id < 0 ? StoreResult::NotFound : StoreResult::Success;
}

StoreResult SettingsDatabase::openKey(qint32 root, const QString& key, bool create)
{
    qint64 id = 0;
    const StoreResult rc = keyId(root, key, &id);
    if (rc == StoreResult::BadDatabase && create)
        return writeFailed();
    if (rc != StoreResult::NotFound || !create)
        return rc;
    // Creating a key creates its missing parents, from the top down, so every key has its parent.
    const QStringList parts = kov::normaliseKey(key).split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    QString path;
    for (const QString& part : parts) {
        const QString parent = path;
        path = path.isEmpty() ? part : path + QLatin1Char('\\') + part;
        const bool inserted =
            m_db.run("INSERT OR IGNORE INTO keys (root, path, fold, parent) VALUES (?, ?, ?, ?)",
                     {root, path, fold(path), fold(parent)})
                .ok();
        forgetAnswers();
        if (!inserted)
            return writeFailed();
    }
    return StoreResult::Success;
}

StoreResult SettingsDatabase::queryValue(qint32 root, const QString& key, const QString& name,
                                         qint32* type, QByteArray* data)
{
    if (!ensureOpen())
        return StoreResult::BadDatabase;
    dropStaleAnswers();
    const QString cacheKey = answerKey(root, key) + QLatin1Char('\\') + fold(name);
    auto known = m_values.constFind(cacheKey);
    if (known == m_values.constEnd()) {
        // A missing key and a missing value both read as "not found".
        SqlUse q = m_db.run("SELECT v.type, v.data FROM vals v JOIN keys k ON k.id = v.key_id "
                            "WHERE k.root = ? AND k.fold = ? AND v.fold = ?",
                            {root, foldedKey(key), fold(name)});
        if (!q.ok())
            return StoreResult::BadDatabase;
        known =
            m_values.insert(cacheKey, q.next() ? Answer{StoreResult::Success, q.value(0).toInt(),
                                                        q.value(1).toByteArray()}
                                               : Answer{StoreResult::NotFound, 0, {}});
    }
    if (known->code == StoreResult::Success) {
        if (type)
            *type = known->type;
        if (data)
            *data = known->data;
    }
    return known->code;
}

StoreResult SettingsDatabase::setValue(qint32 root, const QString& key, const QString& name,
                                       qint32 type, const QByteArray& data)
{
    qint64 id = 0;
    const StoreResult rc = keyId(root, key, &id);
    if (rc == StoreResult::BadDatabase)
        return writeFailed();
    if (rc != StoreResult::Success)
        return rc;
    // One statement, so a concurrent writer never sees half a value; an existing value keeps
    // its row and so its place in the enumeration.
    const SqlUse q = m_db.run(
        "INSERT INTO vals (key_id, name, fold, type, data) VALUES (?, ?, ?, ?, ?) "
        "ON CONFLICT(key_id, fold) DO UPDATE SET type = excluded.type, data = excluded.data",
        {id, name, fold(name), type, data.isNull() ? QByteArray("") : data});
    forgetAnswers();
    return q.ok() ? StoreResult::Success : writeFailed();
}

StoreResult SettingsDatabase::enumValue(qint32 root, const QString& key, qint32 index,
                                        QString* name, qint32* type)
{
    qint64 id = 0;
    const StoreResult rc = keyId(root, key, &id);
    if (rc != StoreResult::Success)
        return rc;
    if (index < 0)
        return StoreResult::NoMoreItems;
    SqlUse q = m_db.run("SELECT name, type FROM vals WHERE key_id = ? ORDER BY id LIMIT 1 OFFSET ?",
                        {id, index});
    if (!q.ok())
        return StoreResult::BadDatabase;
    if (!q.next())
        return StoreResult::NoMoreItems;
    if (name)
        *name = q.value(0).toString();
    if (type)
        *type = q.value(1).toInt();
    return StoreResult::Success;
}

StoreResult SettingsDatabase::deleteValue(qint32 root, const QString& key, const QString& name)
{
    qint64 id = 0;
    const StoreResult rc = keyId(root, key, &id);
    if (rc != StoreResult::Success)
        return rc;
    const SqlUse q = m_db.run("DELETE FROM vals WHERE key_id = ? AND fold = ?", {id, fold(name)});
    forgetAnswers();
    if (!q.ok())
        return writeFailed();
    return q.rowsAffected() > 0 ? StoreResult::Success : StoreResult::NotFound;
}

StoreResult SettingsDatabase::deleteKey(qint32 root, const QString& key)
{
    qint64 id = 0;
    const StoreResult rc = keyId(root, key, &id);
    if (rc != StoreResult::Success)
        return rc;
    {
        SqlUse q = m_db.run("SELECT COUNT(*) FROM keys WHERE root = ? AND parent = ?",
                            {root, foldedKey(key)});
        if (!q.next())
            return StoreResult::BadDatabase;
        if (q.value(0).toInt() > 0)
            return StoreResult::KeyHasChildren;
    }
    if (!m_db.transaction())
        return writeFailed();
    const bool ok = m_db.run("DELETE FROM vals WHERE key_id = ?", {id}).ok() &&
                    m_db.run("DELETE FROM keys WHERE id = ?", {id}).ok();
    if (!ok)
        m_db.rollback();
    const bool done = ok && m_db.commit();
    forgetAnswers();
    return done ? StoreResult::Success : writeFailed();
}

StoreResult SettingsDatabase::writeFailed()
{
    kov::noteWriteFailure(m_path, m_open ? m_db.lastError() : m_problem);
    return StoreResult::CantWrite;
}
