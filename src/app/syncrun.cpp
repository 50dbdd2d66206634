#include "syncrun.h"

#include "app/channelguide.h"
#include "foundation/aes.h"
#include "foundation/filewriters.h"
#include "foundation/numbertext.h"
#include "foundation/translate.h"
#include "platform/clock.h"
#include "platform/frontend.h"
#include "platform/userinterface.h"
#include "protocol/cquibsession.h"
#include "recorders/recorderfactory.h"
#include "resulttexts.h"
#include "serverfunction.h"
#include "sessioncontext.h"
#include "settings/ckovreg.h"
#include "settings/quibfunction.h"
#include "settings/settings_catalogue.h"
#include "syncrunscope.h"
#include "versiontext.h"

#include <QTime>

void ShowSpecifyAccount(SyncFrontEnd& ui)
{
    ui.ShowMessage(Translate(QStringLiteral("Specify your account and password,")));
    ui.ShowMessage(Translate(QStringLiteral("Then click 'Sync' to begin.")));
}

namespace {
bool runSyncSteps(SyncFrontEnd& ui, bool ZeroSerial, bool Manually)
{
    CKovReg& settings = GetSettings();
    if (settings.Lng(KovSetting::HaveServers) == 0) {
        const qint32 code =
            DoWork(QuibFunction::GetTargetSystems, settings.Str(KovSetting::Account),
                   settings.Str(KovSetting::Protocol), ui.messageArea(), true, Manually);
        if (IsSuccessCode(code) && !kov::writeFailed()) // the list itself was stored
            settings.setLng(KovSetting::HaveServers, 1);
    }
    // Once the program is ending, a run stops after the reply it was reading, reporting nothing;
    // one that could not store what it received stops there too, and says so at its end.
    if (kov_StopRequested() || kov::writeFailed())
        return false;

    const QString encrypted = settings.Str(KovSetting::Protocol);
    const QString account = settings.Str(KovSetting::Account);
    if (AES::DecryptText(encrypted, kov_ProcessPassPhrase()).isEmpty() || account.isEmpty()) {
        ShowSpecifyAccount(ui);
        ui.ShowUpdateText(kov_VersionText());
        return false;
    }

    const qint32 code =
        DoWork(QuibFunction::GetJobs, account, encrypted, ui.messageArea(), ZeroSerial, Manually);
    if (kov_StopRequested() || kov::writeFailed())
        return false;
    if (IsSuccessCode(code)) {
        if (settings.Lng(KovSetting::HaveChannelDatabase) == 0) {
            const bool received = DownloadChannelGuide(ui.messageArea(), Manually);
            if (kov_StopRequested() || kov::writeFailed())
                return false;
            if (received) {
                ui.ShowMessage(Translate(
                    QStringLiteral("Channel database has been received from the server.")));
                settings.setLng(KovSetting::HaveChannelDatabase, 1);
                ui.enableUpdateTimer();
            } else {
                ui.ShowMessage(Translate(
                    QStringLiteral("Unable to retrieve channel database from the server.")));
                return true;
            }
        }
        const QTime now = kov_Now().time();
        ui.ShowMessage(QTime(now.hour(), now.minute(), 0).toString(QStringLiteral("HH:mm:ss")) +
                       QLatin1Char(':') + ResultText(code));
        return true;
    }
    if (code >= 0) {
        ui.ShowMessage(Translate(QStringLiteral("GetJobs FAILED")) + QStringLiteral(" : ") +
                       Translate(ResultText(code)));
        return false;
    }
    const QString lastReply =
        settings
            .value(KovSetting::last(QuibFunction::GetJobs, QStringLiteral("ReplyString")),
                   QString())
            .toString();
    const bool inactive = kov_LeadingNumber(lastReply.left(2)) == 40.0;
    ui.ShowMessage(Translate(inactive ? QStringLiteral("Quib For PC is not active")
                                      : QStringLiteral("GetJobs FAILED -1")));
    // The second line says why, when the transfer knows: the user can tell a service that is
    // down from a wrong host or port.
    const CQuibSession* session = kov_SharedSession();
    if (!inactive && session && !session->transferProblem().isEmpty())
        ui.ShowMessage(session->transferProblem());
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
    count(tally.scheduled, Translate(QStringLiteral("%1 scheduled")));
    count(tally.deleted, Translate(QStringLiteral("%1 deleted")));
    count(tally.alreadyThere, Translate(QStringLiteral("%1 already there")));
    count(tally.skipped(), Translate(QStringLiteral("%1 skipped")));
    QString text =
        Translate(QStringLiteral("Jobs:")) + QLatin1Char(' ') + counts.join(QStringLiteral(", "));
    QStringList why;
    if (tally.noChannelNumber > 0) {
        const QStringList& names = tally.unnumberedChannels;
        QString named = (maxNames < 0 ? names : names.mid(0, maxNames)).join(QStringLiteral(", "));
        if (maxNames >= 0 && names.size() > maxNames)
            named += QStringLiteral(", ") +
                     Translate(QStringLiteral("%1 more")).arg(names.size() - maxNames);
        why << Translate(QStringLiteral("no channel number:")) + QLatin1Char(' ') + named;
    }
    if (tally.recorderFailed > 0 && !brief)
        why << Translate(QStringLiteral("recorder failed:")) + QLatin1Char(' ') +
                   QString::number(tally.recorderFailed);
    if (tally.refused > 0 && !brief)
        why << Translate(QStringLiteral("refused by the recorder:")) + QLatin1Char(' ') +
                   QString::number(tally.refused);
    if (!why.isEmpty())
        text += QStringLiteral(" (") + why.join(QStringLiteral("; ")) + QLatin1Char(')');
    return text;
}

bool RunSync(SyncFrontEnd& ui, bool ZeroSerial, bool Manually)
{
    // One run at a time: the timer or the tray menu may fire while a run waits in a prompt or
    // shows the progress of a long reply.
    if (kov_SyncRunning())
        return false;
    SyncRunScope run;
    if (!run.started()) {
        // Another process syncs in this folder: its run does this one's work.
        if (!kov_StopRequested())
            ui.showProblem(kov_SyncBusyText());
        ui.runEnding();
        return false;
    }
    kov::takeWriteFailure(); // an earlier one was reported on standard error
    const bool stepsDone = runSyncSteps(ui, ZeroSerial, Manually);
    // Said before the recorder's failure, whose jobs it counts as skipped without repeating
    // why.
    const kov::JobTally jobs = kov::jobTally();
    if (!jobs.isEmpty() && !kov_StopRequested())
        ui.ShowSummary(kov::jobSummary(jobs, true), kov::jobSummary(jobs, false));
    bool result = run.reportRecorder() && stepsDone;
    // A file of the program's that could not be written: the run stopped at it. What it
    // scheduled before stays.
    if (const QString failure = kov::takeWriteFailure(); !failure.isEmpty()) {
        ui.ShowMessage(failure);
        ui.ShowMessage(Translate(QStringLiteral("The sync stopped.")));
        result = false;
    }
    // Still inside the run, so a timer tick meanwhile leaves its sync to the next minute.
    ui.runEnding();
    return result;
}
