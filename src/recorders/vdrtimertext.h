#pragma once
// The texts KovFerrit writes into a VDR timer, "FLAGS:CHANNEL:DAY:START:STOP:PRIORITY:LIFETIME:
// FILE:AUX". SVDRP ends a command at a line feed and VDR splits a timer at ':', so no text that
// came from the service reaches the line as it is: the file name is made plain, and the AUX
// field, where KovFerrit marks its own timers, holds only printable ASCII without ':' or '|'.
#include <QList>
#include <QString>

#include <optional>

namespace kov::vdr {

/// One account's claim on a timer: the program name and tag it scheduled the timer under.
/// Several accounts syncing into one VDR share a timer for the same recording.
struct Claim
{
    QString account;
    QString name;
    QString tag;
};

/// KovFerrit's mark in a timer's AUX field, and whatever else the field held after it.
struct Mark
{
    QList<Claim> claims;
    QString rest; // another program's part of the field, kept as it is
};

/// Printable ASCII for any text: markup characters, ':', '|', control and non-ASCII characters
/// as character references, so decodeText() gives the text back whatever it held.
QString encodeText(const QString& text);
QString decodeText(const QString& encoded);

/// The AUX field for the claims.
QString auxField(const Mark& mark);
/// The mark of an AUX field KovFerrit wrote; none for any other timer's. A field written before
/// timers carried accounts reads as one claim with an empty account.
std::optional<Mark> markOf(const QString& aux);

/// The FILE field: the folder (sub-folders split by '~') and the name, each without control
/// characters and with ':' as '|' (VDR's own convention); a '~' inside the name does not make a
/// folder, braces do not make a pattern timer and the words VDR replaces when it records stay
/// as they are. The name part is kept short enough for a file name.
QString fileField(const QString& folder, const QString& name);

} // namespace kov::vdr
