#pragma once
// The channel list editor without widgets: what the channel list editor shows (fillGrid), whether
// the grid differs from the database (hasChanges) and how it is saved (saveGrid). The
// desktop window and `kovferrit-cli channels` share it.
#include <QHash>
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

    /// How a refill orders the rows: as the guide gives them, by name, or by channel number.
    enum class Order
    {
        File,
        Name,
        Number
    };

    /// fillGrid's data for a fill method (0 counts as 2) and sort column. The critical box for
    /// a missing guide and the "unknown method" box are shown here.
    Fill fill(qint32 method, qint32 sortColumn);

    qint32 method() const { return m_method; }
    /// After a fill that found the guide unreadable: why, as the table parser said it.
    QString problem() const { return m_problem; }
    /// Grid row 0: "Name", "Number" for method 2, the guide's column-header line for method 1.
    QStringList header() const { return m_header; }
    /// Data rows (grid rows 1 ...): name and number text for method 2, the record for method 1.
    QList<QStringList> rows() const { return m_rows; }

    /// After fill(): puts back the numbers typed but not saved (`typed`, channel name to Number
    /// cell) where the database holds no number for the name, and orders the rows. By name:
    /// ignoring case; by number: the cell's leading number, an empty cell counting as 0, so the
    /// channels still without a number come first; ties by name. Returns the rows to show;
    /// rows() is reordered alike and keeps the numbers as filled, which save() compares with.
    QList<QStringList> arrange(Order order, const QHash<QString, QString>& typed);

    /// Number cleaning: an empty text stays empty, a whole number 1 to 999 is written in plain
    /// digits into `cleaned`; false (and `cleaned` untouched) for any other text, and then
    /// `why`, when given, tells the user why in one sentence.
    static bool cleanNumber(const QString& text, QString* cleaned, QString* why = nullptr);
    /// Whether any (name, number) row differs from the channel database.
    static bool hasChanges(const QList<QStringList>& rows);
    /// Saves (method 2) the rows whose number is not empty. `loaded` are the rows as filled: a
    /// row left as it was takes the number the file holds now, so that an answer another
    /// process stored meanwhile survives. Runs under the database lock, keeps the old file as
    /// "dbchannel_.dat" and renames a new file over the old one, so a kill at any moment loses
    /// nothing. Refuses to save over a file it cannot read, or a number outside 1 to 999.
    /// Reloads the shared channel catalogue afterwards.
    static bool save(qint32 method, const QList<QStringList>& rows,
                     const QList<QStringList>& loaded);

private:
    qint32 m_method = 2;
    QStringList m_header;
    QList<QStringList> m_rows;
    QString m_problem;
};
