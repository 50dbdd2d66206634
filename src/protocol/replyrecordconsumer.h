#pragma once
// Where the records of a reply go while the parser reads it.
#include "settings/quibfunction.h"

#include <QString>

/// Receives the records of a reply in the order they arrive, while the reply is read, so that
/// whatever a record causes (a recording, a prompt for a channel number) happens between the
/// records before and after it. The sync run supplies one that schedules jobs, fills the
/// channel catalog and keeps the server list; a failure is thrown.
class ReplyRecordConsumer
{
public:
    virtual ~ReplyRecordConsumer() = default;
    /// Record `index` (counted from 1) of a reply to `function`.
    virtual void takeRecord(QuibFunction function, qint32 index, const QString& record) = 0;
};
