#pragma once
// The outcome and rows of one run of a statement that SqlConnection keeps (SqlConnection::run).
#include <QVariant>
#include <QVariantList>

struct sqlite3_stmt;

/// One use of a kept statement, run to its first row when made: the statement is reset when
/// the use ends.
class SqlUse
{
public:
    /// A use that failed before the statement ran.
    SqlUse() = default;
    /// Runs `statement` (`values` already bound) to its first row or its end. The values are
    /// kept while the statement may still read them: blobs are bound without a copy.
    SqlUse(sqlite3_stmt* statement, QVariantList values);
    SqlUse(SqlUse&& other) noexcept;
    SqlUse(const SqlUse&) = delete;
    SqlUse& operator=(const SqlUse&) = delete;
    SqlUse& operator=(SqlUse&&) = delete;
    ~SqlUse();

    /// False when SQLite refused to prepare or to run the statement.
    bool ok() const { return m_ok; }
    /// Moves to the next row (the first on the first call); false after the last.
    bool next();
    QVariant value(int column) const;
    int rowsAffected() const { return m_changes; }

private:
    sqlite3_stmt* m_statement = nullptr;
    QVariantList m_values;
    bool m_ok = false;
    bool m_rowWaiting = false; // the first step found a row that next() has not yet handed out
    bool m_onRow = false;
    int m_changes = 0;
};
