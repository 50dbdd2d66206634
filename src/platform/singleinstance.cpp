#include "singleinstance.h"

#include "folderlock.h"
#include "foundation/programfolder.h"
#include "foundation/trace.h"

#include <QCryptographicHash>
#include <QEventLoop>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

#include <unistd.h>

namespace {
const QByteArray kShowRequest = QByteArrayLiteral("show\n");
const QByteArray kShowAnswer = QByteArrayLiteral("ok\n");
} // namespace

SingleInstance::SingleInstance(QObject* parent) : QObject(parent) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::serverName()
{
    // A socket's path is short (108 bytes), so the folder goes in as a hash.
    const QString folder = kov::programFolder();
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    const QByteArray hash =
        QCryptographicHash::hash((canonical.isEmpty() ? folder : canonical).toUtf8(),
                                 QCryptographicHash::Sha256)
            .toHex()
            .left(32);
    return QStringLiteral("kovferrit-%1-%2").arg(::getuid()).arg(QString::fromLatin1(hash));
}

SingleInstance::Claim SingleInstance::claim(int waitMs)
{
    return takeLock() ? Claim::First : handOver(waitMs);
}

bool SingleInstance::takeLock()
{
    m_lock = std::make_unique<FolderLock>(QStringLiteral("desktop.lock"), 0);
    if (!m_lock->held())
        m_lock.reset();
    return m_lock != nullptr;
}

SingleInstance::Claim SingleInstance::handOver(int waitMs)
{
    // The running copy may still be starting and not listen yet: connect again until it answers
    // or the time is up. When it has ended meanwhile, this start takes its place.
    QLocalSocket socket;
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    QTimer retry;
    retry.setSingleShot(true);
    retry.setInterval(100);
    bool answered = false;
    bool first = false;
    connect(&socket, &QLocalSocket::connected, &loop, [&] { socket.write(kShowRequest); });
    connect(&socket, &QLocalSocket::readyRead, &loop, [&] {
        if (!socket.canReadLine())
            return;
        answered = socket.readLine() == kShowAnswer;
        loop.quit();
    });
    connect(&socket, &QLocalSocket::errorOccurred, &retry, [&] { retry.start(); });
    connect(&retry, &QTimer::timeout, &loop, [&] {
        if ((first = takeLock())) {
            loop.quit();
            return;
        }
        socket.abort();
        socket.connectToServer(serverName());
    });
    connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    deadline.start(waitMs);
    socket.connectToServer(serverName());
    if (!answered && deadline.isActive())
        loop.exec();
    if (first)
        return Claim::First;
    kov::traceFrom("SingleInstance", answered ? QStringLiteral("handed over to the running copy")
                                              : QStringLiteral("the running copy does not answer"));
    return answered ? Claim::HandedOver : Claim::NoAnswer;
}

void SingleInstance::listen()
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::answerStarts);
    // This copy holds the folder's lock, so a socket under the name is a crashed copy's.
    QLocalServer::removeServer(serverName());
    if (m_server->listen(serverName()))
        kov::traceFrom("SingleInstance", QStringLiteral("answers later starts"));
    else
        kov::traceFrom("SingleInstance",
                       QStringLiteral("cannot listen: ") + m_server->errorString());
}

void SingleInstance::answerStarts()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        const auto answer = [this, socket] {
            const bool line = socket->canReadLine();
            if (!line && socket->bytesAvailable() < kShowRequest.size())
                return; // more to come
            const bool request = line && socket->readLine() == kShowRequest;
            if (request)
                socket->write(kShowAnswer);
            socket->disconnectFromServer(); // writes the answer first
            if (request)
                emit anotherStart();
        };
        connect(socket, &QLocalSocket::readyRead, this, answer);
        answer();
    }
}
