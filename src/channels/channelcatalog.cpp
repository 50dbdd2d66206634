#include "channelcatalog.h"

#include "channeldatabase.h"
#include "channellookup.h"
#include "foundation/csvrow.h"
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
    kov::traceFrom("CQuibChannelManager", message);
}

std::unique_ptr<ChannelCatalog>& shared()
{
    static std::unique_ptr<ChannelCatalog> catalog;
    return catalog;
}
} // namespace

ChannelCatalog* kov::channelCatalog()
{
    if (!shared()) {
        try {
            shared() = std::make_unique<ChannelCatalog>();
        } catch (const std::exception& e) {
            kov::userInterface().messageBox(
                QStringLiteral("No reference to ChMan available, sorry !") + kov::crLf() +
                    QString::fromLocal8Bit(e.what()),
                MessageIcon::Critical, QStringLiteral("Where's my ChMan ?"));
            return nullptr;
        }
    }
    return shared().get();
}

void kov::resetChannelCatalog()
{
    shared().reset();
}

bool ChannelCatalog::loadDatabase(const QString& fileName)
{
    bool force = false;
    return loadDatabase(fileName, force);
}

bool ChannelCatalog::loadDatabase(const QString& fileName, bool& reloaded)
{
    const QString path = fileName.isEmpty() ? kov::channelDatabasePath() : fileName;
    // Shares the parse with the lookups of kov::channelByName while the file is unchanged.
    const std::shared_ptr<const ChannelDatabaseSnapshot> database = kov::channelDatabaseNow(path);
    if (!database) {
        if (!m_reportedMissing) {
            silent(kov::programFolder() + QStringLiteral("\\dbchannel.dat doesn't exist"));
            m_reportedMissing = true;
        }
        return false;
    }
    const ChannelDatabaseContent& content = database->content;
    if (!content.complete) {
        kov::userInterface().messageBox(
            QStringLiteral("CQuibChannelManager::LoadChannelsFromDatabase : File not found"),
            MessageIcon::Information, kov::appTitle());
        return false;
    }
    for (const QString& line : content.damaged)
        silent(QStringLiteral("Invalid Channel Database Format (") + line + QLatin1Char(')'));
    for (const DatabaseChannel& entry : content.entries) {
        if (reloaded) {
            m_database.clear();
            m_databaseNumbers.clear();
            reloaded = false;
        }
        m_database.append(entry);
        m_databaseNumbers.insert(entry.name, entry.number); // the last entry of a name wins
    }
    m_loaded = true;
    return true;
}

bool ChannelCatalog::ensureLoaded()
{
    if (!m_loaded)
        m_loaded = loadDatabase();
    return m_loaded;
}

GuideChannel* ChannelCatalog::channel(qint32 index)
{
    if (index < 0 || index >= channelCount())
        return nullptr;
    return m_channels[static_cast<size_t>(index)].get();
}

GuideChannel* ChannelCatalog::findChannelById(qint32 id)
{
    return m_channelsById.value(id, nullptr);
}

GuideChannel* ChannelCatalog::appendChannel()
{
    m_channels.push_back(std::make_unique<GuideChannel>());
    return m_channels.back().get();
}

void ChannelCatalog::indexChannel(GuideChannel* channel)
{
    m_channelsById.insert(channel->id(), channel); // the channel made last wins
}

GuideChannel* ChannelCatalog::findChannelByName(const QString& name)
{
    GuideChannel* found = nullptr;
    for (const auto& channel : m_channels) {
        if (channel->name() == name)
            found = channel.get();
    }
    return found;
}

GuideChannel* ChannelCatalog::createChannel(const CsvRow& row)
{
    try {
        if (row.columnCount() == 0)
            throw std::runtime_error("Invalid procedure call or argument");
        const QString name = row.column(1);
        // The identifier is converted strictly: text that is not a number is a failure.
        const qint32 identifier = kov::toInt32Strict(row.column(2));
        if (name.isEmpty()) {
            silent(QStringLiteral("CreateNewChannel, method: 1 Can't resolve name."));
            return nullptr;
        }
        if (findChannelById(identifier)) {
            silent(QStringLiteral("CreateNewChannel channel alredy exists with ID : ") +
                   QString::number(identifier));
            return nullptr;
        }
        GuideChannel* channel = appendChannel();
        m_csv = row.text();
        channel->readRecord(row);
        indexChannel(channel);
        return channel;
    } catch (const std::exception& e) {
        silent(QStringLiteral("CreateNewChannel ERROR : ") + QString::fromLocal8Bit(e.what()));
        return nullptr;
    }
}

qint32 ChannelCatalog::channelNumber(const QString& name, bool prompt)
{
    if (m_channels.empty()) {
        silent(QStringLiteral("No channels defined !"));
        return 0;
    }
    qint32 result = 0;
    for (const auto& channel : m_channels) {
        if (channel->name() == name) {
            channel->setPromptsForNumber(prompt);
            result = channel->channelNumber();
        }
    }
    return result;
}

qint32 ChannelCatalog::databaseNumber(const QString& name, bool /*prompt*/)
{
    if (!ensureLoaded())
        return 0;
    return m_databaseNumbers.value(kov::storedChannelName(name), 0);
}
