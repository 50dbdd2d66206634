#pragma once
// Part 3.1: the name-to-number lookup in "dbchannel.dat", asking the user (Part 3.3) for an
// unknown name and appending the answer.
#include <QString>

qint32 GetChannelByName(const QString& ThisName, bool PromptUser);
/// Program folder + "/dbchannel.dat".
QString kov_ChannelDatabasePath();
