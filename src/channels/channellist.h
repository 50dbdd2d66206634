#pragma once
// The channel list editor without widgets: what the channel list editor shows (FillGrid), whether
// the grid differs from the database (HasChanges) and how it is saved (SaveGridContents). The
// desktop window and `kovferrit-cli channels` share it.
#include <QList>
#include <QString>
#include <QStringList>

class ChannelListModel
{
public:
    enum class Fill
    {
        Ok,
        NoGuide,
        Unreadable,
        UnknownMethod
    };

    /// FillGrid's data for a fill method (0 counts as 2) and sort column. The critical box for
    /// a missing guide and the "unknown method" box are shown here.
    Fill fill(qint32 method, qint32 sortColumn);

    qint32 method() const { return m_method; }
    /// Grid row 0: "Name", "Number" for method 2, the guide's column-header line for method 1.
    QStringList header() const { return m_header; }
    /// Data rows (grid rows 1 ...): name and number text for method 2, the record for method 1.
    QList<QStringList> rows() const { return m_rows; }

    /// Number cleaning: a non-empty text becomes its leading number as text.
    static QString cleanNumber(const QString& text);
    /// Whether any (name, number) row differs from the channel database.
    static bool hasChanges(const QList<QStringList>& rows);
    /// Saves (method 2) the rows whose number is not empty, keeping the old file as
    /// "dbchannel_.dat"; a new file is written first and renamed over the old one, so a kill at
    /// any moment loses nothing. Reloads the shared manager afterwards.
    static bool save(qint32 method, const QList<QStringList>& rows);

private:
    qint32 m_method = 2;
    QStringList m_header;
    QList<QStringList> m_rows;
};
