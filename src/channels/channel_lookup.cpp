#include "channel_lookup.h"

#include "channeldatabase.h"
#include "channelmatch.h"
#include "foundation/programfolder.h"
#include "foundation/trace.h"
#include "platform/userinterface.h"

namespace {
void silent(const QString& message)
{
    kov_ClassMessage("CQuibChannelManager", message);
}
} // namespace

qint32 SuggestedNumber(const QString& name)
{
    // Only a recorder that keeps a channel list of its own (VDR) has something to propose.
    const auto channels = kov_RecorderChannels();
    return channels ? kov_MatchedNumber(name, *channels) : 0;
}

QString kov_ChannelDatabasePath()
{
    return kov_ProgramFile(QStringLiteral("dbchannel.dat"));
}

qint32 GetChannelByName(const QString& ThisName, bool PromptUser)
{
    qint32 result = 0;
    const QString path = kov_ChannelDatabasePath();
    // The file as it is on disk now; it is parsed again only after it has changed.
    const std::shared_ptr<const ChannelDatabaseSnapshot> database = kov_ChannelDatabaseNow(path);
    if (!database) {
        silent(kov_ProgramFolder() + QStringLiteral("\\dbchannel.dat doesn't exist"));
    } else {
        // A damaged line costs that line only: the entries after it are still found.
        if (!database->content.complete) {
            silent(QStringLiteral("GetChannelByName ERROR: File not found"));
            return result;
        }
        for (const QString& line : database->content.damaged)
            silent(QStringLiteral("GetChannelByName skipped (") + line + QLatin1Char(')'));
        result = database->numbers.value(kov_StoredChannelName(ThisName), 0);
    }
    if (PromptUser && result == 0) {
        const qint32 chosen =
            kov_UserInterface().askChannelNumber(ThisName, SuggestedNumber(ThisName));
        if (chosen != 0 && !kov_IsChannelNumber(chosen)) {
            silent(QStringLiteral("GetChannelByName: no channel number ") +
                   QString::number(chosen));
            return 0; // as cancelled: nothing is stored and the next lookup asks again
        }
        if (chosen != 0) {
            // Under the lock, so that no save renames a new file over the one appended to.
            const ChannelDatabaseLock lock;
            kov_AppendChannelDatabaseLine(path, chosen, ThisName);
        }
        result = chosen;
    }
    return result;
}
