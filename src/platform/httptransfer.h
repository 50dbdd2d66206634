#pragma once
// The HTTP transfer the session sends its requests through: one synchronous GET at a time,
// bounded by a time-out, and the failures it raises, with the texts that tell the user of them.
#include <QString>

#include <stdexcept>
#include <string>

/// A failure raised by openUrl (time-out, refused connection, unknown host, body too large, a
/// TLS handshake that failed).
class TransferFailure : public std::runtime_error
{
public:
    /// What the user is told; Other shows the system's own text, and the two TLS causes add it
    /// as the reason (`what`).
    enum class Cause
    {
        Other,
        Refused,
        TimedOut,
        UnknownHost,
        TooLarge,
        CertificateUnverified,
        SecureConnectionFailed
    };
    explicit TransferFailure(const std::string& what, Cause cause = Cause::Other)
        : std::runtime_error(what), m_cause(cause)
    {
    }
    Cause cause() const { return m_cause; }

private:
    Cause m_cause;
};

/// A body over the cap: unlike a network hiccup it comes back on every try, so the user is
/// told (kov::reportTransferFailure).
class ReplyTooLarge : public TransferFailure
{
public:
    ReplyTooLarge() : TransferFailure("Reply larger than 16 MiB", Cause::TooLarge) {}
};

namespace kov {
/// Shows a failure of openUrl that the user must see (a reply over the cap) as a message box,
/// translated; every other failure is left to the caller's trace.
void reportTransferFailure(const std::exception& failure);
/// Why an exchange brought no reply, translated, as the end of a sentence: from a failure of
/// openUrl ("the connection was refused."), or from the HTTP status of an answer that was no
/// reply of the service (`failure` nullptr).
QString transferProblemText(const std::exception* failure, int httpStatus = 0);
} // namespace kov

class HttpTransfer
{
public:
    virtual ~HttpTransfer() = default;
    /// Synchronous GET of the whole URL; the body of any HTTP status, or TransferFailure.
    virtual QString openUrl(const QString& url) = 0;
    virtual void setRequestTimeout(qint32 seconds) = 0;
    virtual qint32 requestTimeout() const = 0;
    virtual bool isBusy() const = 0;
    virtual void cancel() = 0;
    /// The HTTP status of the last answer openUrl returned; 0 when it returned none.
    virtual int lastHttpStatus() const { return 0; }
};
