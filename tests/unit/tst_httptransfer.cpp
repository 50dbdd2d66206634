// The HTTP transfer decodes a body by its charset, Windows-1252 when none is named.
#include "platform/httptransfer.h"
#include "testsupport.h"

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
        QCOMPARE(kov_DecodeBody(body, contentType), text);
    }
};

QTEST_GUILESS_MAIN(TestHttpTransfer)
#include "tst_httptransfer.moc"
