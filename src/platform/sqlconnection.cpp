#include "sqlconnection.h"

#include <QSqlDatabase>
#include <QSqlError>

#include <atomic>
#include <utility>

SqlUse::SqlUse(SqlUse&& other) noexcept
    : m_query(std::exchange(other.m_query, nullptr)), m_ok(other.m_ok)
{
}

SqlUse::~SqlUse()
{
    // QSqlQuery::finish resets the SQLite statement and so ends its read transaction.
    if (m_query)
        m_query->finish();
}

SqlConnection::SqlConnection(const char* prefix)
{
    static std::atomic<int> counter{0};
    m_name = QStringLiteral("%1-%2").arg(QLatin1String(prefix)).arg(counter++);
}

SqlConnection::~SqlConnection()
{
    m_statements.clear(); // the statements go before their connection
    if (QSqlDatabase::contains(m_name)) {
        database().close();
        QSqlDatabase::removeDatabase(m_name);
    }
}

QSqlDatabase SqlConnection::database() const
{
    return QSqlDatabase::database(m_name, false);
}

bool SqlConnection::open(const QString& path, bool readOnly)
{
    QSqlDatabase db = QSqlDatabase::contains(m_name)
                          ? database()
                          : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    db.setDatabaseName(path);
    db.setConnectOptions(readOnly
                             ? QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=10000")
                             : QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
    if (!db.open()) {
        m_error = db.lastError().text();
        return false;
    }
    m_open = true;
    if (!readOnly) {
        // A file another process holds in WAL already stays so when this one cannot switch.
        exec(QStringLiteral("PRAGMA journal_mode=WAL"));
        exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
    }
    return true;
}

bool SqlConnection::exec(const QString& sql)
{
    QSqlQuery q(database());
    if (q.exec(sql))
        return true;
    m_error = q.lastError().text();
    return false;
}

SqlUse SqlConnection::run(const char* sql, const QVariantList& values)
{
    auto it = m_statements.find(sql);
    if (it == m_statements.end()) {
        QSqlQuery q(database());
        q.setForwardOnly(true);
        if (!m_open || !q.prepare(QString::fromUtf8(sql))) {
            m_error = q.lastError().text();
            return SqlUse(nullptr, false);
        }
        it = m_statements.emplace(sql, std::move(q)).first;
    }
    QSqlQuery& q = it->second;
    for (int i = 0; i < values.size(); ++i)
        q.bindValue(i, values.at(i));
    if (q.exec())
        return SqlUse(&q, true);
    // The driver may have thrown the failed statement away: it is prepared again next time.
    m_error = q.lastError().text();
    m_statements.erase(it);
    return SqlUse(nullptr, false);
}

bool SqlConnection::transaction()
{
    return database().transaction();
}

bool SqlConnection::commit()
{
    return database().commit();
}

bool SqlConnection::rollback()
{
    return database().rollback();
}
