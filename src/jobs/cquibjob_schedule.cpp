// Scheduling one job into the recorder.
#include "channels/channel_lookup.h"
#include "cquibjob.h"
#include "foundation/filewriters.h"
#include "foundation/kov_date.h"
#include "foundation/programfolder.h"
#include "foundation/programname.h"
#include "foundation/texttools.h"
#include "foundation/translate.h"
#include "platform/userinterface.h"
#include "recorders/recorderfactory.h"
#include "settings/ckovreg.h"
#include "settings/settings_catalogue.h"

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

// From the control's creation on, a statement that fails at run time is passed over.
template <typename Statement> void passOver(Statement statement)
{
    try {
        statement();
    } catch (const std::exception&) {
    }
}

QString safeName(const QString& name)
{
    return kov_SafeFileName(name, QString(), true, true, true);
}
} // namespace

QString CQuibJob::ProgramName() const
{
    return safeName(m_title + QLatin1Char(' ') +
                    m_startTime.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
}

QString CQuibJob::RegionalProgramName() const
{
    return safeName(m_title + QLatin1Char(' ') + kov_DateText(m_startTime));
}

QString CQuibJob::ExistingProgramName(RecorderScheduler& recorder) const
{
    const QString name = ProgramName();
    if (recorder.DoesProgramExist(name))
        return name;
    const QString regional = RegionalProgramName();
    if (regional != name && recorder.failure().isEmpty() && recorder.DoesProgramExist(regional))
        return regional;
    return QString();
}

qint32 CQuibJob::GetSequence()
{
    if (m_sequence == 0)
        return 0;
    if (m_sequence == 127)
        return 1;
    const QString text =
        QStringLiteral("GetSequence (") + QString::number(m_sequence) + QStringLiteral(") FAILED");
    ClassMessage(text);
    WriteErrorFile(text + kov_CrLf() + m_raw);
    return 0;
}

bool CQuibJob::HandleAction(const QString& action)
{
    const qint32 recurrence = GetSequence();
    // Once the recorder failed in this run, the run's other jobs neither ask for their channel
    // nor wait for the recorder again; the run reports them all at its end.
    if (kov::recorderRunActive() && !kov::recorderOutage().isEmpty()) {
        kov::countJobNotScheduled();
        return false;
    }
    const qint32 channel = GetChannelByName(m_channel, true);
    QString why;
    std::unique_ptr<RecorderScheduler> scheduler = kov_CreateScheduler(kov_SchedulerProgId(), &why);
    if (!scheduler) {
        if (!outageOfRun(why))
            kov_UserInterface().messageBox(kov::missingRecorderMessage(why),
                                           MessageIcon::Information, kov_AppTitle());
        return false;
    }
    const QString name = ProgramName();
    qint32 returned = 0;
    bool result = false;
    std::optional<kov::JobOutcome> outcome; // counted once the recorder is known not to have failed
    if (action == QLatin1String("rec")) {
        if (channel < 1) {
            ClassMessage(QStringLiteral("Invalid Channel Number for channel (") + m_channel +
                         QLatin1Char(')'));
            kov::countJob(kov::JobOutcome::NoChannelNumber, m_channel);
            return false;
        }
        bool exists = false;
        passOver([&] { exists = !ExistingProgramName(*scheduler).isEmpty(); });
        if (exists) {
            result = true;
            outcome = kov::JobOutcome::AlreadyThere;
        } else {
            // A failure raised by the control skips the assignment: the return value stays 0
            // and the job counts as created.
            const RecordingRequest request{
                name,       m_startTime,    m_endTime,
                channel,    safeName(name), QStringLiteral("fs:") + QString::number(m_uID),
                recurrence, m_vps};
            passOver([&] { returned = scheduler->createRecording(request); });
            result = returned == 0;
            outcome = result ? kov::JobOutcome::Scheduled : kov::JobOutcome::Refused;
        }
    } else if (action == QLatin1String("delete")) {
        // A recording made under the regional name before is deleted as well: one job, one
        // recording, whichever name it was made under.
        const QString regional = RegionalProgramName();
        passOver([&] { result = scheduler->DeleteProgram(name); });
        if (regional != name && scheduler->failure().isEmpty())
            passOver([&] { result = scheduler->DeleteProgram(regional) || result; });
        if (result)
            outcome = kov::JobOutcome::Deleted;
    }
    if (!scheduler->failure().isEmpty() && outageOfRun(scheduler->failure()))
        return false;
    if (outcome)
        kov::countJob(*outcome, m_channel);
    if (returned != 0) {
        kov_UserInterface().messageBox(Translate(QStringLiteral("ERROR")) +
                                           QStringLiteral(" CreateProgram FAILED: ") +
                                           QString::number(returned),
                                       MessageIcon::Information, kov_AppTitle());
    }
    CKovReg reg = kov_Settings();
    if (reg.Lng(KovSetting::LogReplies) != 0) {
        const QString crlf = kov_CrLf();
        kov_AppendTextFile(kov_ProgramFile(QStringLiteral("ReplyLog.txt")),
                           QStringLiteral("Scheduler ") + action + QLatin1Char(' ') + name + crlf +
                               QStringLiteral("Scheduler Return Value: ") +
                               QString::number(returned) + crlf + QString(65, QLatin1Char('-')) +
                               crlf);
    }
    return result;
}
