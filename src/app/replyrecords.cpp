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

SyncReplyRecords::SyncReplyRecords()
{
    m_settings.setKey(kov::settingsKey());
}

void SyncReplyRecords::takeRecord(QuibFunction function, qint32 index, const QString& record)
{
    switch (function) {
    case QuibFunction::GetJobs:
        scheduleJob(record);
        break;
    case QuibFunction::ChannelGuide:
        addChannel(index, record);
        break;
    case QuibFunction::GetTargetSystems:
        addServer(index, record);
        break;
    }
}

void SyncReplyRecords::scheduleJob(const QString& record)
{
    RecordingJob job;
    job.readJob(record, &m_settings, true);
}

void SyncReplyRecords::addChannel(qint32 index, const QString& record)
{
    if (index <= 1)
        m_channelFields =
            kov::number(m_settings, {Setting::FieldCount, QuibFunction::ChannelGuide});
    ChannelCatalog* catalog = kov::channelCatalog();
    if (!catalog)
        return;
    CsvRow row;
    const qint32 count = row.setText(record) ? row.columnCount() : 0;
    if (count != m_channelFields) {
        classMessage(QStringLiteral("Channel format (") + QString::number(count) +
                     QStringLiteral(")not supported:") + kov::crLf() + record);
        return;
    }
    if (!catalog->createChannel(record, 1))
        classMessage(QStringLiteral("CreateChannel FAILED"));
}

void SyncReplyRecords::addServer(qint32 index, const QString& record)
{
    // The entry after the last one is kept empty: readers of the list stop at it.
    kov::setText(m_settings, {Setting::Server, index}, record);
    kov::setText(m_settings, {Setting::Server, index + 1}, QString());
}
