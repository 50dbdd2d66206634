// The HTTP transfer decodes a body by its charset, Windows-1252 when none is named.
#include "platform/qthttptransfer.h"
#include "testbasics.h"

#include <QTcpServer>
#include <QTcpSocket>

class TestHttpTransfer : public QObject
{
    Q_OBJECT
private slots:
    void decodeBody_data()
    {
        Columns<QByteArray, QByteArray, QString>::add();
        QTest::newRow("no charset")
            << QByteArray("\xE4\x80") << QByteArray("text/plain") << u"\u00E4\u20AC"_s;
        QTest::newRow("utf-8") << QByteArray("\xC3\xA4") << QByteArray("text/plain; charset=UTF-8")
                               << u"\u00E4"_s;
        QTest::newRow("windows-1252")
            << QByteArray("\x93q\x94") << QByteArray("text/plain; charset=windows-1252")
            << u"\u201Cq\u201D"_s;
    }
    void decodeBody()
    {
        const auto [body, contentType, text] = Columns<QByteArray, QByteArray, QString>::fetch();
        QCOMPARE(kov::decodeBody(body, contentType), text);
    }
    // A long body is decoded piece by piece as it arrives; a character whose bytes fall into
    // two pieces is still read whole.
    void longBodyDecodedWhole()
    {
        const QString text = QLatin1Char('a') + QString(300000, QChar(0x00E4));
        const QByteArray body = text.toUtf8();
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        connect(&server, &QTcpServer::newConnection, [&] {
            QTcpSocket* socket = server.nextPendingConnection();
            connect(socket, &QTcpSocket::readyRead, socket, [socket, &body] {
                if (!socket->readAll().contains("\r\n\r\n"))
                    return;
                socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/plain; charset=utf-8\r\n"
                              "Connection: close\r\nContent-Length: " +
                              QByteArray::number(body.size()) + "\r\n\r\n" + body);
                socket->disconnectFromHost();
            });
        });
        QtHttpTransfer transfer;
        transfer.setRequestTimeout(30);
        QCOMPARE(transfer.openUrl(QStringLiteral("http://127.0.0.1:%1/").arg(server.serverPort())),
                 text);
    }
};

QTEST_GUILESS_MAIN(TestHttpTransfer)
#include "tst_httptransfer.moc"
