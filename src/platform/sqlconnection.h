#pragma once
// One SQLite connection kept open for the life of its owner, with its statements prepared on
// first use and kept. Every use of a statement ends with its reset, so that no statement holds
// a read snapshot open between uses: each read sees what any process committed last, and each
// change outside a transaction is committed, and visible to other processes, when it ends.
#include "sqluse.h"

#include <QString>
#include <QVariantList>

#include <unordered_map>

class QSqlDatabase;
struct sqlite3;
struct sqlite3_stmt;

class SqlConnection
{
public:
    /// A connection not yet open, named `prefix` with a number of its own.
    explicit SqlConnection(const char* prefix);
    ~SqlConnection();
    SqlConnection(const SqlConnection&) = delete;
    SqlConnection& operator=(const SqlConnection&) = delete;

    /// Opens the file with a busy time-out, so that the desktop program and the CLI can write
    /// at the same time. A writable file is switched to WAL with synchronous=NORMAL: a commit
    /// is visible to every process at once and costs no fsync of its own; the log is synced
    /// when SQLite copies it back into the file.
    bool open(const QString& path, bool readOnly);
    bool isOpen() const { return m_open; }
    /// Why the last open or statement failed.
    QString lastError() const { return m_error; }

    /// Runs a statement that is not kept (table set-up); false when SQLite refused it.
    bool exec(const QString& sql);
    /// Runs the kept statement `sql`, a string literal whose address names it, with `values`
    /// bound in order.
    SqlUse run(const char* sql, const QVariantList& values = {});
    bool transaction();
    bool commit();
    bool rollback();

private:
    QSqlDatabase database() const;
    /// SQLite's message for the last failure on the handle, with the system's reason.
    QString handleError() const;

    QString m_name;
    QString m_error;
    bool m_open = false;
    // The kept statements run on the SQLite handle under the Qt connection: going through
    // QSqlQuery cost more than the statements themselves (a sync runs several per job).
    sqlite3* m_handle = nullptr;
    std::unordered_map<const char*, sqlite3_stmt*> m_statements;
};
