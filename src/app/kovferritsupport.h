#pragma once
// The support module `KovFerritSupport`: the process-wide session, settings object and
// result texts, and DoWork, which runs one server function.
#include "recorders/recorderfactory.h"
#include "settings/quibfunction.h"

#include <QString>

class CKovReg;
class CQuibSession;
class ReplyRecordConsumer;
class HttpTransfer;
class TextBox;

/// Records the transfer component (the main window's `Inet1`) for the shared session.
void kov_SetTransferComponent(HttpTransfer* component);
/// Where the records of the following replies go (not owned); nullptr restores the sync's own
/// (jobs scheduled, channels and servers kept).
void kov_SetRecordConsumer(ReplyRecordConsumer* consumer);
/// The shared session, or nullptr before the first DoWork.
CQuibSession* kov_SharedSession();
/// Drops the shared session, settings object, channel manager, result texts and a noted write
/// failure (process end; tests start each case afresh).
void kov_ResetSupport();

/// The shared settings object, opened on the settings key on first use.
CKovReg& GetSettings();

/// Marks a sync run while it lives. A run starts by handing the transfer component to the
/// shared session again when a failed exchange of an earlier run dropped it, so a failure costs
/// the rest of its own run only. The outermost run of a process holds the program folder's
/// sync lock, waiting a few seconds for a run of another process to end.
class SyncRunScope
{
public:
    SyncRunScope();
    ~SyncRunScope();
    SyncRunScope(const SyncRunScope&) = delete;
    SyncRunScope& operator=(const SyncRunScope&) = delete;
    /// At the run's end: a recorder that failed in the run is reported once, in one box with
    /// the number of jobs it left unscheduled. False when it failed.
    bool reportRecorder();
    /// False when another process kept a sync running in this program folder for longer than
    /// the wait: this run then does nothing and does not count as running.
    bool started() const { return m_started; }

private:
    RecorderRunScope m_recorder; // one recorder serves the whole run
    bool m_started = true;
};
/// "A sync is already running in this program folder.", translated: what a run that could not
/// start says.
QString kov_SyncBusyText();
/// True while a sync run is in progress (a prompt or a long reply lets events in meanwhile).
bool kov_SyncRunning();

/// Runs one server function; -1 on failure, else the reply's result code. Outside a sync run
/// a call is a run of its own; once the program is ending it asks nothing.
qint32 DoWork(QuibFunction Function, const QString& Account, const QString& EncryptedPassword,
              TextBox* OutputBox, bool ZeroSerial, bool Manually);

/// Builds the 17 translated result texts (the main window does it when it loads).
void BuildResultTexts();
QString ResultText(qint32 Code);
bool IsSuccessCode(qint32 Code);
/// "Version " (through Translate) and the version number.
QString kov_VersionText();
