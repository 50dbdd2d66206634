#include "folderlock.h"

#include "foundation/programfolder.h"
#include "foundation/trace.h"
#include "userinterface.h"

#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

FolderLock::FolderLock(const QString& fileName, int waitMs)
{
    const QByteArray path = QFile::encodeName(kov::programFile(fileName));
    m_fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (m_fd < 0) {
        // A folder the lock cannot be made in cannot hold the files it guards either; the
        // caller goes on and reports those.
        kov::traceFrom("FolderLock", QStringLiteral("cannot open ") + fileName);
        return;
    }
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        if (::flock(m_fd, waitMs < 0 ? LOCK_EX : LOCK_EX | LOCK_NB) == 0)
            return;
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK) {
            kov::traceFrom("FolderLock", QStringLiteral("cannot lock ") + fileName);
            break;
        }
        if (waited.elapsed() >= waitMs || kov::stopRequested()) {
            m_held = false;
            break;
        }
        QThread::msleep(100);
    }
    ::close(m_fd);
    m_fd = -1;
}

FolderLock::~FolderLock()
{
    if (m_fd >= 0)
        ::close(m_fd); // closing the descriptor releases the lock
}
