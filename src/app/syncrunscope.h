#pragma once
// A sync run while it lives: one at a time in a program folder, the recorder it keeps for all
// its jobs, and what a run that could not start says.
#include "recorders/recorderfactory.h"
#include "recorders/recorderrunscope.h"

#include <QString>

/// Marks a sync run while it lives. A run starts by handing the HTTP transfer to the
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
    /// The recorder backend chosen for this run, which its jobs are scheduled into.
    RecorderSource& recorders() { return m_recorders; }

private:
    RecorderRunScope m_recorder;
    RunRecorders m_recorders; // one recorder serves the whole run
    bool m_started = true;
};
namespace kov {
/// "A sync is already running in this program folder.", translated: what a run that could not
/// start says.
QString syncBusyText();
/// True while a sync run is in progress (a prompt or a long reply lets events in meanwhile).
bool syncRunning();
} // namespace kov
