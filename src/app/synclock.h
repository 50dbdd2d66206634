#pragma once
// One sync per program folder, across processes: the desktop program's timer, tray menu and
// Sync button and kovferrit-cli's sync, fetch, tick and daemon all read and write the same
// reply file and settings, so two runs at once would spoil each other's files.

/// Holds the advisory lock on "sync.lock" in the program folder while it lives. The kernel
/// drops the lock when its process ends, however it ends, so a killed run leaves nothing that
/// blocks the next one.
class SyncFolderLock
{
public:
    /// Waits up to `waitMs` milliseconds for the run of another process to end; a request to
    /// stop the program ends the wait at once.
    explicit SyncFolderLock(int waitMs);
    ~SyncFolderLock();
    SyncFolderLock(const SyncFolderLock&) = delete;
    SyncFolderLock& operator=(const SyncFolderLock&) = delete;
    /// False when another process kept its run going for longer than the wait.
    bool held() const { return m_held; }

private:
    int m_fd = -1;
    bool m_held = true;
};
