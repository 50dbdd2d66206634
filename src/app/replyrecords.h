#pragma once
// What the records of a reply do in a sync: a job record is scheduled into the recorder, a
// channel-guide record joins the channel catalogue, a target-system record joins the server
// list.
#include "protocol/replyrecordconsumer.h"
#include "recorders/recorderfactory.h"
#include "settings/settingsstore.h"

class SyncReplyRecords : public ReplyRecordConsumer
{
public:
    /// `recorders` (not owned; tests hand in fakes): what jobs are scheduled into, in and out
    /// of a sync run. nullptr: the recorder of the sync run reading the reply, and outside a run
    /// the configured backend.
    explicit SyncReplyRecords(RecorderSource* recorders = nullptr);
    void takeRecord(QuibFunction function, qint32 index, const QString& text,
                    const CsvRow& fields) override;
    /// The sync run that reads replies into these records hands its recorder in as it starts
    /// (and nullptr as it ends).
    void setRunRecorders(RecorderSource* recorders) { m_runRecorders = recorders; }

protected:
    /// Where this reply's jobs get their recorder.
    RecorderSource& recorders();

private:
    void scheduleJob(const QString& text, const CsvRow& fields);
    void addChannel(qint32 index, const QString& text, const CsvRow& fields);
    void addServer(qint32 index, const QString& record);

    RecorderSource* m_recorders = nullptr;
    RecorderSource* m_runRecorders = nullptr;
    ConfiguredRecorders m_configured;
    SettingsStore m_settings;
    /// The field count a channel-guide record must have, read at the reply's first record (the
    /// reply stored it from its column-header line just before): a guide of thousands of
    /// records reads it once, not once a record.
    qint32 m_channelFields = 0;
};
