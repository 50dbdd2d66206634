#include "csvrow.h"

#include "texttools.h"
#include "trace.h"

QStringList CsvRow::splitFields(const QString& line, bool* openQuote)
{
    // The characters between two quotes or separators are taken as one run, not one by one.
    QStringList fields;
    QString current;
    bool inQuotes = false;
    qsizetype runStart = 0;
    const qsizetype n = line.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = line[i];
        if (c == QLatin1Char('"')) {
            current += QStringView(line).mid(runStart, i - runStart);
            inQuotes = !inQuotes;
            runStart = i + 1;
        } else if (c == QLatin1Char(',') && !inQuotes) {
            current += QStringView(line).mid(runStart, i - runStart);
            fields << kov::stripNull(current);
            current.clear();
            runStart = i + 1;
        }
    }
    if (inQuotes) {
        kov::trace(QStringLiteral("SpecialSplit shouldn't end in quotes"));
    } else {
        current += QStringView(line).mid(runStart, n - runStart);
        fields << kov::stripNull(current);
    }
    if (openQuote)
        *openQuote = inQuotes;
    return fields;
}

bool CsvRow::setText(const QString& text)
{
    if (text.isEmpty()) {
        kov::traceFrom("CKovQzCSVrow", QStringLiteral("Let RowData data is missing"));
        return false;
    }
    const QStringList fields = splitFields(text, nullptr);
    if (fields.isEmpty())
        return false;
    m_fields = fields;
    m_rowData = text;
    return true;
}

QString CsvRow::column(qint32 index) const
{
    return index >= 0 && index < m_fields.size() ? m_fields.at(index) : QString();
}
