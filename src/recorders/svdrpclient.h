#pragma once
// A client of VDR's SVDRP: a line protocol over TCP. VDR greets with "220 ...", answers each
// command with lines "NNN-text" (more follow) and "NNN text" (the last one). Every wait is
// bounded, so a VDR that hangs or talks nonsense cannot hang a sync.
#include <QHostAddress>
#include <QStringList>
#include <QTcpSocket>

#include <optional>

struct SvdrpReply
{
    int code = 0;
    QStringList lines; // the text of each line, without code and separator
};

class SvdrpClient
{
public:
    /// Why open() failed, as far as the user can act on it.
    enum class Failure
    {
        None,
        Refused,     // nothing listens on that port
        TimedOut,    // no connection or no greeting in time
        UnknownHost, // the host name does not resolve
        NotAllowed,  // VDR refuses this computer (svdrphosts.conf)
        Closed,      // VDR hung up
        NotSvdrp,    // a line that is no SVDRP reply: another service on that port
        Other
    };

    explicit SvdrpClient(int timeoutMs);
    ~SvdrpClient();
    SvdrpClient(const SvdrpClient&) = delete;
    SvdrpClient& operator=(const SvdrpClient&) = delete;

    /// Connects and reads the greeting; false (see error()) unless VDR answered 220 in time.
    bool open(const QString& host, quint16 port);
    /// Sends one command and reads its whole reply; none when the connection failed, timed out
    /// or the reply was not SVDRP.
    std::optional<SvdrpReply> command(const QString& line);
    /// Says goodbye (QUIT) and closes; also done on destruction.
    void close();
    QString error() const { return m_error; }
    Failure failure() const { return m_failure; }

private:
    std::optional<QString> readLine(const class QDeadlineTimer& deadline);
    /// The host's address, looked up within the deadline.
    std::optional<QHostAddress> resolve(const QString& host, const QDeadlineTimer& deadline);
    void fail(const QString& why, Failure failure = Failure::Other);

    QTcpSocket m_socket;
    int m_timeoutMs;
    bool m_utf8 = true;
    QString m_error;
    Failure m_failure = Failure::None;
};
