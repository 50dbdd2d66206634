#include "channellist.h"

#include "channelcatalog.h"
#include "channeldatabase.h"
#include "channellookup.h"
#include "foundation/codepage.h"
#include "foundation/csvrow.h"
#include "foundation/csvtable.h"
#include "foundation/fileexists.h"
#include "foundation/filewriters.h"
#include "foundation/numbertext.h"
#include "foundation/programfolder.h"
#include "foundation/programname.h"
#include "foundation/texttools.h"
#include "foundation/trace.h"
#include "foundation/translate.h"
#include "platform/userinterface.h"
#include "settings/settingscatalogue.h"
#include "settings/settingsstore.h"

#include <QHash>

#include <algorithm>
#include <numeric>

namespace {
void silent(const QString& message)
{
    kov::traceFrom("frmChannelList", message);
}

void forceReload()
{
    bool force = true;
    ChannelCatalog* catalog = kov::channelCatalog();
    if (!catalog || !catalog->loadDatabase(QString(), force))
        silent(QStringLiteral("ChannelManager Force Update Failed"));
}

// The new file's text: the rows in grid order, those left as loaded with the number the file
// holds now. False when the file cannot be read (saving would drop what it holds) or a number
// is not a channel number.
bool databaseText(const QList<QStringList>& rows, const QList<QStringList>& loaded, QString* text)
{
    QHash<QString, qint32> current;
    if (kov::fileExists(kov::channelDatabasePath())) {
        const ChannelDatabaseContent content = kov::readChannelDatabase(kov::channelDatabasePath());
        if (!content.complete) {
            silent(QStringLiteral("SaveGridContents: dbchannel.dat cannot be read, not saved"));
            return false;
        }
        for (const DatabaseChannel& entry : content.entries)
            current.insert(entry.name, entry.number);
    }
    for (qsizetype r = 0; r < rows.size(); ++r) {
        const QString& name = rows.at(r).value(0);
        const QString& typed = rows.at(r).value(1);
        qint32 number = kov::channelNumberFromText(typed);
        if (r < loaded.size() && rows.at(r) == loaded.at(r)) {
            number = current.value(kov::storedChannelName(name));
        } else if (!typed.isEmpty() && number == 0) {
            silent(QStringLiteral("SaveGridContents: no channel number (") + typed +
                   QStringLiteral("), not saved"));
            return false;
        }
        if (number != 0)
            *text += kov::channelDatabaseLine(number, name);
    }
    return true;
}

// Replaces the database whole, keeping the old file as "dbchannel_.dat".
bool replaceDatabase(const QString& text)
{
    return kov::writePrivateBytes(kov::channelDatabasePath(), kov::toCodePage(text), nullptr,
                                  kov::programFile(QStringLiteral("dbchannel_.dat")));
}

QString guidePath()
{
    return kov::programFile(QStringLiteral("kovquibcg.dat"));
}
} // namespace

ChannelListModel::Fill ChannelListModel::fill(qint32 method, qint32 sortColumn)
{
    m_method = method == 0 ? 2 : method;
    m_problem.clear();
    m_header.clear();
    m_rows.clear();
    if (!kov::fileExists(guidePath())) {
        kov::userInterface().messageBox(
            kov::translate(QStringLiteral("Channel Database Doesn't Exist")) + kov::crLf() +
                guidePath(),
            MessageIcon::Critical, kov::translate(QStringLiteral("ERROR")));
        SettingsStore settings = kov::settings();
        kov::setNumber(settings, Setting::HaveChannelDatabase, 0);
        return Fill::NoGuide;
    }
    CsvTable table;
    // The guide is the reply as it came: its records end at CR LF only, so a lone CR inside a
    // channel's name stays in that name (as the channel-guide check read it).
    if (!table.parse(guidePath(), true, true, LineEnds::CrLfOnly)) {
        silent(QStringLiteral("Unable to populate grid"));
        m_problem = table.lastMessage();
        return Fill::Unreadable;
    }
    if (kov::fileExists(kov::channelDatabasePath()))
        forceReload();
    if (m_method == 2) {
        m_header = QStringList{kov::translate(QStringLiteral("Name")),
                               kov::translate(QStringLiteral("Number"))};
        // Rows 0 and 1 are the status line and the column-header line, not channels: only the
        // records after them are sorted, so that the loop below still starts at the first
        // record. A guide's status line is shorter than its records, so the table refuses to
        // sort and the records keep file order (the service's order).
        table.sortByColumn(sortColumn, 2);
        ChannelCatalog* catalog = kov::channelCatalog();
        for (qint32 i = 2; i < table.rowCount(); ++i) {
            const QString name = table.row(i)->column(1);
            const qint32 number = catalog ? catalog->databaseNumber(name) : 0;
            m_rows.append(QStringList{name, number != 0 ? QString::number(number) : QString()});
        }
        return Fill::Ok;
    }
    if (m_method == 1) {
        const CsvRow* header = table.row(1);
        const qint32 columns = header ? header->columnCount() : 0;
        for (qint32 c = 0; c < columns; ++c)
            m_header << header->column(c);
        for (qint32 i = 2; i < table.rowCount(); ++i) {
            QStringList record;
            for (qint32 c = 0; c < columns; ++c)
                record << table.row(i)->column(c);
            m_rows.append(record);
        }
        return Fill::Ok;
    }
    kov::userInterface().messageBox(QStringLiteral("Grid fill Method (") + QString::number(method) +
                                        QStringLiteral(") Unknown"),
                                    MessageIcon::Information, kov::appTitle());
    return Fill::UnknownMethod;
}

