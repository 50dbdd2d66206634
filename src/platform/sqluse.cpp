#include "sqluse.h"

#include <sqlite3.h>

#include <utility>

SqlUse::SqlUse(sqlite3_stmt* statement, QVariantList values)
    : m_statement(statement), m_values(std::move(values))
{
    const int rc = sqlite3_step(statement);
    m_ok = rc == SQLITE_ROW || rc == SQLITE_DONE;
    m_rowWaiting = rc == SQLITE_ROW;
    if (rc == SQLITE_DONE)
        m_changes = sqlite3_changes(sqlite3_db_handle(statement));
}

SqlUse::SqlUse(SqlUse&& other) noexcept
    : m_statement(std::exchange(other.m_statement, nullptr)), m_values(std::move(other.m_values)),
      m_ok(other.m_ok), m_rowWaiting(other.m_rowWaiting), m_onRow(other.m_onRow),
      m_changes(other.m_changes)
{
}

SqlUse::~SqlUse()
{
    // The reset ends the statement's read transaction, so the next read sees every commit.
    if (m_statement) {
        sqlite3_reset(m_statement);
        sqlite3_clear_bindings(m_statement);
    }
}

bool SqlUse::next()
{
    if (!m_ok || !m_statement)
        return false;
    if (m_rowWaiting) {
        m_rowWaiting = false;
        m_onRow = true;
        return true;
    }
    m_onRow = m_onRow && sqlite3_step(m_statement) == SQLITE_ROW;
    return m_onRow;
}

QVariant SqlUse::value(int column) const
{
    if (!m_onRow)
        return QVariant();
    switch (sqlite3_column_type(m_statement, column)) {
    case SQLITE_INTEGER:
        return QVariant(static_cast<qlonglong>(sqlite3_column_int64(m_statement, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(m_statement, column));
    case SQLITE_BLOB: {
        const void* data = sqlite3_column_blob(m_statement, column);
        return QVariant(
            QByteArray(static_cast<const char*>(data), sqlite3_column_bytes(m_statement, column)));
    }
    case SQLITE_TEXT: {
        const void* text = sqlite3_column_text16(m_statement, column);
        return QVariant(QString(static_cast<const QChar*>(text),
                                sqlite3_column_bytes16(m_statement, column) / 2));
    }
    default:
        return QVariant();
    }
}
