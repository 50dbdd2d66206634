#include "qthttptransfer.h"

#include "foundation/codepage.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslCertificate>
#include <QSslError>
#include <QStringDecoder>
#include <QTimer>
#include <QUrl>

#include <optional>
#include <utility>

namespace {
constexpr qint64 kPieceSize = 256 * 1024;

// Turns a body into text by the charset its Content-Type names, else Windows-1252, one piece
// at a time as it arrives: a character split between two pieces is completed by the next.
class BodyDecoder
{
public:
    explicit BodyDecoder(const QByteArray& contentType)
    {
        const qsizetype at = contentType.toLower().indexOf("charset=");
        if (at < 0)
            return;
        QByteArray charset = contentType.mid(at + 8).trimmed();
        const qsizetype end = charset.indexOf(';');
        if (end >= 0)
            charset = charset.left(end).trimmed();
        charset.replace('"', "");
        const QByteArray lower = charset.toLower();
        if (lower == "windows-1252" || lower == "cp1252")
            return;
        QStringDecoder decoder(charset.constData());
        if (decoder.isValid())
            m_decoder.emplace(std::move(decoder));
    }
    QString decode(const QByteArray& piece)
    {
        return m_decoder ? QString(m_decoder->decode(piece)) : kov::fromCodePage(piece);
    }

private:
    std::optional<QStringDecoder> m_decoder;
};

// Qt's TLS reads the system's trust store only, not OpenSSL's SSL_CERT_FILE; curl and openssl
// honour that variable, so a private CA named there is trusted too, beside the system's.
QSslConfiguration tlsConfiguration()
{
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    const QString file = qEnvironmentVariable("SSL_CERT_FILE");
    const QList<QSslCertificate> named =
        file.isEmpty() ? QList<QSslCertificate>() : QSslCertificate::fromPath(file);
    // Naming any CA certificate ends Qt's loading of the system's on demand: they are named too.
    if (!named.isEmpty())
        tls.setCaCertificates(QSslConfiguration::systemCaCertificates() + named);
    return tls;
}
} // namespace

QtHttpTransfer::QtHttpTransfer(QObject* parent)
    : QObject(parent), m_manager(new QNetworkAccessManager(this))
{
}

QtHttpTransfer::~QtHttpTransfer()
{
    cancel();
}

void QtHttpTransfer::cancel()
{
    if (m_reply)
        m_reply->abort();
}

QString QtHttpTransfer::openUrl(const QString& url)
{
    if (m_reply)
        throw TransferFailure("Still executing last request");
    m_lastStatus = 0;
    const QUrl target(url, QUrl::TolerantMode);
    if (!target.isValid() || target.host().isEmpty())
        throw TransferFailure("URL is malformed");
    QNetworkRequest request(target);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    request.setTransferTimeout(0); // our own timer bounds the whole request
    if (target.scheme() == QLatin1String("https")) {
        if (!m_tls)
            m_tls = tlsConfiguration();
        request.setSslConfiguration(*m_tls);
    }

    m_reply = m_manager->get(request);
    m_reply->setReadBufferSize(kPieceSize); // the network waits while the body is decoded
    QNetworkReply* reply = m_reply;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    bool timedOut = false;
    bool tooLarge = false;
    connect(&timer, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        reply->abort();
    });
    connect(reply, &QNetworkReply::downloadProgress, &loop, [&](qint64 received, qint64) {
        if (received > kMaxBody && !tooLarge) {
            tooLarge = true;
            reply->abort();
        }
    });
    // The body is decoded as it arrives, so a long reply is never held as bytes and as text
    // at once.
    QString text;
    qint64 bodySize = 0;
    std::optional<BodyDecoder> decoder;
    auto takeBody = [&] {
        while (!tooLarge && reply->bytesAvailable() > 0) {
            const QByteArray piece = reply->read(kPieceSize);
            bodySize += piece.size();
            if (bodySize > kMaxBody) {
                tooLarge = true;
                text.clear();
                reply->abort();
                return;
            }
            if (!decoder) {
                decoder.emplace(reply->header(QNetworkRequest::ContentTypeHeader).toByteArray());
                const qint64 announced =
                    reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
                if (announced > 0 && announced <= kMaxBody)
                    text.reserve(announced);
            }
            text += decoder->decode(piece);
        }
    };
    connect(reply, &QIODevice::readyRead, &loop, takeBody);
    connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    // Why the peer's certificate did not verify; the errors are never ignored, so the
    // handshake then fails.
    QStringList certificateProblems;
    connect(reply, &QNetworkReply::sslErrors, &loop, [&](const QList<QSslError>& errors) {
        for (const QSslError& error : errors)
            certificateProblems << error.errorString();
    });
    timer.start(qMax(1, m_timeoutSeconds) * 1000);
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents); // repaints, takes no user input
    timer.stop();
    m_reply = nullptr;

    takeBody(); // what arrived after the last readyRead
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const QString errorText = reply->errorString();
    const QNetworkReply::NetworkError error = reply->error();
    reply->deleteLater();

    if (timedOut)
        throw TransferFailure("Timeout", TransferFailure::Cause::TimedOut);
    if (tooLarge)
        throw ReplyTooLarge();
    // Any HTTP status is an answer, even one whose body was cut short; only a transfer that
    // produced no response at all (refused, unknown host, reset, cancelled) is a failure.
    if (!status.isValid()) {
        if (!certificateProblems.isEmpty())
            throw TransferFailure(certificateProblems.join(QStringLiteral("; ")).toStdString(),
                                  TransferFailure::Cause::CertificateUnverified);
        if (error == QNetworkReply::SslHandshakeFailedError)
            throw TransferFailure(errorText.toStdString(),
                                  TransferFailure::Cause::SecureConnectionFailed);
        const TransferFailure::Cause cause =
            error == QNetworkReply::ConnectionRefusedError ? TransferFailure::Cause::Refused
            : error == QNetworkReply::HostNotFoundError    ? TransferFailure::Cause::UnknownHost
                                                           : TransferFailure::Cause::Other;
        throw TransferFailure(errorText.toStdString(), cause);
    }
    m_lastStatus = status.toInt();
    return text;
}

QString kov::decodeBody(const QByteArray& body, const QByteArray& contentType)
{
    return BodyDecoder(contentType).decode(body);
}
