#include "dryrun.h"

#include "channels/channeldatabase.h"
#include "channels/channellookup.h"
#include "foundation/datetext.h"
#include "jobs/recordingjob.h"
#include "platform/userinterface.h"
#include "recorders/recorderrunscope.h"

namespace {
// `existing`: the name the recorder holds the job's recording under, empty when none.
QString verdict(const RecordingJob& job, qint32 channel, const QString& existing,
                RecorderScheduler* recorder)
{
    const bool rec = job.action() == QLatin1String("rec");
    if (!rec && job.action() != QLatin1String("delete"))
        return QStringLiteral("unsupported");
    // A delete does not look at the channel, just as the sync does not.
    if (rec && channel < 1)
        return QStringLiteral("unknown-channel");
    const bool exists = !existing.isEmpty();
    if (rec)
        return exists ? QStringLiteral("exists") : QStringLiteral("create");
    if (!exists)
        return QStringLiteral("absent");
    // The recorder would refuse to stop a recording under way, so the delete would not happen.
    return recorder && recorder->isRecording(existing) ? QStringLiteral("recording")
                                                       : QStringLiteral("delete");
}
} // namespace

void DryRunRecords::takeRecord(QuibFunction function, qint32 index, const QString& text,
                               const CsvRow& fields)
{
    if (function != QuibFunction::GetJobs) {
        SyncReplyRecords::takeRecord(function, index, text, fields);
        return;
    }
    SettingsStore settings = kov::settings();
    RecordingJob job;
    if (!job.readJob(text, fields, &settings))
        return;
    qint32 channel = kov::channelByName(job.channel(), false);
    if (channel == 0) {
        // The number the sync would be given without asking (kovferrit-cli --channel); it is
        // shown here but stored nowhere.
        const qint32 preset = kov::userInterface().presetChannelNumber(job.channel());
        if (kov::isChannelNumber(preset))
            channel = preset;
    }
    QString why;
    const std::unique_ptr<RecorderScheduler> recorder =
        recorders().open(RecorderAccess::ReadOnly, &why);
    // A recording made under the regional name before shows under that name.
    const QString existing = recorder ? job.existingRecordingName(*recorder) : QString();
    // Verdicts made without the recorder are guesses: the run says why, once, and fails.
    if (!recorder || !recorder->failure().isEmpty()) {
        m_recorderMissing = true;
        kov::recorderFailed(recorder ? recorder->failure() : why);
    }
    m_rows << QStringList{verdict(job, channel, existing, recorder.get()),
                          existing.isEmpty() ? job.recordingName() : existing,
                          kov::isoTextWithOffset(job.startTime()),
                          kov::isoTextWithOffset(job.endTime()),
                          job.channel(),
                          QString::number(channel)};
}

QStringList DryRunRecords::lines() const
{
    QStringList rows;
    for (const QStringList& row : m_rows)
        rows << row.join(QLatin1Char('\t'));
    return rows;
}
