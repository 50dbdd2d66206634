#pragma once
// One line of a CSV file or reply, split into fields by the program's own quoting rule: a
// quote switches quoting on or off and is dropped, a comma outside quotes ends a field, and a
// field ends at its first NUL.
#include <QString>
#include <QStringList>

class CsvRow
{
public:
    /// Splits `text` into fields. False when `text` is empty or the split leaves no field; the
    /// row is then unchanged.
    bool setText(const QString& text);
    QString text() const { return m_rowData; }
    qint32 columnCount() const { return static_cast<qint32>(m_fields.size()); }
    /// Field `index` (from 0); empty text outside the fields.
    QString column(qint32 index) const;

    /// The splitting rule itself; `openQuote` is set when a quote was left open.
    static QStringList splitFields(const QString& line, bool* openQuote);

private:
    QString m_rowData;
    QStringList m_fields;
};
