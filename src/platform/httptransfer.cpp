#include "httptransfer.h"

#include "foundation/codepage.h"
#include "foundation/translate.h"
#include "userinterface.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QStringDecoder>
#include <QTimer>
#include <QUrl>

QtHttpTransfer::QtHttpTransfer(QObject* parent)
    : QObject(parent), m_manager(new QNetworkAccessManager(this))
{
}

QtHttpTransfer::~QtHttpTransfer()
{
    Cancel();
}

void QtHttpTransfer::Cancel()
{
    if (m_reply)
        m_reply->abort();
}

QString QtHttpTransfer::OpenURL(const QString& url)
{
    if (m_reply)
        throw TransferFailure("Still executing last request");
    const QUrl target(url, QUrl::TolerantMode);
    if (!target.isValid() || target.host().isEmpty())
        throw TransferFailure("URL is malformed");
    QNetworkRequest request(target);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    request.setTransferTimeout(0); // our own timer bounds the whole request

    m_reply = m_manager->get(request);
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
    connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    timer.start(qMax(1, m_timeoutSeconds) * 1000);
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents); // repaints, takes no user input
    timer.stop();
    m_reply = nullptr;

    const QByteArray body = reply->readAll();
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const QString errorText = reply->errorString();
    const QByteArray contentType = reply->header(QNetworkRequest::ContentTypeHeader).toByteArray();
    reply->deleteLater();

    if (timedOut)
        throw TransferFailure("Timeout");
    if (tooLarge || body.size() > kMaxBody)
        throw ReplyTooLarge();
    // Any HTTP status is an answer, even one whose body was cut short; only a transfer that
    // produced no response at all (refused, unknown host, reset, cancelled) is a failure.
    if (!status.isValid())
        throw TransferFailure(errorText.toStdString());
    return kov_DecodeBody(body, contentType);
}

void kov_ReportTransferFailure(const std::exception& failure)
{
    if (dynamic_cast<const ReplyTooLarge*>(&failure))
        kov_UserInterface().messageBox(Translate(QString::fromLatin1(failure.what())),
                                       MsgStyle::Critical, Translate(QStringLiteral("ERROR")));
}

QString kov_DecodeBody(const QByteArray& body, const QByteArray& contentType)
{
    const qsizetype at = contentType.toLower().indexOf("charset=");
    if (at >= 0) {
        QByteArray charset = contentType.mid(at + 8).trimmed();
        const qsizetype end = charset.indexOf(';');
        if (end >= 0)
            charset = charset.left(end).trimmed();
        charset.replace('"', "");
        const QByteArray lower = charset.toLower();
        if (lower != "windows-1252" && lower != "cp1252") {
            QStringDecoder decoder(charset.constData());
            if (decoder.isValid())
                return decoder.decode(body);
        }
    }
    return kov::fromCodePage(body);
}
