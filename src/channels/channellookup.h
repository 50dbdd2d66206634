#pragma once
// The name-to-number lookup in "dbchannel.dat", asking the user for the number of an
// unknown name and appending the answer.
#include <QString>

class RecorderSource;

namespace kov {
/// The recorder's number for a service channel name, offered when the user is asked; 0 when
/// the recorder keeps no channel list or none matches.
qint32 suggestedNumber(const QString& name, RecorderSource& recorders);
/// The number "dbchannel.dat" holds for `name`; when it holds none and `prompt`, the user is
/// asked, offered the number of the channel list of a recorder `recorders` makes (nullptr: the
/// configured backend).
qint32 channelByName(const QString& name, bool prompt, RecorderSource* recorders = nullptr);
/// Program folder + "/dbchannel.dat".
QString channelDatabasePath();
} // namespace kov
