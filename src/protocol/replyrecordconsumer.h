#pragma once
// Where the records of a reply go while the parser reads it.
#include "foundation/csvrow.h"
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
    /// Record `index` (counted from 1) of a reply to `function`: `text` as received, `fields`
    /// its fields, split once by the parser for the records made of fields (jobs, channel
    /// guide); a target-system record is kept whole, and its `fields` have no columns.
    virtual void takeRecord(QuibFunction function, qint32 index, const QString& text,
                            const CsvRow& fields) = 0;
};
