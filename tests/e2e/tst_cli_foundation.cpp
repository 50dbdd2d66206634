// Black-box tests of kovferrit-cli's settings, account and translate commands (DESIGN.md).
#include "foundation/aes.h"
#include "testsupport.h"

#include <QProcess>
#include <QtTest>

namespace {
struct Run
{
    int status;
    QString out;
    QString err;
};

QString cliPath()
{
    return qEnvironmentVariable("KOVFERRIT_CLI");
}

Run cli(const QString& home, const QStringList& args, const QByteArray& input = QByteArray())
{
    QProcess p;
    p.start(cliPath(), QStringList{QStringLiteral("--home"), home} + args);
    p.waitForStarted();
    if (!input.isEmpty())
        p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromLocal8Bit(p.readAllStandardOutput()),
            QString::fromLocal8Bit(p.readAllStandardError())};
}
} // namespace

class TestCliFoundation : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY2(QFile::exists(cliPath()), "KOVFERRIT_CLI not set"); }
    void setGetList();
    void getMissing();
    void deleteValue();
    void usageErrors_data();
    void usageErrors();
    void exportFile();
    void accountStoresEncryptedPassword();
    void accountUsesRecordedExecutableName();
    void translateCommand();
    void twoProcessesAtOnce();
};

void TestCliFoundation::setGetList()
{
    QTemporaryDir home;
    QCOMPARE(cli(home.path(), strings({"settings", "set", "Account", "--text", "demo"})).status, 0);
    QCOMPARE(cli(home.path(), strings({"settings", "set", "HaveServers", "--number", "1"})).status,
             0);
    const Run get = cli(home.path(), strings({"settings", "get", "account"}));
    QCOMPARE(get.status, 0);
    QCOMPARE(get.out, QStringLiteral("demo\n"));
    const Run list = cli(home.path(), strings({"settings", "list"}));
    QCOMPARE(list.status, 0);
    QCOMPARE(list.out, QStringLiteral("Account : demo\nHaveServers : 1\n"));
    QVERIFY(QFile::exists(home.filePath(QStringLiteral("settings.db"))));
    QCOMPARE(QFile::permissions(home.filePath(QStringLiteral("settings.db"))) &
                 (QFileDevice::ReadOther | QFileDevice::ReadGroup),
             QFileDevice::Permissions());
}

void TestCliFoundation::getMissing()
{
    QTemporaryDir home;
    const Run get = cli(home.path(), strings({"settings", "get", "Nothing"}));
    QCOMPARE(get.status, 1);
    QCOMPARE(get.out, QString());
    // get never creates the value
    QCOMPARE(cli(home.path(), strings({"settings", "list"})).out, QString());
}

void TestCliFoundation::deleteValue()
{
    QTemporaryDir home;
    cli(home.path(), strings({"settings", "set", "X", "--number", "5"}));
    QCOMPARE(cli(home.path(), strings({"settings", "delete", "X"})).status, 0);
    const Run again = cli(home.path(), strings({"settings", "delete", "X"}));
    QCOMPARE(again.status, 1);
    QCOMPARE(again.err, QStringLiteral("[KovFerrit] CKovReg::RegDeleteValue(X) FAILED : 2\n"));
}

void TestCliFoundation::usageErrors_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("no command") << QStringList();
    QTest::newRow("unknown command") << strings({"frobnicate"});
    QTest::newRow("settings without verb") << strings({"settings"});
    QTest::newRow("set without kind") << strings({"settings", "set", "X", "5"});
    QTest::newRow("number not a number") << strings({"settings", "set", "X", "--number", "abc"});
    QTest::newRow("number too large")
        << strings({"settings", "set", "X", "--number", "9999999999"});
    QTest::newRow("account without name") << strings({"account"});
}

void TestCliFoundation::usageErrors()
{
    QFETCH(QStringList, args);
    QTemporaryDir home;
    const Run run = cli(home.path(), args);
    QCOMPARE(run.status, 2);
    QVERIFY2(run.err.contains(QLatin1String("usage: kovferrit-cli")), qPrintable(run.err));
}

