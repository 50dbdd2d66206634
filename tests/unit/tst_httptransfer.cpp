// The HTTP transfer stand-in of DESIGN.md: body decoding and the failures it raises without a
// server (the simulator-backed cases are in tests/e2e).
#include "platform/httptransfer.h"

#include <QTcpServer>
#include <QtTest>

class TestHttpTransfer : public QObject
{
    Q_OBJECT
private slots:
    void decodeBody_data();
    void decodeBody();
    void failures_data();
    void failures();
    void idleComponent();
};

void TestHttpTransfer::decodeBody_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QByteArray>("contentType");
    QTest::addColumn<QString>("text");
    QTest::newRow("no charset: Windows-1252") << QByteArray("\xE4\x80") << QByteArray("text/plain")
                                              << QString(QChar(0xE4)) + QChar(0x20AC);
    QTest::newRow("utf-8") << QByteArray("\xC3\xA4") << QByteArray("text/plain; charset=UTF-8")
                           << QString(QChar(0xE4));
    QTest::newRow("quoted charset")
        << QByteArray("\xC3\xA4") << QByteArray("text/html; charset=\"utf-8\"; x=y")
        << QString(QChar(0xE4));
    QTest::newRow("windows-1252 named")
        << QByteArray("\x93q\x94") << QByteArray("text/plain; charset=windows-1252")
        << QString(QChar(0x201C)) + QLatin1Char('q') + QChar(0x201D);
    QTest::newRow("unknown charset")
        << QByteArray("\x80") << QByteArray("text/plain; charset=x-unknown")
        << QString(QChar(0x20AC));
}

void TestHttpTransfer::decodeBody()
{
    QFETCH(QByteArray, body);
    QFETCH(QByteArray, contentType);
    QFETCH(QString, text);
    QCOMPARE(kov_DecodeBody(body, contentType), text);
}

void TestHttpTransfer::failures_data()
{
    QTest::addColumn<QString>("url");
    QTest::newRow("malformed") << "not a url";
    QTest::newRow("no host") << "http://:80/x";
}

void TestHttpTransfer::failures()
{
    QFETCH(QString, url);
    QtHttpTransfer transfer;
    QVERIFY_THROWS_EXCEPTION(TransferFailure, transfer.OpenURL(url));
    QVERIFY(!transfer.StillExecuting());
}

void TestHttpTransfer::idleComponent()
{
    QtHttpTransfer transfer;
    QVERIFY(!transfer.StillExecuting());
    transfer.Cancel(); // nothing running: no effect
    transfer.setRequestTimeout(7);
    QCOMPARE(transfer.RequestTimeout(), 7);
    QTcpServer probe; // a port nobody listens on: refused
    QVERIFY(probe.listen(QHostAddress::LocalHost));
    const quint16 port = probe.serverPort();
    probe.close();
    QVERIFY_THROWS_EXCEPTION(TransferFailure,
                             transfer.OpenURL(QStringLiteral("http://127.0.0.1:%1/x").arg(port)));
}

QTEST_GUILESS_MAIN(TestHttpTransfer)
#include "tst_httptransfer.moc"
