#pragma once
// `CsvTable` reads a whole file or text into a table of CSV rows and sorts it; readLines
// splits a file into the lines those rows are made from.
#include "csvrow.h"

#include <QList>
#include <QString>
#include <QStringList>

/// Where a file's lines end: at CR LF or a lone CR (a lone LF stays in its line), as the string
/// files and CSV files are read; or at CR LF alone, as a reply document is read, so that a stray
/// CR or LF inside a record stays in that record.
enum class LineEnds
{
    CrLfOrCr,
    CrLfOnly
};

class CsvTable
{
public:
    /// `lineEnds` applies to a file: a saved reply (the channel guide) is read with CrLfOnly.
    bool parse(const QString& data, bool isFileName = false, bool allowRaggedRows = false,
               LineEnds lineEnds = LineEnds::CrLfOrCr);
    qint32 rowCount() const { return m_rowCount; }
    /// Row `index` (from 0), or nullptr outside the rows.
    const CsvRow* row(qint32 index);
    qint32 columnCount(qint32 index);
    /// Sorts the rows from `firstRow` on by column `index`, ascending in binary order of character
    /// codes; rows with equal keys keep their order, and the rows before `firstRow` stay in place.
    /// Refused (false) for a table whose rows differ in width, an empty one, or an `index` below 0
    /// or past the number of rows.
    bool sortByColumn(qint32 index, qint32 firstRow = 0);
    bool hasRaggedRows() const { return m_differentSizedRows; }
    qint32 sortedColumn() const { return m_sortedIndex; }
    QString lastMessage() const { return m_lastMessage; }

private:
    void classMessage(const QString& message);
    bool parseFile(const QString& path, bool allowDifferent, LineEnds ends);

    QList<CsvRow> m_rows;
    qint32 m_rowCount = 0;
    bool m_differentSizedRows = false;
    qint32 m_sortedIndex = 0;
    QString m_lastMessage;
};

namespace kov {
/// Reads a file as code-page text split into lines. `ok` is false when it cannot be opened.
QStringList readLines(const QString& path, bool* ok, LineEnds ends = LineEnds::CrLfOrCr);
} // namespace kov
