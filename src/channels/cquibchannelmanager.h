#pragma once
// The service channels and the local channel database of the process.
#include "cquibchannel.h"

#include <QHash>
#include <QList>
#include <QString>

#include <memory>
#include <vector>

class CQuibChannelManager
{
public:
    /// Reads "dbchannel.dat" (or FileName). ForceReload empties the list before the first
    /// accepted line and is cleared then, in the caller's variable too.
    bool LoadChannelsFromDatabase(const QString& FileName, bool& ForceReload);
    bool LoadChannelsFromDatabase(const QString& FileName = QString());
    QString CSV() const { return m_csv; }
    CQuibChannel* QuibChannel(qint32 Index);
    /// Method 1: a channel-guide record; method 2: a bare name. nullptr when refused.
    CQuibChannel* CreateNewChannel(const QString& Data, qint32 Method);
    qint32 GetChannelNumberByName(const QString& ThisName, bool PromptUser = true);
    qint32 GetChNoByNameFromDB(const QString& ThisName, bool PromptUser = false);

    /// The database entries, in file order (the channel list editor's view).
    const QList<CDatabaseChannel>& DatabaseChannels() const { return m_database; }
    qint32 ChannelCount() const { return static_cast<qint32>(m_channels.size()); }

private:
    bool EnsureLoaded();
    CQuibChannel* FindChannelByID(qint32 id);
    CQuibChannel* FindChannelByName(const QString& name);
    CQuibChannel* appendChannel();
    /// Files a new channel under the ID it was made with (the ID cannot change afterwards
    /// through the manager), so FindChannelByID costs one hash look-up in a large guide.
    void indexChannel(CQuibChannel* channel);

    std::vector<std::unique_ptr<CQuibChannel>> m_channels;
    QHash<qint32, CQuibChannel*> m_channelsById;
    QList<CDatabaseChannel> m_database;
    QHash<QString, qint32> m_databaseNumbers; ///< each name's number in m_database, the last wins
    QString m_csv;
    bool m_loaded = false;
    bool m_reportedMissing = false;
};

/// The one shared manager of the process (made on first use); nullptr only if it cannot be made.
CQuibChannelManager* GetChannelManager();
/// Drops the shared manager (tests start each case afresh; the program never calls it).
void kov_ResetChannelManager();
