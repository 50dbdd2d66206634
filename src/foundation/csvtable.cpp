#include "csvtable.h"

#include "codepage.h"
#include "filewriters.h"
#include "programfolder.h"
#include "texttools.h"
#include "trace.h"

#include <QFile>

#include <algorithm>
#include <utility>
#include <vector>

QStringList kov::readLines(const QString& path, bool* ok, LineEnds ends)
{
    QStringList lines;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (ok)
            *ok = false;
        return lines;
    }
    const QString text = kov::fromCodePage(f.readAll());
    // Every line end starts with a CR; the text between two of them is taken whole.
    qsizetype start = 0;
    for (qsizetype cr = text.indexOf(QLatin1Char('\r')); cr >= 0;
         cr = text.indexOf(QLatin1Char('\r'), cr + 1)) {
        const bool crLf = cr + 1 < text.size() && text[cr + 1] == QLatin1Char('\n');
        if (!crLf && ends != LineEnds::CrLfOrCr)
            continue; // a lone CR stays in its line
        lines << text.mid(start, cr - start);
        start = crLf ? cr + 2 : cr + 1;
    }
    if (start < text.size())
        lines << text.mid(start); // a last line without a line end
    if (ok)
        *ok = true;
    return lines;
}

void CsvTable::classMessage(const QString& message)
{
    m_lastMessage = message;
    kov::traceFrom("CKovQzCSV", message);
}

bool CsvTable::parse(const QString& data, bool isFileName, bool allowRaggedRows, LineEnds lineEnds)
{
    if (data.isEmpty()) {
        classMessage(QStringLiteral("ParseData Data is missing"));
        return false;
    }
    if (isFileName)
        return parseFile(data, allowRaggedRows, lineEnds);
    // Text goes through the one fixed file "temp.csv", removed on every way out.
    const QString temp = kov::programFile(QStringLiteral("temp.csv"));
    bool ok = false;
    if (kov::writeTextFile(temp, data + kov::crLf())) {
        ok = parseFile(temp, allowRaggedRows, LineEnds::CrLfOrCr);
    } else {
        classMessage(QStringLiteral("ParseData FAILED ") + QStringLiteral("Permission denied"));
        m_rows.clear();
        m_rowCount = 0;
    }
    QFile::remove(temp);
    return ok;
}

bool CsvTable::parseFile(const QString& path, bool allowDifferent, LineEnds ends)
{
    m_rows.clear();
    m_rowCount = 0;
    m_differentSizedRows = false;
    auto fail = [this](const QString& message) {
        classMessage(message);
        m_rows.clear();
        m_rowCount = 0;
        return false;
    };
    bool opened = false;
    const QStringList lines = kov::readLines(path, &opened, ends);
    if (!opened)
        return fail(QStringLiteral("ParseData FAILED ") + QStringLiteral("File not found"));
    qint32 expected = -1;
    for (const QString& line : lines) {
        if (line.isEmpty())
            continue;
        CsvRow row;
        if (!row.setText(line))
            return fail(QStringLiteral("ParseData FAILED ") + QStringLiteral("Invalid row data"));
        if (expected < 0) {
            expected = row.columnCount();
            if (expected == 0)
                return fail(QStringLiteral("ParseData no data in first column."));
        } else if (row.columnCount() != expected) {
            if (!allowDifferent)
                return fail(QStringLiteral("ParseData NoColumns inconsistent"));
            m_differentSizedRows = true;
        }
        m_rows.append(row);
    }
    m_rowCount = static_cast<qint32>(m_rows.size());
    return true;
}

const CsvRow* CsvTable::row(qint32 index)
{
    if (index < 0 || index >= m_rows.size()) {
        classMessage(QStringLiteral("Row GET Bad Index ") + QString::number(index));
        return nullptr;
    }
    return &m_rows.at(index);
}

qint32 CsvTable::columnCount(qint32 index)
{
    if (index < 0 || index >= m_rows.size()) {
        classMessage(QStringLiteral("NoColumns Get bad Index ") + QString::number(index));
        return 0;
    }
    return m_rows.at(index).columnCount();
}

bool CsvTable::sortByColumn(qint32 index, qint32 firstRow)
{
    if (m_differentSizedRows) {
        classMessage(QStringLiteral(" Sort Multiple Sized Rows Not Supported"));
        return false;
    }
    const qint32 n = static_cast<qint32>(m_rows.size());
    if (n == 0) {
        classMessage(QStringLiteral(" Nothing to sort"));
        return false;
    }
    if (index < 0 || index > n) {
        classMessage(QStringLiteral(" Invalid Index: ") + QString::number(index) +
                     QStringLiteral(" max: ") + QString::number(n));
        return false;
    }
    // The keys are taken once; QString's operator< compares UTF-16 code units, the binary
    // order of character codes (10 before 9, Z before a).
    const qint32 first = qBound(0, firstRow, n);
    std::vector<std::pair<QString, qint32>> keys;
    keys.reserve(static_cast<size_t>(n - first));
    for (qint32 i = first; i < n; ++i)
        keys.emplace_back(m_rows.at(i).column(index), i);
    std::stable_sort(keys.begin(), keys.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    QList<CsvRow> sorted;
    sorted.reserve(n);
    for (qint32 i = 0; i < first; ++i)
        sorted.append(std::move(m_rows[i]));
    for (const auto& key : keys)
        sorted.append(std::move(m_rows[key.second]));
    m_rows = std::move(sorted);
    m_sortedIndex = index;
    return true;
}
