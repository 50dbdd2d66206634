#include "svdrpclient.h"

#include <QDeadlineTimer>
#include <QHostInfo>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

namespace {
// A reply line longer than this is not SVDRP; it is not buffered without end.
constexpr qsizetype kMaxLine = 64 * 1024;

bool isReplyLine(const QString& line)
{
    return line.size() >= 4 && line.at(0).isDigit() && line.at(1).isDigit() &&
           line.at(2).isDigit() &&
           (line.at(3) == QLatin1Char(' ') || line.at(3) == QLatin1Char('-'));
}
// VDR writes a reply a line at a time, and its Nagle waits for our acknowledgement of the
// first line before it sends the rest; a delayed acknowledgement would cost 40 ms a reply.
void acknowledgeAtOnce(const QTcpSocket& socket)
{
    const int on = 1;
    ::setsockopt(int(socket.socketDescriptor()), IPPROTO_TCP, TCP_QUICKACK, &on, sizeof on);
}

int remaining(const QDeadlineTimer& deadline)
{
    return static_cast<int>(std::max<qint64>(0, deadline.remainingTime()));
}
} // namespace

SvdrpClient::SvdrpClient(int timeoutMs) : m_timeoutMs(timeoutMs) {}

SvdrpClient::~SvdrpClient()
{
    close();
}

std::optional<QHostAddress> SvdrpClient::resolve(const QString& host,
                                                 const QDeadlineTimer& deadline)
{
    const QHostAddress literal(host);
    if (!literal.isNull())
        return literal;
    // A blocking connect looks the name up without any bound; the lookup runs beside the wait
    // and is left to finish on its own when the resolver hangs.
    struct Lookup
    {
        std::mutex mutex;
        std::condition_variable done;
        std::optional<QHostInfo> info;
    };
    const auto lookup = std::make_shared<Lookup>();
    std::thread([lookup, host] {
        QHostInfo info = QHostInfo::fromName(host);
        const std::lock_guard<std::mutex> lock(lookup->mutex);
        lookup->info = std::move(info);
        lookup->done.notify_all();
    }).detach();
    std::unique_lock<std::mutex> lock(lookup->mutex);
    if (!lookup->done.wait_for(lock, std::chrono::milliseconds(remaining(deadline)),
                               [&] { return lookup->info.has_value(); })) {
        fail(QStringLiteral("the name %1 was not resolved in time").arg(host), Failure::TimedOut);
        return std::nullopt;
    }
    if (lookup->info->addresses().isEmpty()) {
        fail(QStringLiteral("cannot find VDR's host %1: %2").arg(host, lookup->info->errorString()),
             Failure::UnknownHost);
        return std::nullopt;
    }
    return lookup->info->addresses().constFirst();
}

void SvdrpClient::fail(const QString& why, Failure failure)
{
    m_error = why;
    m_failure = failure;
    m_socket.abort();
}

bool SvdrpClient::open(const QString& host, quint16 port)
{
    const QDeadlineTimer deadline(m_timeoutMs);
    m_failure = Failure::None;
    const std::optional<QHostAddress> address = resolve(host, deadline);
    if (!address)
        return false;
    m_socket.connectToHost(*address, port);
    if (!m_socket.waitForConnected(remaining(deadline))) {
        const QAbstractSocket::SocketError error = m_socket.error();
        fail(QStringLiteral("cannot connect to VDR at %1:%2: %3")
                 .arg(host)
                 .arg(port)
                 .arg(m_socket.errorString()),
             error == QAbstractSocket::ConnectionRefusedError ? Failure::Refused
             : error == QAbstractSocket::HostNotFoundError    ? Failure::UnknownHost
             : error == QAbstractSocket::SocketTimeoutError   ? Failure::TimedOut
                                                              : Failure::Other);
        return false;
    }
    // A command goes out whole at once; each waits for its reply before the next one.
    m_socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    const std::optional<QString> greeting = readLine(deadline);
    if (!greeting) {
        // VDR writes "Access denied!" (no reply code) to a host missing from svdrphosts.conf and
        // hangs up at once. A hang-up without those words may have other causes (VDR stopping,
        // another client's limit) and stays a closed connection.
        if (m_error.contains(QLatin1String("Access denied"), Qt::CaseInsensitive))
            m_failure = Failure::NotAllowed;
        return false;
    }
    if (!greeting->startsWith(QLatin1String("220 "))) {
        // Other servers refuse a host with a reply code instead of 220 (554 and the like).
        fail(QStringLiteral("VDR refused the connection: ") + *greeting, Failure::NotAllowed);
        return false;
    }
    // The greeting names the character set of every later line.
    m_utf8 = greeting->contains(QLatin1String("UTF-8"), Qt::CaseInsensitive);
    return true;
}

