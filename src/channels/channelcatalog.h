#pragma once
// The service channels and the local channel database of the process.
#include "channeldatabase.h"
#include "guidechannel.h"

#include <QHash>
#include <QList>
#include <QString>

#include <memory>
#include <vector>

class ChannelCatalog
{
public:
    /// Reads "dbchannel.dat" (or fileName). reloaded empties the list before the first
    /// accepted line and is cleared then, in the caller's variable too.
    bool loadDatabase(const QString& fileName, bool& reloaded);
    bool loadDatabase(const QString& fileName = QString());
    QString csv() const { return m_csv; }
    GuideChannel* channel(qint32 index);
    /// A channel from a channel-guide record split into its fields; nullptr when refused.
    GuideChannel* createChannel(const CsvRow& record);
    qint32 channelNumber(const QString& name, bool prompt = true);
    qint32 databaseNumber(const QString& name, bool prompt = false);

    /// The database entries, in file order (the channel list editor's view).
    const QList<DatabaseChannel>& databaseChannels() const { return m_database; }
    qint32 channelCount() const { return static_cast<qint32>(m_channels.size()); }

private:
    bool ensureLoaded();
    GuideChannel* findChannelById(qint32 id);
    GuideChannel* findChannelByName(const QString& name);
    GuideChannel* appendChannel();
    /// Files a new channel under the ID it was made with (the ID cannot change afterwards
    /// through the catalogue), so findChannelById costs one hash look-up in a large guide.
    void indexChannel(GuideChannel* channel);

    std::vector<std::unique_ptr<GuideChannel>> m_channels;
    QHash<qint32, GuideChannel*> m_channelsById;
    QList<DatabaseChannel> m_database;
    QHash<QString, qint32> m_databaseNumbers; ///< each name's number in m_database, the last wins
    QString m_csv;
    bool m_loaded = false;
    bool m_reportedMissing = false;
};

namespace kov {
/// The one shared catalogue of the process (made on first use); nullptr only if it cannot be
/// made.
ChannelCatalog* channelCatalog();
/// Drops the shared catalogue (tests start each case afresh; the program never calls it).
void resetChannelCatalog();
} // namespace kov