void TestCliFoundation::exportFile()
{
    QTemporaryDir home;
    cli(home.path(), strings({"settings", "set", "Port", "--number", "8080"}));
    const QString file = home.filePath(QStringLiteral("out.reg"));
    QCOMPARE(cli(home.path(), {QStringLiteral("settings"), QStringLiteral("export"), file}).status,
             0);
    QCOMPARE(
        readBytes(file),
        QByteArray("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Velmora\\Scheduler\\KovFerrit]"
                   "\r\n\"Port\"=dword:00001f90\r\n\r\n"));
}

void TestCliFoundation::accountStoresEncryptedPassword()
{
    QTemporaryDir home;
    QCOMPARE(cli(home.path(), strings({"account", "bob"}), "secret\n").status, 0);
    QCOMPARE(cli(home.path(), strings({"settings", "get", "Account"})).out,
             QStringLiteral("bob\n"));
    const QString stored = cli(home.path(), strings({"settings", "get", "Protocol"})).out.trimmed();
    QCOMPARE(stored,
             QStringLiteral("62EC11CC273A9DDC4E601312E410E4D294092909BAD4CF1426A29F7C0EC19407"));
    QCOMPARE(AES::DecryptText(stored, QStringLiteral("kovferrit")), QStringLiteral("secret"));
}

void TestCliFoundation::accountUsesRecordedExecutableName()
{
    QTemporaryDir home;
    cli(home.path(), strings({"settings", "set", "app.EXEName", "--text", "OtherName.exe"}));
    QCOMPARE(cli(home.path(), strings({"account", "bob"}), "pw\r\n").status, 0);
    const QString stored = cli(home.path(), strings({"settings", "get", "Protocol"})).out.trimmed();
    QCOMPARE(AES::DecryptText(stored, QStringLiteral("othername")), QStringLiteral("pw"));
    QVERIFY(AES::DecryptText(stored, QStringLiteral("kovferrit")) != QStringLiteral("pw"));
}

void TestCliFoundation::translateCommand()
{
    QTemporaryDir home;
    QCOMPARE(cli(home.path(), strings({"translate", "No New Data"})).out,
             QStringLiteral("No New Data\n"));
    writeBytes(home.filePath(QStringLiteral("strings.dat")), "No New Data\r\n");
    writeBytes(home.filePath(QStringLiteral("KovFerritStrings.dat")), "Keine neuen Daten\r\n");
    QCOMPARE(cli(home.path(), strings({"translate", "No New Data"})).out,
             QStringLiteral("Keine neuen Daten\n"));
}

void TestCliFoundation::twoProcessesAtOnce()
{
    // Writers in several processes at once lose nothing: the desktop program and the CLI share
    // the store.
    QTemporaryDir home;
    cli(home.path(), strings({"settings", "set", "Start", "--number", "0"}));
    constexpr int kWriters = 12;
    QList<QProcess*> writers;
    for (int i = 0; i < kWriters; ++i) {
        auto* p = new QProcess(this);
        p->start(cliPath(), {QStringLiteral("--home"), home.path(), QStringLiteral("settings"),
                             QStringLiteral("set"), QStringLiteral("V%1").arg(i),
                             QStringLiteral("--number"), QString::number(i * 7)});
        writers << p;
    }
    for (QProcess* p : writers) {
        QVERIFY(p->waitForFinished(60000));
        QCOMPARE(p->exitCode(), 0);
        delete p;
    }
    for (int i = 0; i < kWriters; ++i) {
        const Run get = cli(home.path(), {QStringLiteral("settings"), QStringLiteral("get"),
                                          QStringLiteral("V%1").arg(i)});
        QCOMPARE(get.out.trimmed(), QString::number(i * 7));
    }
}

QTEST_GUILESS_MAIN(TestCliFoundation)
#include "tst_cli_foundation.moc"
