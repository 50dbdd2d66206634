#pragma once
// Matching the channel list against the recorder's own channels: a name matches when it is the
// same without regard to case, blanks and punctuation ("Das Erste HD" = "das erste-hd").
#include "platform/recorderscheduler.h"

#include <QList>
#include <QStringList>

/// The configured recorder's own channel list; none when it keeps none or, with `*reachable`
/// set false, when it cannot be reached.
std::optional<QList<RecorderChannel>> kov_RecorderChannels(bool* reachable = nullptr);

/// The form two channel names are compared in.
QString kov_ChannelKey(const QString& name);

/// The recorder's number for a service channel name; 0 when none or more than one matches.
qint32 kov_MatchedNumber(const QString& name, const QList<RecorderChannel>& recorder);

struct ChannelMatch
{
    QStringList filled;    // "NAME<TAB>NUMBER" for every number filled in
    QStringList unmatched; // names no recorder channel matches
    QStringList ambiguous; // names that match more than one recorder channel
};

/// Fills the empty numbers of channel list rows (name, number text) from the recorder's
/// channels. A number the user set is never changed.
ChannelMatch kov_MatchChannels(QList<QStringList>& rows, const QList<RecorderChannel>& recorder);
