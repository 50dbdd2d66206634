#include "cquibchannelmanager.h"

#include "channel_lookup.h"
#include "channeldatabase.h"
#include "foundation/ckovqzcsv.h"
#include "foundation/numbertext.h"
#include "foundation/programfolder.h"
#include "foundation/programname.h"
#include "foundation/texttools.h"
#include "foundation/trace.h"
#include "platform/userinterface.h"

#include <stdexcept>

namespace {
void silent(const QString& message)
{
    kov_ClassMessage("CQuibChannelManager", message);
}

std::unique_ptr<CQuibChannelManager>& shared()
{
    static std::unique_ptr<CQuibChannelManager> manager;
    return manager;
}
} // namespace

CQuibChannelManager* GetChannelManager()
{
    if (!shared()) {
        try {
            shared() = std::make_unique<CQuibChannelManager>();
        } catch (const std::exception& e) {
            kov_UserInterface().messageBox(
                QStringLiteral("No reference to ChMan available, sorry !") + kov_CrLf() +
                    QString::fromLocal8Bit(e.what()),
                MessageIcon::Critical, QStringLiteral("Where's my ChMan ?"));
            return nullptr;
        }
    }
    return shared().get();
}

void kov_ResetChannelManager()
{
    shared().reset();
}

bool CQuibChannelManager::LoadChannelsFromDatabase(const QString& FileName)
{
    bool force = false;
    return LoadChannelsFromDatabase(FileName, force);
}

bool CQuibChannelManager::LoadChannelsFromDatabase(const QString& FileName, bool& ForceReload)
{
    const QString path = FileName.isEmpty() ? kov_ChannelDatabasePath() : FileName;
    // Shares the parse with the lookups of GetChannelByName while the file is unchanged.
    const std::shared_ptr<const ChannelDatabaseSnapshot> database = kov_ChannelDatabaseNow(path);
    if (!database) {
        if (!m_reportedMissing) {
            silent(kov_ProgramFolder() + QStringLiteral("\\dbchannel.dat doesn't exist"));
            m_reportedMissing = true;
        }
        return false;
    }
    const ChannelDatabaseContent& content = database->content;
    if (!content.complete) {
        kov_UserInterface().messageBox(
            QStringLiteral("CQuibChannelManager::LoadChannelsFromDatabase : File not found"),
            MessageIcon::Information, kov_AppTitle());
        return false;
    }
    for (const QString& line : content.damaged)
        silent(QStringLiteral("Invalid Channel Database Format (") + line + QLatin1Char(')'));
    for (const CDatabaseChannel& entry : content.entries) {
        if (ForceReload) {
            m_database.clear();
            m_databaseNumbers.clear();
            ForceReload = false;
        }
        m_database.append(entry);
        m_databaseNumbers.insert(entry.Name, entry.Number); // the last entry of a name wins
    }
    m_loaded = true;
    return true;
}

bool CQuibChannelManager::EnsureLoaded()
{
    if (!m_loaded)
        m_loaded = LoadChannelsFromDatabase();
    return m_loaded;
}

CQuibChannel* CQuibChannelManager::QuibChannel(qint32 Index)
{
    if (Index < 0 || Index >= ChannelCount())
        return nullptr;
    return m_channels[static_cast<size_t>(Index)].get();
}

CQuibChannel* CQuibChannelManager::FindChannelByID(qint32 id)
{
    return m_channelsById.value(id, nullptr);
}

CQuibChannel* CQuibChannelManager::appendChannel()
{
    m_channels.push_back(std::make_unique<CQuibChannel>());
    return m_channels.back().get();
}

void CQuibChannelManager::indexChannel(CQuibChannel* channel)
{
    m_channelsById.insert(channel->ID(), channel); // the channel made last wins
}

CQuibChannel* CQuibChannelManager::FindChannelByName(const QString& name)
{
    CQuibChannel* found = nullptr;
    for (const auto& channel : m_channels) {
        if (channel->Name() == name)
            found = channel.get();
    }
    return found;
}

CQuibChannel* CQuibChannelManager::CreateNewChannel(const QString& Data, qint32 Method)
{
    try {
        if (Method == 1) {
            CKovQzCSVrow row;
            if (!row.setRowData(Data))
                throw std::runtime_error("Invalid procedure call or argument");
            const QString name = row.Column(1);
            // The identifier is converted strictly: text that is not a number is a failure.
            const qint32 identifier = kov_CLng(row.Column(2));
            if (name.isEmpty()) {
                silent(QStringLiteral("CreateNewChannel, method: 1 Can't resolve name."));
                return nullptr;
            }
            if (FindChannelByID(identifier)) {
                silent(QStringLiteral("CreateNewChannel channel alredy exists with ID : ") +
                       QString::number(identifier));
                return nullptr;
            }
            CQuibChannel* channel = appendChannel();
            m_csv = Data;
            channel->SetInfoByCSV(Data);
            indexChannel(channel);
            return channel;
        }
        if (Method == 2) {
            if (FindChannelByName(Data)) {
                silent(QStringLiteral("CreateNewChannel channel alredy exists with ID : 0"));
                return nullptr;
            }
            CQuibChannel* channel = appendChannel();
            channel->setName(Data);
            indexChannel(channel);
            return channel;
        }
        silent(QStringLiteral("CreateNewChannel Method(") + QString::number(Method) +
               QStringLiteral(") Unknown"));
        return nullptr;
    } catch (const std::exception& e) {
        silent(QStringLiteral("CreateNewChannel ERROR : ") + QString::fromLocal8Bit(e.what()));
        return nullptr;
    }
}

qint32 CQuibChannelManager::GetChannelNumberByName(const QString& ThisName, bool PromptUser)
{
    if (m_channels.empty()) {
        silent(QStringLiteral("No channels defined !"));
        return 0;
    }
    qint32 result = 0;
    for (const auto& channel : m_channels) {
        if (channel->Name() == ThisName) {
            channel->setPromptMissingChannels(PromptUser);
            result = channel->ChannelNumber();
        }
    }
    return result;
}

qint32 CQuibChannelManager::GetChNoByNameFromDB(const QString& ThisName, bool /*PromptUser*/)
{
    if (!EnsureLoaded())
        return 0;
    return m_databaseNumbers.value(kov_StoredChannelName(ThisName), 0);
}
