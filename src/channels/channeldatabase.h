#pragma once
// The file "dbchannel.dat": reading it into entries, writing one entry as a line, the channel
// numbers it accepts, and the lock that every writer of the file holds.
#include "platform/folderlock.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

/// One entry of the channel database: a tuner channel number and the service's name for it.
struct DatabaseChannel
{
    qint32 number = 0;
    QString name;
};

struct ChannelDatabaseContent
{
    QList<DatabaseChannel> entries; ///< the readable entries, in file order
    QStringList damaged;            ///< the lines that are not an entry, as they stand
    bool complete = false;          ///< the file was opened and read to its end
};

namespace kov {
/// Reads the channel database at `path`. An entry ends at CR LF, CR or LF outside quotes; its
/// two fields are separated by a comma; blanks before a field and after an unquoted field are
/// dropped; a field that begins with a quote runs to the next quote and may hold commas and line
/// ends. A line without exactly a number 0 to 999 and a name is damaged and costs only itself.
ChannelDatabaseContent readChannelDatabase(const QString& path);
} // namespace kov

/// The channel database as read once: its content and each name's number (the last entry of a
/// name wins, as in a scan of the whole file).
struct ChannelDatabaseSnapshot
{
    ChannelDatabaseContent content;
    QHash<QString, qint32> numbers;
};

namespace kov {
/// The channel database at `path` as it is on disk now; nullptr when the file is absent or
/// empty. The file is read and parsed again only when its inode, size, modification or change
/// time differs from the last read, so a lookup that finds it unchanged costs one stat(2).
/// A read made less than `settleNs` nanoseconds after the file's last change is not kept: a
/// file system with a coarse clock could stamp a further change within that time alike.
/// Negative: 20 ms, or 2 s where the file's times are whole seconds.
std::shared_ptr<const ChannelDatabaseSnapshot> channelDatabaseNow(const QString& path,
                                                                  qint64 settleNs = -1);

/// The line (CR LF included) that stores `name` under `number`: the name in quotes when it holds
/// a comma, a line end or blanks at either end, so that reading gives the name back.
QString channelDatabaseLine(qint32 number, const QString& name);

/// Appends the entry to the file at `path` (made when absent). A file whose last line has no
/// line end yet (edited by hand) gets one first, so the entry does not run into that line.
bool appendChannelDatabaseLine(const QString& path, qint32 number, const QString& name);

/// The name as the file can hold it: no field can hold a quote character, so quotes are left
/// out when a name is written and when a name is looked up.
QString storedChannelName(const QString& name);

/// A channel number typed by the user or given on the command line: a whole number 1 to 999
/// in plain digits (blanks around it allowed); 0 for anything else.
qint32 channelNumberFromText(const QString& text);
/// Whether `number` is a tuner channel number that may be stored.
bool isChannelNumber(qint64 number);
} // namespace kov

namespace kov {
/// An answer to "which channel number?" (the prompts, --channel): a whole number from 1 to 999,
/// blanks around it allowed; with `roundFraction` a fraction is rounded halves to even, as the
/// window's number field reads. 0 for anything else, and then `why` says in one translated
/// sentence what is wrong with the answer, so the one who typed it can correct it.
qint32 readChannelNumber(const QString& text, bool roundFraction, QString* why);
} // namespace kov

/// Holds the advisory lock on "dbchannel.lock" beside the database while it lives. Every
/// read-modify-write of "dbchannel.dat" runs under it, in this process and in others (a sync
/// appending an answer, the editor or `kovferrit-cli channels` saving), so no writer loses
/// another's change.
class ChannelDatabaseLock : public FolderLock
{
public:
    ChannelDatabaseLock() : FolderLock(QStringLiteral("dbchannel.lock")) {}
};
