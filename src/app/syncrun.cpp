#include "syncrun.h"

#include "app/channelguide.h"
#include "app/dryrun.h"
#include "app/lastsync.h"
#include "foundation/filewriters.h"
#include "foundation/numbertext.h"
#include "foundation/translate.h"
#include "platform/clock.h"
#include "platform/syncfrontend.h"
#include "platform/userinterface.h"
#include "protocol/quibsession.h"
#include "recorders/recorderrunscope.h"
#include "replyrecords.h"
#include "resulttexts.h"
#include "serverfunction.h"
#include "sessioncontext.h"
#include "settings/accountpassword.h"
#include "settings/quibfunction.h"
#include "settings/settingscatalogue.h"
#include "settings/settingsstore.h"
#include "syncrunscope.h"
#include "versiontext.h"

#include <QTime>

void kov::showAccountNeeded(SyncFrontEnd& ui)
{
    if (ui.accountEntry() == SyncFrontEnd::AccountEntry::Command) {
        ui.showMessage(kov::translate(
            QStringLiteral("No account is set: run 'kovferrit-cli account NAME' first.")));
        return;
    }
    ui.showMessage(kov::translate(QStringLiteral("Specify your account and password,")));
    ui.showMessage(kov::translate(QStringLiteral("Then click 'Sync' to begin.")));
}

namespace {
// The run's recorder, handed to the records its replies are read into while the run lives.
class RunRecordersHandedIn
{
public:
    explicit RunRecordersHandedIn(RecorderSource& recorders)
        : m_records(dynamic_cast<SyncReplyRecords*>(kov::recordConsumer()))
    {
        if (m_records)
            m_records->setRunRecorders(&recorders);
    }
    ~RunRecordersHandedIn()
    {
        if (m_records)
            m_records->setRunRecorders(nullptr);
    }
    RunRecordersHandedIn(const RunRecordersHandedIn&) = delete;
    RunRecordersHandedIn& operator=(const RunRecordersHandedIn&) = delete;

private:
    SyncReplyRecords* m_records;
};

bool g_waitedForKeyring = false;

bool runSyncSteps(SyncFrontEnd& ui, bool zeroSerial, bool manually)
{
    SettingsStore& settings = kov::sharedSettings();
    // A keyring still locked (a daemon started before the user logged in) is no missing account:
    // the run says why and leaves the sync due.
    const PasswordRead password = kov::readPassword(settings);
    if (password.keyringNotReady()) {
        ui.showMessage(kov::passwordProblemText(password));
        g_waitedForKeyring = true;
        return false;
    }
    if (kov::number(settings, Setting::HaveServers) == 0) {
        const qint32 code = kov::runServerFunction(QuibFunction::GetTargetSystems,
                                                   kov::text(settings, Setting::Account),
                                                   ui.messageArea(), true, manually);
        if (kov::isSuccessCode(code) && !kov::writeFailed()) // the list itself was stored
            kov::setNumber(settings, Setting::HaveServers, 1);
    }
    // Once the program is ending, a run stops after the reply it was reading, reporting nothing;
    // one that could not store what it received stops there too, and says so at its end.
    if (kov::stopRequested() || kov::writeFailed())
        return false;

    const QString account = kov::text(settings, Setting::Account);
    if (password.password.isEmpty() || account.isEmpty()) {
        if (password.problem != PasswordRead::Problem::None)
            ui.showMessage(kov::passwordProblemText(password));
        kov::showAccountNeeded(ui);
        ui.showUpdateText(kov::versionText());
        return false;
    }

    const qint32 code = kov::runServerFunction(QuibFunction::GetJobs, account, ui.messageArea(),
                                               zeroSerial, manually);
    if (kov::stopRequested() || kov::writeFailed())
        return false;
    if (kov::isSuccessCode(code)) {
        if (kov::number(settings, Setting::HaveChannelDatabase) == 0) {
            const bool received = kov::downloadChannelGuide(ui.messageArea(), manually);
            if (kov::stopRequested() || kov::writeFailed())
                return false;
            if (received) {
                ui.showMessage(kov::translate(
                    QStringLiteral("Channel database has been received from the server.")));
                kov::setNumber(settings, Setting::HaveChannelDatabase, 1);
                ui.enableUpdateTimer();
            } else {
                ui.showMessage(kov::translate(
                    QStringLiteral("Unable to retrieve channel database from the server.")));
                return true;
            }
        }
        const QTime now = kov::now().time();
        ui.showMessage(QTime(now.hour(), now.minute(), 0).toString(QStringLiteral("HH:mm:ss")) +
                       QLatin1Char(':') + kov::resultText(code));
        return true;
    }
    if (code >= 0) {
        ui.showMessage(kov::translate(QStringLiteral("GetJobs FAILED")) + QStringLiteral(" : ") +
                       kov::translate(kov::resultText(code)));
        return false;
    }
    const QString lastReply =
        kov::text(settings, {Setting::LastReplyString, QuibFunction::GetJobs});
    const bool inactive = kov::leadingNumber(lastReply.left(2)) == 40.0;
    ui.showMessage(kov::translate(inactive ? QStringLiteral("Quib For PC is not active")
                                           : QStringLiteral("GetJobs FAILED -1")));
    // The second line says why, when the transfer knows: the user can tell a service that is
    // down from a wrong host or port.
    const QuibSession* session = kov::sharedSession();
    if (!inactive && session && !session->transferProblem().isEmpty())
        ui.showMessage(session->transferProblem());
    return false;
}
} // namespace

