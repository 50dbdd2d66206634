#include "syncrunscope.h"

#include "foundation/programname.h"
#include "foundation/texttools.h"
#include "foundation/translate.h"
#include "platform/folderlock.h"
#include "platform/userinterface.h"
#include "recorders/recorderfactory.h"
#include "sessioncontext.h"

#include <memory>

namespace {
struct RunState
{
    int depth = 0; // sync runs in progress
    // One sync per program folder, across processes: the desktop program's timer, tray menu
    // and Sync button and kovferrit-cli's sync, fetch, tick and daemon all read and write the
    // same reply file and settings. Held by the outermost run.
    std::unique_ptr<FolderLock> folderLock;
};

// How long a run waits for one of another process to end before it gives up.
constexpr int kFolderLockWaitMs = 3000;

RunState& runState()
{
    static RunState s;
    return s;
}
} // namespace

SyncRunScope::SyncRunScope()
{
    RunState& s = runState();
    if (s.depth == 0) {
        auto lock = std::make_unique<FolderLock>(QStringLiteral("sync.lock"), kFolderLockWaitMs);
        m_started = lock->held();
        if (!m_started)
            return;
        s.folderLock = std::move(lock);
        kov::handOverTransferAgain();
    }
    ++s.depth;
}

SyncRunScope::~SyncRunScope()
{
    if (m_started && --runState().depth == 0)
        runState().folderLock.reset();
}

QString kov::syncBusyText()
{
    return kov::translate(QStringLiteral("A sync is already running in this program folder."));
}

bool SyncRunScope::reportRecorder()
{
    const QString outage = kov::recorderOutage();
    if (outage.isEmpty())
        return true;
    kov::userInterface().messageBox(
        kov::missingRecorderMessage(outage) + kov::crLf() +
            kov::translate(QStringLiteral("Jobs left unscheduled in this run:")) +
            QLatin1Char(' ') + QString::number(kov::jobsNotScheduled()),
        MessageIcon::Information, kov::appTitle());
    return false;
}

bool kov::syncRunning()
{
    return runState().depth > 0;
}