QList<QStringList> ChannelListModel::arrange(Order order, const QHash<QString, QString>& typed)
{
    QList<QStringList> shown = m_rows;
    if (m_method != 2)
        return shown;
    for (QStringList& row : shown) {
        if (row.value(1).isEmpty())
            row[1] = typed.value(row.value(0));
    }
    const auto byName = [&shown](qsizetype a, qsizetype b) {
        const QString& left = shown.at(a).at(0);
        const QString& right = shown.at(b).at(0);
        const int folded = left.compare(right, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : left < right;
    };
    QList<qsizetype> index(shown.size());
    std::iota(index.begin(), index.end(), 0);
    if (order == Order::Name) {
        std::stable_sort(index.begin(), index.end(), byName);
    } else if (order == Order::Number) {
        std::stable_sort(index.begin(), index.end(), [&](qsizetype a, qsizetype b) {
            const double left = kov::leadingNumber(shown.at(a).at(1));
            const double right = kov::leadingNumber(shown.at(b).at(1));
            return left != right ? left < right : byName(a, b);
        });
    }
    QList<QStringList> filled;
    QList<QStringList> arranged;
    for (const qsizetype i : index) {
        filled << m_rows.at(i);
        arranged << shown.at(i);
    }
    m_rows = filled;
    return arranged;
}

bool ChannelListModel::cleanNumber(const QString& text, QString* cleaned, QString* why)
{
    if (text.isEmpty()) {
        *cleaned = text;
        return true;
    }
    const qint32 number = kov::channelNumberFromText(text);
    if (number == 0) {
        // The prompt's reading tells a fraction or letters from a number out of range; what it
        // would still take ("1e2", "+5") is refused here because the cell holds plain digits.
        if (why && kov::readChannelNumber(text, false, why) != 0)
            *why = kov::translate(QStringLiteral("%1 is not a whole number.")).arg(text.trimmed());
        return false;
    }
    *cleaned = QString::number(number); // plain digits in every locale
    return true;
}

bool ChannelListModel::hasChanges(const QList<QStringList>& rows)
{
    ChannelCatalog* catalog = kov::channelCatalog();
    for (const QStringList& row : rows) {
        const double typed = kov::leadingNumber(row.value(1));
        const qint32 stored = catalog ? catalog->databaseNumber(row.value(0)) : 0;
        if (typed != stored)
            return true;
    }
    return false;
}

bool ChannelListModel::save(qint32 method, const QList<QStringList>& rows,
                            const QList<QStringList>& loaded)
{
    bool written = false;
    if (method == 2) {
        const ChannelDatabaseLock lock;
        QString text;
        written = databaseText(rows, loaded, &text) && replaceDatabase(text);
    } else if (method != 0 && method != 1) {
        kov::userInterface().messageBox(QStringLiteral("SaveGridContents(") +
                                            QString::number(method) + QStringLiteral(") Unknown"),
                                        MessageIcon::Information, kov::appTitle());
    }
    forceReload();
    return written;
}
