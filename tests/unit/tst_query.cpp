// Part 1.1: request query and access string.
#include "fakes.h"
#include "foundation/kov_paths.h"
#include "protocol/cquibquery.h"
#include "protocol/cquibsession.h"
#include "settings/ckovreg.h"
#include "settings/settings_catalogue.h"
#include "testsupport.h"

#include <QtTest>

namespace {

/// Sends one getjobs request through a fake transfer and returns the URL it went to.
QString sentUrl(bool manually = false)
{
    FakeTransfer transfer;
    transfer.queue(QString());
    CQuibSession session;
    session.Initialize(&transfer);
    CKovReg reg = kov_Settings();
    reg.setLng(KovSetting::OpenURLRetries, 1);
    session.ServerFunction(QuibFunction::GetJobs, manually);
    return transfer.urls.value(0);
}
} // namespace

class TestQuery : public QObject
{
    Q_OBJECT
private slots:
    void defaultLayout_data();
    void defaultLayout();
    void valuesGoOutUnencoded_data();
    void valuesGoOutUnencoded();
    void otherExecutableName();
    void accountCaseChangesAccess();
    void emptyPath();
    void portAndNegativeSerial();
    void makeQueryRefusals();
};

void TestQuery::defaultLayout_data()
{
    QTest::addColumn<bool>("manually");
    QTest::addColumn<QString>("initiator");
    QTest::newRow("timed") << false << "1";
    QTest::newRow("manual") << true << "0";
}

void TestQuery::defaultLayout()
{
    TestEnvironment env;
    QFETCH(bool, manually);
    QFETCH(QString, initiator);
    storeCredentials(QStringLiteral("demo"), QStringLiteral("secret"));
    kov_Settings().setLng(KovSetting::LastSerial, 42);
    QCOMPARE(sentUrl(manually),
             QStringLiteral(
                 "http://localhost:80/cgi-bin/WebObjects/Zorvyn.woa/wa/getjobs?product=Velmora+Lumo"
                 "&initiator=") +
                 initiator +
                 QStringLiteral("&target=localhost&serial=42&doctype=csv&account=demo&access=") +
                 expectedAccess(QStringLiteral("demo"), QStringLiteral("secret")));
}

void TestQuery::valuesGoOutUnencoded_data()
{
    QTest::addColumn<QString>("account");
    QTest::newRow("ampersand") << "a&b";
    QTest::newRow("equals") << "x=y";
    QTest::newRow("blank") << "John Doe";
}

void TestQuery::valuesGoOutUnencoded()
{
    TestEnvironment env;
    QFETCH(QString, account);
    storeCredentials(account, QStringLiteral("pw"));
    const QString url = sentUrl();
    QVERIFY2(url.endsWith(QStringLiteral("&account=") + account + QStringLiteral("&access=") +
                          expectedAccess(account, QStringLiteral("pw"))),
             qPrintable(url));
    const QString access = url.mid(url.lastIndexOf(QLatin1String("&access=")) + 8);
    // 24 Base64 characters, each "+", "/" and "=" written as three.
    QCOMPARE(access.size() - 2 * access.count(QLatin1Char('%')), 24);
    QVERIFY(access.endsWith(QLatin1String("%3D%3D")));
}

void TestQuery::otherExecutableName()
{
    TestEnvironment env;
    storeCredentials(QStringLiteral("demo"), QStringLiteral("secret"));
    kov_SetExecutableName(QStringLiteral("renamed"));
    const QString url = sentUrl();
    kov_SetExecutableName(QStringLiteral("kovferrit"));
    if (url.isEmpty()) {
        // The usual outcome: the length prefix does not fit, the password reads as empty.
        QCOMPARE(env.ui.boxes.size(), 1);
        QCOMPARE(env.ui.boxes[0].text, QStringLiteral("You MUST set an Account and Password"));
        QCOMPARE(env.ui.boxes[0].style, 0);
        QVERIFY(env.traced(
            QStringLiteral("CQuibSession::GetAccessString Account or Password not set")));
    } else {
        QVERIFY(!url.endsWith(expectedAccess(QStringLiteral("demo"), QStringLiteral("secret"))));
    }
}

void TestQuery::accountCaseChangesAccess()
{
    TestEnvironment env;
    storeCredentials(QStringLiteral("demo"), QStringLiteral("pw"));
    const QString lower = sentUrl();
    storeCredentials(QStringLiteral("Demo"), QStringLiteral("pw"));
    const QString upper = sentUrl();
    const auto access = [](const QString& url) {
        return url.mid(url.lastIndexOf(QLatin1String("&access=")));
    };
    QVERIFY(!access(lower).isEmpty());
    QVERIFY(access(lower) != access(upper));
}

void TestQuery::emptyPath()
{
    TestEnvironment env;
    storeCredentials(QStringLiteral("demo"), QStringLiteral("pw"));
    kov_Settings().setStr(KovSetting::Path, QString());
    QVERIFY2(sentUrl().startsWith(QStringLiteral("http://localhost:80/getjobs?product=")),
             qPrintable(sentUrl()));
}

void TestQuery::portAndNegativeSerial()
{
    TestEnvironment env;
    CQuibSession session;
    kov_Settings().setLng(KovSetting::Port, 8080);
    CQuibQuery query;
    query.setSerial(-5);
    query.setProduct(QStringLiteral("P"));
    query.setTarget(QStringLiteral("t"));
    query.setDocType(QStringLiteral("csv"));
    query.setAccount(QStringLiteral("a"));
    query.setAccess(QStringLiteral("x%3D"));
    query.setInitiator(true);
    QCOMPARE(query.MakeQuery(&session, QuibFunction::ChannelGuide),
             QStringLiteral("http://localhost:8080/cgi-bin/WebObjects/Zorvyn.woa/wa/"
                            "channelguide?product=P&initiator=1"
                            "&target=t&serial=-5&doctype=csv&account=a&access=x%3D"));
}

void TestQuery::makeQueryRefusals()
{
    TestEnvironment env;
    CQuibQuery query;
    QCOMPARE(query.MakeQuery(nullptr, QuibFunction::GetJobs), QString());
    QVERIFY(env.traced(QStringLiteral("CQuibQuery::Get Query Session Is Nothing")));
    QVERIFY(env.ui.boxes.isEmpty());
}

QTEST_GUILESS_MAIN(TestQuery)
#include "tst_query.moc"
