#pragma once
// The name-to-number lookup in "dbchannel.dat", asking the user for the number of an
// unknown name and appending the answer.
#include <QString>

qint32 GetChannelByName(const QString& ThisName, bool PromptUser);
/// Program folder + "/dbchannel.dat".
QString kov_ChannelDatabasePath();
