// Scheduling one job into the recorder.
#include "channels/channellookup.h"
#include "foundation/datetext.h"
#include "foundation/filewriters.h"
#include "foundation/programfolder.h"
#include "foundation/programname.h"
#include "foundation/texttools.h"
#include "foundation/translate.h"
#include "platform/userinterface.h"
#include "recorders/recorderfactory.h"
#include "recorders/recorderrunscope.h"
#include "recordingjob.h"
#include "settings/settingscatalogue.h"
#include "settings/settingsstore.h"

#include <optional>

namespace {
// Within a sync run a recorder that cannot be used is reported once, at the run's end, with
// the jobs it cost; false outside a run, where each job says it itself.
bool outageOfRun(const QString& why)
{
    if (!kov::recorderRunActive())
        return false;
    kov::recorderFailed(why);
    kov::countJobNotScheduled();
    return true;
}

// Once the recorder is made, a call into it that throws is passed over: the job goes on with
// the values it had.
template <typename Statement> void passOver(Statement statement)
{
    try {
        statement();
    } catch (const std::exception&) {
    }
}

QString safeName(const QString& name)
{
    return kov::safeFileName(name, QString(), kov::Blanks::ToUnderscores,
                             kov::NamePart::AfterLastBackslash);
}
} // namespace

QString RecordingJob::recordingName() const
{
    return safeName(m_title + QLatin1Char(' ') +
                    m_startTime.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
}

QString RecordingJob::regionalRecordingName() const
{
    return safeName(m_title + QLatin1Char(' ') + kov::dateText(m_startTime));
}

QString RecordingJob::existingRecordingName(RecorderScheduler& recorder) const
{
    const QString name = recordingName();
    if (recorder.hasRecording(name))
        return name;
    const QString regional = regionalRecordingName();
    if (regional != name && recorder.failure().isEmpty() && recorder.hasRecording(regional))
        return regional;
    return QString();
}

qint32 RecordingJob::sequenceNumber()
{
    if (m_sequence == 0)
        return 0;
    if (m_sequence == 127)
        return 1;
    const QString text =
        QStringLiteral("GetSequence (") + QString::number(m_sequence) + QStringLiteral(") FAILED");
    trace(text);
    writeErrorFile(text + kov::crLf() + m_raw);
    return 0;
}

bool RecordingJob::acceptAction(const QString& action, RecorderSource& recorders)
{
    const qint32 recurrence = sequenceNumber();
    // Once the recorder failed in this run, the run's other jobs neither ask for their channel
    // nor wait for the recorder again; the run reports them all at its end.
    if (kov::recorderRunActive() && !kov::recorderOutage().isEmpty()) {
        kov::countJobNotScheduled();
        return false;
    }
    const qint32 channel = kov::channelByName(m_channel, true, &recorders);
    QString why;
    std::unique_ptr<RecorderScheduler> scheduler = recorders.open(RecorderAccess::Changes, &why);
    if (!scheduler) {
        if (!outageOfRun(why))
            kov::userInterface().messageBox(kov::missingRecorderMessage(why),
                                            MessageIcon::Information, kov::appTitle());
        return false;
    }
    const QString name = recordingName();
    qint32 returned = 0;
    bool result = false;
    std::optional<kov::JobOutcome> outcome; // counted once the recorder is known not to have failed
    if (action == QLatin1String("rec")) {
        if (channel < 1) {
            trace(QStringLiteral("Invalid Channel Number for channel (") + m_channel +
                  QLatin1Char(')'));
            kov::countJob(kov::JobOutcome::NoChannelNumber, m_channel);
            return false;
        }
        bool exists = false;
        passOver([&] { exists = !existingRecordingName(*scheduler).isEmpty(); });
        if (exists) {
            result = true;
            outcome = kov::JobOutcome::AlreadyThere;
        } else {
            // A recorder that throws skips the assignment: the return value stays 0 and the
            // job counts as created.
            RecordingRequest request;
            request.name = name;
            request.start = m_startTime;
            request.end = m_endTime;
            request.channel = channel;
            request.fileName = safeName(name);
            request.tag = QStringLiteral("fs:") + QString::number(m_uid);
            request.recurrence = recurrence;
            request.vps = m_vps;
            passOver([&] { returned = scheduler->createRecording(request); });
            result = returned == 0;
            outcome = result ? kov::JobOutcome::Scheduled : kov::JobOutcome::Refused;
        }
    } else if (action == QLatin1String("delete")) {
        // A recording made under the regional name before is deleted as well: one job, one
        // recording, whichever name it was made under.
        const QString regional = regionalRecordingName();
        passOver([&] { result = scheduler->deleteRecording(name); });
        if (regional != name && scheduler->failure().isEmpty())
            passOver([&] { result = scheduler->deleteRecording(regional) || result; });
        if (result)
            outcome = kov::JobOutcome::Deleted;
    }
    if (!scheduler->failure().isEmpty() && outageOfRun(scheduler->failure()))
        return false;
    if (outcome)
        kov::countJob(*outcome, m_channel);
    if (returned != 0) {
        kov::userInterface().messageBox(kov::translate(QStringLiteral("ERROR")) +
                                            QStringLiteral(" CreateProgram FAILED: ") +
                                            QString::number(returned),
                                        MessageIcon::Information, kov::appTitle());
    }
    SettingsStore settings = kov::settings();
    if (kov::number(settings, Setting::LogReplies) != 0) {
        const QString crlf = kov::crLf();
        kov::appendTextFile(kov::programFile(QStringLiteral("ReplyLog.txt")),
                            QStringLiteral("Scheduler ") + action + QLatin1Char(' ') + name + crlf +
                                QStringLiteral("Scheduler Return Value: ") +
                                QString::number(returned) + crlf + QString(65, QLatin1Char('-')) +
                                crlf);
    }
    return result;
}
