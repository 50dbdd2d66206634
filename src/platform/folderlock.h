#pragma once
// Advisory locks on files in the program folder, so that the processes sharing the folder
// (the desktop program, kovferrit-cli, its daemon) take turns.
#include <QString>

/// Holds the lock on `fileName` in the program folder while it lives. The kernel drops the lock
/// when its process ends, however it ends, so a killed process leaves nothing that blocks the
/// next one. Where no lock can be had (the file cannot be made, a file system without locks),
/// it goes on without one, as the program did before there were locks.
class FolderLock
{
public:
    /// Waits as long as the holder keeps the lock when `waitMs` is negative; otherwise at most
    /// `waitMs` milliseconds, and a request to stop the program ends the wait at once.
    explicit FolderLock(const QString& fileName, int waitMs = -1);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    /// False when another process kept the lock for longer than the wait.
    bool held() const { return m_held; }

private:
    int m_fd = -1;
    bool m_held = true;
};