QString kov::jobSummary(const JobTally& tally, bool brief)
{
    // Brief, for the message area: the counts that are not 0 and two channel names; a failed
    // or refusing recorder has said why in a box of its own.
    const int maxNames = brief ? 2 : -1;
    QStringList counts;
    const auto count = [&](int n, const QString& text) {
        if (n > 0 || !brief)
            counts << text.arg(n);
    };
    count(tally.scheduled, kov::translate(QStringLiteral("%1 scheduled")));
    count(tally.deleted, kov::translate(QStringLiteral("%1 deleted")));
    count(tally.alreadyThere, kov::translate(QStringLiteral("%1 already there")));
    count(tally.skipped(), kov::translate(QStringLiteral("%1 skipped")));
    QString text = kov::translate(QStringLiteral("Jobs:")) + QLatin1Char(' ') +
                   counts.join(QStringLiteral(", "));
    QStringList why;
    if (tally.noChannelNumber > 0) {
        const QStringList& names = tally.unnumberedChannels;
        QString named = (maxNames < 0 ? names : names.mid(0, maxNames)).join(QStringLiteral(", "));
        if (maxNames >= 0 && names.size() > maxNames)
            named += QStringLiteral(", ") +
                     kov::translate(QStringLiteral("%1 more")).arg(names.size() - maxNames);
        why << kov::translate(QStringLiteral("no channel number:")) + QLatin1Char(' ') + named;
    }
    if (tally.recorderFailed > 0 && !brief)
        why << kov::translate(QStringLiteral("recorder failed:")) + QLatin1Char(' ') +
                   QString::number(tally.recorderFailed);
    if (tally.refused > 0 && !brief)
        why << kov::translate(QStringLiteral("refused by the recorder:")) + QLatin1Char(' ') +
                   QString::number(tally.refused);
    if (!why.isEmpty())
        text += QStringLiteral(" (") + why.join(QStringLiteral("; ")) + QLatin1Char(')');
    return text;
}

bool kov::runSync(SyncFrontEnd& ui, JobsAsked asked, SyncStart start)
{
    const bool zeroSerial = asked == JobsAsked::All;
    const bool manually = start == SyncStart::ByUser;
    g_waitedForKeyring = false;
    // One run at a time: the timer or the tray menu may fire while a run waits in a prompt or
    // shows the progress of a long reply.
    if (kov::syncRunning())
        return false;
    SyncRunScope run;
    if (!run.started()) {
        // Another process syncs in this folder: its run does this one's work.
        if (!kov::stopRequested())
            ui.showProblem(kov::syncBusyText());
        ui.runEnding();
        ui.runFinished(false, QString());
        return false;
    }
    kov::takeWriteFailure(); // an earlier one was reported on standard error
    SaidLines said(ui);
    bool stepsDone = false;
    {
        const RunRecordersHandedIn recorders(run.recorders());
        stepsDone = runSyncSteps(said, zeroSerial, manually);
    }
    // Said before the recorder's failure, whose jobs it counts as skipped without repeating
    // why.
    const kov::JobTally jobs = kov::jobTally();
    if (!jobs.isEmpty() && !kov::stopRequested())
        ui.showSummary(kov::jobSummary(jobs, true), kov::jobSummary(jobs, false));
    bool result = run.reportRecorder() && stepsDone;
    // A file of the program's that could not be written: the run stopped at it. What it
    // scheduled before stays.
    if (const QString failure = kov::takeWriteFailure(); !failure.isEmpty()) {
        said.showMessage(failure);
        said.showMessage(kov::translate(QStringLiteral("The sync stopped.")));
        result = false;
    }
    // A run cut short by the program's end, and a preview, did not sync.
    if (!kov::stopRequested() && !dynamic_cast<DryRunRecords*>(kov::recordConsumer()))
        kov::storeSyncOutcome(kov::syncOutcome(result, jobs, said.lines()));
    // Still inside the run, so a timer tick meanwhile leaves its sync to the next minute.
    ui.runEnding();
    ui.runFinished(result, kov::jobSummary(jobs, false));
    return result;
}

bool kov::syncWaitedForKeyring()
{
    return g_waitedForKeyring;
}
