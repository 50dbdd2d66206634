#include "synclock.h"

#include "foundation/kov_paths.h"
#include "foundation/kov_vb.h"
#include "platform/userinterface.h"

#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

SyncFolderLock::SyncFolderLock(int waitMs)
{
    const QByteArray path = QFile::encodeName(kov_ProgramFile(QStringLiteral("sync.lock")));
    m_fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (m_fd < 0) {
        // A folder the lock cannot be made in cannot hold the run's files either; the run
        // goes on and reports those.
        kov_ClassMessage("SyncFolderLock", QStringLiteral("cannot open sync.lock"),
                         kov_InDevelopment());
        return;
    }
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0)
            return;
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK) {
            // A file system without locks: the run goes on as it did before there was a lock.
            kov_ClassMessage("SyncFolderLock", QStringLiteral("cannot lock sync.lock"),
                             kov_InDevelopment());
            break;
        }
        if (waited.elapsed() >= waitMs || kov_StopRequested()) {
            m_held = false;
            break;
        }
        QThread::msleep(100);
    }
    ::close(m_fd);
    m_fd = -1;
}

SyncFolderLock::~SyncFolderLock()
{
    if (m_fd >= 0)
        ::close(m_fd); // closing the descriptor releases the lock
}
