#pragma once
// The name-to-number lookup in "dbchannel.dat", asking the user for the number of an
// unknown name and appending the answer.
#include <QString>

namespace kov {
/// The recorder's number for a service channel name, offered when the user is asked; 0 when
/// the recorder keeps no channel list or none matches.
qint32 suggestedNumber(const QString& name);
qint32 channelByName(const QString& name, bool prompt);
/// Program folder + "/dbchannel.dat".
QString channelDatabasePath();
} // namespace kov
