#pragma once
// What the records of a reply do in a sync: a job record is scheduled into the recorder, a
// channel-guide record joins the channel manager, a target-system record joins the server
// list.
#include "protocol/cquibreply.h"
#include "settings/ckovreg.h"

class SyncReplyRecords : public ReplyRecordConsumer
{
public:
    SyncReplyRecords();
    void Record(QuibFunction function, qint32 index, const QString& record) override;

private:
    void ScheduleJob(const QString& record);
    void AddChannel(const QString& record);
    void AddServer(qint32 index, const QString& record);

    CKovReg m_reg;
};
