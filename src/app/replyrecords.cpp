#include "replyrecords.h"

#include "channels/cquibchannelmanager.h"
#include "foundation/ckovqzcsv.h"
#include "foundation/texttools.h"
#include "foundation/trace.h"
#include "jobs/cquibjob.h"
#include "settings/settings_catalogue.h"

namespace {
void classMessage(const QString& message)
{
    kov_ClassMessage("SyncReplyRecords", message);
}
} // namespace

SyncReplyRecords::SyncReplyRecords()
{
    m_reg.SetInfo(kov_SettingsKey());
}

void SyncReplyRecords::Record(QuibFunction function, qint32 index, const QString& record)
{
    switch (function) {
    case QuibFunction::GetJobs:
        ScheduleJob(record);
        break;
    case QuibFunction::ChannelGuide:
        AddChannel(index, record);
        break;
    case QuibFunction::GetTargetSystems:
        AddServer(index, record);
        break;
    }
}

void SyncReplyRecords::ScheduleJob(const QString& record)
{
    CQuibJob job;
    job.CreateJobFromString(record, &m_reg, true);
}

void SyncReplyRecords::AddChannel(qint32 index, const QString& record)
{
    if (index <= 1)
        m_channelFields = m_reg.Lng(KovSetting::noDataFields(QuibFunction::ChannelGuide));
    CQuibChannelManager* manager = GetChannelManager();
    if (!manager)
        return;
    CKovQzCSVrow row;
    const qint32 count = row.setRowData(record) ? row.NoColumns() : 0;
    if (count != m_channelFields) {
        classMessage(QStringLiteral("Channel format (") + QString::number(count) +
                     QStringLiteral(")not supported:") + kov_CrLf() + record);
        return;
    }
    if (!manager->CreateNewChannel(record, 1))
        classMessage(QStringLiteral("CreateChannel FAILED"));
}

void SyncReplyRecords::AddServer(qint32 index, const QString& record)
{
    // The entry after the last one is kept empty: readers of the list stop at it.
    m_reg.setStr(KovSetting::server(index), record);
    m_reg.setStr(KovSetting::server(index + 1), QString());
}
