#include "channellookup.h"

#include "channeldatabase.h"
#include "channelmatch.h"
#include "foundation/programfolder.h"
#include "foundation/trace.h"
#include "platform/userinterface.h"
#include "recorders/recorderfactory.h"

namespace {
void silent(const QString& message)
{
    kov::traceFrom("CQuibChannelManager", message);
}
} // namespace

qint32 kov::suggestedNumber(const QString& name, RecorderSource& recorders)
{
    // Only a recorder that keeps a channel list of its own (VDR) has something to propose.
    const auto channels = kov::recorderChannels(recorders);
    return channels ? kov::matchedNumber(name, *channels) : 0;
}

QString kov::channelDatabasePath()
{
    return kov::programFile(QStringLiteral("dbchannel.dat"));
}

qint32 kov::channelByName(const QString& name, bool prompt, RecorderSource* recorders)
{
    qint32 result = 0;
    const QString path = kov::channelDatabasePath();
    // The file as it is on disk now; it is parsed again only after it has changed.
    const std::shared_ptr<const ChannelDatabaseSnapshot> database = kov::channelDatabaseNow(path);
    if (!database) {
        silent(kov::programFolder() + QStringLiteral("\\dbchannel.dat doesn't exist"));
    } else {
        // A damaged line costs that line only: the entries after it are still found.
        if (!database->content.complete) {
            silent(QStringLiteral("GetChannelByName ERROR: File not found"));
            return result;
        }
        for (const QString& line : database->content.damaged)
            silent(QStringLiteral("GetChannelByName skipped (") + line + QLatin1Char(')'));
        result = database->numbers.value(kov::storedChannelName(name), 0);
    }
    if (prompt && result == 0) {
        ConfiguredRecorders configured;
        const qint32 chosen = kov::userInterface().askChannelNumber(
            name, kov::suggestedNumber(name, recorders ? *recorders : configured));
        if (chosen != 0 && !kov::isChannelNumber(chosen)) {
            silent(QStringLiteral("GetChannelByName: no channel number ") +
                   QString::number(chosen));
            return 0; // as cancelled: nothing is stored and the next lookup asks again
        }
        if (chosen != 0) {
            // Under the lock, so that no save renames a new file over the one appended to.
            const ChannelDatabaseLock lock;
            kov::appendChannelDatabaseLine(path, chosen, name);
        }
        result = chosen;
    }
    return result;
}
