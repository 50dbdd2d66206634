#pragma once
// The one connection point to the Quib service: builds a request, sends it through the HTTP
// transfer, records it and hands the reply to the parser.
#include "settings/quibfunction.h"
#include "settings/settingsstore.h"

#include <QString>

#include <memory>

class ReplyParser;
class ReplyRecordConsumer;
class HttpTransfer;

namespace kov {
struct TargetHost;
} // namespace kov

class QuibSession
{
public:
    QuibSession();
    ~QuibSession();
    QuibSession(const QuibSession&) = delete;
    QuibSession& operator=(const QuibSession&) = delete;

    bool isBusy() const;
    void cancel();
    /// One exchange with the server; true when the reply reached the parser and its header
    /// was accepted.
    bool runServerFunction(QuibFunction function, bool manually = false, bool zeroSerial = false);
    bool logReplies() const { return m_logReplies; }
    void setLogReplies(bool on) { m_logReplies = on; }
    qint32 timeoutSeconds() const { return m_timeoutSeconds; }
    void setTimeoutSeconds(qint32 seconds) { m_timeoutSeconds = seconds; }
    /// "https://" or "http://" and the Target's host.
    QString targetAddress();
    /// The Port setting; its default 80 becomes 443 when the request goes over TLS.
    qint32 port();
    QString path();
    ReplyParser* reply() const { return m_reply.get(); }
    /// Where the records of the following replies go (not owned); nullptr drops them.
    void setRecordConsumer(ReplyRecordConsumer* consumer) { m_consumer = consumer; }
    /// Hands over the HTTP transfer (not owned); again after a failed exchange dropped it.
    bool setTransfer(HttpTransfer* transfer);
    bool hasTransfer() const { return m_transfer != nullptr; }
    /// Why the last exchange brought no reply, translated, with the host and port asked
    /// (refused, timed out, unknown host, an HTTP status, a reply over the cap, a certificate
    /// that did not verify, a failed TLS handshake); empty when the transfer went well. An
    /// exchange that could not start, because an earlier failure of the run dropped the HTTP
    /// transfer, keeps that failure's text.
    QString transferProblem() const { return m_transferProblem; }

private:
    QString target();
    /// The Target (`chosen`) or its server entry asks for TLS (https://), or UseHttps does for
    /// every one.
    bool usesHttps(const kov::TargetHost& chosen);
    bool isValidTarget(const QString& t);
    /// The host part of the first server entry naming `host` (any case, scheme kept), or empty.
    QString serverEntry(const QString& host);
    QString accessString();
    qint32 lastSerial(bool zeroSerial);
    bool processReply(QString reply, QuibFunction function);
    void classMessage(const QString& message, bool showBox = false);
    void setTransferProblem(const QString& url, const QString& reason);

    HttpTransfer* m_transfer = nullptr;
    bool m_handedOver = false;
    bool m_inProgress = false; // inside runServerFunction
    std::unique_ptr<ReplyParser> m_reply;
    ReplyRecordConsumer* m_consumer = nullptr;
    qint32 m_timeoutSeconds = 0;
    bool m_logReplies = false;
    QString m_transferProblem;
    SettingsStore m_settings;
};

namespace kov {
/// A Target or server entry as its host and whether "https://" (any case) asked for TLS;
/// "http://" is taken off as well.
struct TargetHost
{
    QString host;
    bool secure = false;
};
TargetHost splitTarget(const QString& target);
/// A reply the service really sent: its first line ends with CR LF and its first field begins
/// with a code that rounds to 0 to 16 (no number counts as 0). Throws std::runtime_error when
/// the first line cannot be split at all (a quote left open before any separator).
bool isValidReply(const QString& reply);
} // namespace kov
