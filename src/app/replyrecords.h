#pragma once
// What the records of a reply do in a sync: a job record is scheduled into the recorder, a
// channel-guide record joins the channel catalogue, a target-system record joins the server
// list.
#include "protocol/replyrecordconsumer.h"
#include "settings/settingsstore.h"

class SyncReplyRecords : public ReplyRecordConsumer
{
public:
    SyncReplyRecords();
    void takeRecord(QuibFunction function, qint32 index, const QString& record) override;

private:
    void scheduleJob(const QString& record);
    void addChannel(qint32 index, const QString& record);
    void addServer(qint32 index, const QString& record);

    SettingsStore m_settings;
    /// The field count a channel-guide record must have, read at the reply's first record (the
    /// reply stored it from its column-header line just before): a guide of thousands of
    /// records reads it once, not once a record.
    qint32 m_channelFields = 0;
};
