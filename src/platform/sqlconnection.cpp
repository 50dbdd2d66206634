#include "sqlconnection.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

#include <sqlite3.h>

#include <atomic>
#include <cstring>

namespace {
bool bind(sqlite3_stmt* statement, int index, const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::UnknownType:
        return sqlite3_bind_null(statement, index) == SQLITE_OK;
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
        return sqlite3_bind_int64(statement, index, value.toLongLong()) == SQLITE_OK;
    case QMetaType::Double:
        return sqlite3_bind_double(statement, index, value.toDouble()) == SQLITE_OK;
    case QMetaType::QByteArray: {
        // The bytes are shared with the value, which the use keeps until its statement is
        // reset: a large value (the last reply) is not copied once more. A non-null pointer
        // with length 0 stores an empty blob, not NULL.
        const QByteArray& bytes = *static_cast<const QByteArray*>(value.constData());
        return sqlite3_bind_blob(statement, index, bytes.isNull() ? "" : bytes.constData(),
                                 static_cast<int>(bytes.size()), SQLITE_STATIC) == SQLITE_OK;
    }
    default: {
        const QString text = value.toString();
        return sqlite3_bind_text16(statement, index, text.utf16(),
                                   static_cast<int>(text.size() * 2),
                                   SQLITE_TRANSIENT) == SQLITE_OK;
    }
    }
}
} // namespace

SqlConnection::SqlConnection(const char* prefix)
{
    static std::atomic<int> counter{0};
    m_name = QStringLiteral("%1-%2").arg(QLatin1String(prefix)).arg(counter++);
}

SqlConnection::~SqlConnection()
{
    for (auto& kept : m_statements)
        sqlite3_finalize(kept.second); // the statements go before their connection
    m_statements.clear();
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
    const QVariant handle = db.driver()->handle();
    if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0)
        m_handle = *static_cast<sqlite3* const*>(handle.constData());
    if (!m_handle) {
        m_error = QStringLiteral("the SQLite driver gives no handle");
        db.close();
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
    if (!m_open)
        return SqlUse();
    auto it = m_statements.find(sql);
    if (it == m_statements.end()) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v3(m_handle, sql, -1, SQLITE_PREPARE_PERSISTENT, &statement, nullptr) !=
            SQLITE_OK) {
            m_error = QString::fromUtf8(sqlite3_errmsg(m_handle));
            sqlite3_finalize(statement);
            return SqlUse();
        }
        it = m_statements.emplace(sql, statement).first;
    }
    sqlite3_stmt* statement = it->second;
    for (int i = 0; i < values.size(); ++i) {
        if (!bind(statement, i + 1, values.at(i))) {
            m_error = QString::fromUtf8(sqlite3_errmsg(m_handle));
            sqlite3_clear_bindings(statement);
            return SqlUse();
        }
    }
    SqlUse use(statement, values);
    if (!use.ok())
        m_error = handleError();
    return use;
}

QString SqlConnection::handleError() const
{
    // SQLite's "disk I/O error" says nothing of the cause; the system's errno does.
    QString text = QString::fromUtf8(sqlite3_errmsg(m_handle));
    if (const int system = sqlite3_system_errno(m_handle); system != 0)
        text += QStringLiteral(" (%1)").arg(QString::fromLocal8Bit(std::strerror(system)));
    return text;
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
