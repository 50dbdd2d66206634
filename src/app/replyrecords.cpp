#include "replyrecords.h"

#include "channels/channelcatalog.h"
#include "foundation/csvrow.h"
#include "foundation/texttools.h"
#include "foundation/trace.h"
#include "jobs/recordingjob.h"
#include "settings/settingscatalogue.h"

namespace {
void classMessage(const QString& message)
{
    kov::traceFrom("SyncReplyRecords", message);
}
} // namespace

SyncReplyRecords::SyncReplyRecords(RecorderSource* recorders) : m_recorders(recorders)
{
    m_settings.setKey(kov::settingsKey());
}

RecorderSource& SyncReplyRecords::recorders()
{
    if (m_recorders)
        return *m_recorders;
    return m_runRecorders ? *m_runRecorders : m_configured;
}

void SyncReplyRecords::takeRecord(QuibFunction function, qint32 index, const QString& text,
                                  const CsvRow& fields)
{
    switch (function) {
    case QuibFunction::GetJobs:
        scheduleJob(text, fields);
        break;
    case QuibFunction::ChannelGuide:
        addChannel(index, text, fields);
        break;
    case QuibFunction::GetTargetSystems:
        addServer(index, text);
        break;
    }
}

void SyncReplyRecords::scheduleJob(const QString& text, const CsvRow& fields)
{
    RecordingJob job;
    if (job.readJob(text, fields, &m_settings))
        job.schedule(recorders());
}

void SyncReplyRecords::addChannel(qint32 index, const QString& text, const CsvRow& fields)
{
    if (index <= 1)
        m_channelFields =
            kov::number(m_settings, {Setting::FieldCount, QuibFunction::ChannelGuide});
    ChannelCatalog* catalog = kov::channelCatalog();
    if (!catalog)
        return;
    const qint32 count = fields.columnCount();
    if (count != m_channelFields) {
        classMessage(QStringLiteral("Channel format (") + QString::number(count) +
                     QStringLiteral(")not supported:") + kov::crLf() + text);
        return;
    }
    if (!catalog->createChannel(fields))
        classMessage(QStringLiteral("CreateChannel FAILED"));
}

void SyncReplyRecords::addServer(qint32 index, const QString& record)
{
    // The entry after the last one is kept empty: readers of the list stop at it.
    kov::setText(m_settings, {Setting::Server, index}, record);
    kov::setText(m_settings, {Setting::Server, index + 1}, QString());
}