std::optional<QString> SvdrpClient::readLine(const QDeadlineTimer& deadline)
{
    while (!m_socket.canReadLine()) {
        if (m_socket.bytesAvailable() > kMaxLine) {
            fail(QStringLiteral("VDR sent a line that is too long"));
            return std::nullopt;
        }
        if (m_socket.state() != QAbstractSocket::ConnectedState) {
            fail(QStringLiteral("VDR closed the connection"), Failure::Closed);
            return std::nullopt;
        }
        acknowledgeAtOnce(m_socket);
        if (!m_socket.waitForReadyRead(remaining(deadline)) && !m_socket.canReadLine()) {
            if (m_socket.state() == QAbstractSocket::ConnectedState)
                fail(QStringLiteral("VDR did not answer in time"), Failure::TimedOut);
            else
                fail(QStringLiteral("VDR closed the connection"), Failure::Closed);
            return std::nullopt;
        }
    }
    QByteArray bytes = m_socket.readLine(kMaxLine);
    while (bytes.endsWith('\n') || bytes.endsWith('\r'))
        bytes.chop(1);
    const QString line = m_utf8 ? QString::fromUtf8(bytes) : QString::fromLatin1(bytes);
    if (!isReplyLine(line)) {
        fail(QStringLiteral("VDR answered something that is not SVDRP: ") + line.left(80),
             Failure::NotSvdrp);
        return std::nullopt;
    }
    return line;
}

std::optional<SvdrpReply> SvdrpClient::command(const QString& line)
{
    // VDR says goodbye to a client left idle for its time-out ("221 ... closing connection")
    // and hangs up: what is waiting before a command is sent is no answer to it.
    if (m_socket.state() == QAbstractSocket::ConnectedState && m_socket.bytesAvailable() == 0)
        m_socket.waitForReadyRead(0);
    if (m_socket.state() != QAbstractSocket::ConnectedState || m_socket.bytesAvailable() > 0) {
        if (m_failure == Failure::None)
            fail(QStringLiteral("VDR closed the connection"), Failure::Closed);
        return std::nullopt;
    }
    // VDR ends a command at a line feed: a line that holds one would run its rest as a command.
    if (std::any_of(line.begin(), line.end(), [](QChar c) { return c.unicode() < 0x20; })) {
        m_error = QStringLiteral("a command with a control character was not sent to VDR");
        m_failure = Failure::Other;
        return std::nullopt;
    }
    const QDeadlineTimer deadline(m_timeoutMs);
    const QByteArray bytes = (m_utf8 ? line.toUtf8() : line.toLatin1()) + "\r\n";
    m_socket.write(bytes);
    while (m_socket.bytesToWrite() > 0) {
        if (!m_socket.waitForBytesWritten(remaining(deadline))) {
            fail(QStringLiteral("VDR does not take the command"));
            return std::nullopt;
        }
    }
    SvdrpReply reply;
    for (;;) {
        const std::optional<QString> next = readLine(deadline);
        if (!next)
            return std::nullopt;
        const int code = next->left(3).toInt();
        if (!reply.lines.isEmpty() && code != reply.code) {
            fail(QStringLiteral("VDR changed the reply code within one reply"));
            return std::nullopt;
        }
        reply.code = code;
        reply.lines << next->mid(4);
        if (next->at(3) == QLatin1Char(' '))
            return reply;
    }
}

void SvdrpClient::close()
{
    if (m_socket.state() == QAbstractSocket::ConnectedState) {
        // QUIT is a courtesy: VDR serves one client at a time and frees the slot at once.
        const QDeadlineTimer deadline(std::min(m_timeoutMs, 1000));
        m_socket.write("QUIT\r\n");
        m_socket.waitForBytesWritten(remaining(deadline));
        m_socket.disconnectFromHost();
        if (m_socket.state() != QAbstractSocket::UnconnectedState)
            m_socket.waitForDisconnected(remaining(deadline));
    }
    m_socket.abort();
}
