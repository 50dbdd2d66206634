#pragma once
// Matching the channel list against the recorder's own channels: a name matches when it is the
// same without regard to case, blanks and punctuation ("Das Erste HD" = "das erste-hd").
#include "platform/recorderscheduler.h"

#include <QList>
#include <QStringList>

namespace kov {
/// The own channel list of the recorder `recorders` makes for reading; none when it keeps none
/// or, with `*reachable` set false, when it cannot be reached (and then `*why` names the
/// recorder and the cause).
std::optional<QList<RecorderChannel>>
recorderChannels(RecorderSource& recorders, bool* reachable = nullptr, QString* why = nullptr);

/// The form two channel names are compared in.
QString channelKey(const QString& name);

/// The recorder's number for a service channel name; 0 when none or more than one matches.
qint32 matchedNumber(const QString& name, const QList<RecorderChannel>& recorder);
} // namespace kov

struct ChannelMatch
{
    QStringList filled;    // "NAME<TAB>NUMBER" for every number filled in
    QStringList unmatched; // names no recorder channel matches
    QStringList ambiguous; // names that match more than one recorder channel
};

namespace kov {
/// Fills the empty numbers of channel list rows (name, number text) from the recorder's
/// channels. A number the user set is never changed.
ChannelMatch matchChannels(QList<QStringList>& rows, const QList<RecorderChannel>& recorder);
} // namespace kov
