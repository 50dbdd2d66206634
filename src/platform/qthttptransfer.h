#pragma once
// The HTTP transfer of the programs, over Qt Network.
#include "httptransfer.h"

#include <QByteArray>
#include <QObject>
#include <QSslConfiguration>
#include <QString>

#include <optional>

class QNetworkAccessManager;
class QNetworkReply;

/// The transfer over QNetworkAccessManager: a local event loop that repaints but
/// takes no user input, bounded by requestTimeout, no redirects, at most 16 MiB of body. An
/// https URL goes over TLS with the peer's certificate checked against the system's trust store
/// and the certificates of the file SSL_CERT_FILE names; one that does not verify fails the
/// request, and nothing turns that check off.
class QtHttpTransfer : public QObject, public HttpTransfer
{
    Q_OBJECT
public:
    explicit QtHttpTransfer(QObject* parent = nullptr);
    ~QtHttpTransfer() override;

    QString openUrl(const QString& url) override;
    void setRequestTimeout(qint32 seconds) override { m_timeoutSeconds = seconds; }
    qint32 requestTimeout() const override { return m_timeoutSeconds; }
    bool isBusy() const override { return m_reply != nullptr; }
    void cancel() override;
    int lastHttpStatus() const override { return m_lastStatus; }

    static constexpr qint64 kMaxBody = 16 * 1024 * 1024;

private:
    QNetworkAccessManager* m_manager;
    QNetworkReply* m_reply = nullptr;
    qint32 m_timeoutSeconds = 60;
    int m_lastStatus = 0;
    std::optional<QSslConfiguration> m_tls; // made for the first https request
};

namespace kov {
/// Decodes a body by the charset of its Content-Type, else as Windows-1252.
QString decodeBody(const QByteArray& body, const QByteArray& contentType);
} // namespace kov
