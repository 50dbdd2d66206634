// The settings store: what each read of SettingsStore creates and writes, names without case,
// export in creation order, and a store that cannot be opened.
#include "foundation/filewriters.h"
#include "platform/settingsdatabase.h"
#include "platform/sqlconnection.h"
#include "recorders/localscheduler.h"
#include "settings/settingscatalogue.h"
#include "settings/storedvalues.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>

namespace {
qint32 storedType(const QString& name) // 0 absent, 1 text, 4 number
{
    return kov::storedType(kov::settingsKey(), name, kMachineRoot);
}

QByteArray storedBytes(const QString& name)
{
    QByteArray data;
    SettingsDatabase::instance().queryValue(kMachineRoot, kov::settingsKey(), name, nullptr, &data);
    return data;
}
} // namespace

class TestSettings : public EnvironmentTest
{
    Q_OBJECT
    using Reads = Columns<QVariant, QString, QString, int>;

private slots:
    void read_data()
    {
        Reads::add(); // a text stored before, the read, what it gives, the type afterwards
        QTest::newRow("Lng creates 0") << QVariant() << u"Lng"_s << u"0"_s << 4;
        QTest::newRow("LngD creates its default") << QVariant() << u"LngD"_s << u"12"_s << 4;
        QTest::newRow("Str creates nothing") << QVariant() << u"Str"_s << u""_s << 0;
        QTest::newRow("LngD of text 1") << QVariant(u"1"_s) << u"LngD"_s << u"49"_s << 1;
        QTest::newRow("LngD of four characters")
            << QVariant(u"abcd"_s) << u"LngD"_s << u"12"_s << 4;
    }
    void read()
    {
        const auto [stored, how, expected, type] = Reads::fetch();
        SettingsStore settings = kov::settings();
        if (stored.isValid())
            settings.setText(u"X"_s, stored.toString());
        for (qint32 fallback : {12, 99}) { // what was stored wins over a later default
            const QString got = how == u"Str"_s ? settings.text(u"X"_s)
                                : how == u"Lng"_s
                                    ? QString::number(settings.number(u"X"_s))
                                    : QString::number(settings.numberOr(u"X"_s, fallback));
            QCOMPARE(got, expected);
        }
        QCOMPARE(storedType(u"X"_s), type);
        QVERIFY(env->ui.boxes.isEmpty());
    }
    void missingValueWrittenInItsKind_data()
    {
        Columns<QVariant, int, QByteArray>::add(); // the default given; type and bytes stored
        QTest::newRow("text") << QVariant(u"abc"_s) << 1 << QByteArray("abc\0", 4);
        QTest::newRow("number") << QVariant(5) << 4 << QByteArray("\x05\0\0\0", 4);
        QTest::newRow("true is -1") << QVariant(true) << 4 << QByteArray("\xFF\xFF\xFF\xFF", 4);
        QTest::newRow("double") << QVariant(1234567.25) << 1 << QByteArray("1234567.25\0", 11);
        QTest::newRow("none: empty text") << QVariant() << 1 << QByteArray();
        QTest::newRow("float: nothing") << QVariant(1.5f) << 0 << QByteArray();
    }
    void missingValueWrittenInItsKind()
    {
        const auto [missing, type, bytes] = Columns<QVariant, int, QByteArray>::fetch();
        QCOMPARE(kov::settings().value(u"X"_s, missing), missing);
        QCOMPARE(storedType(u"X"_s), type);
        QCOMPARE(storedBytes(u"X"_s), bytes);
    }
    void sharedWithoutCaseOrCache()
    {
        SettingsStore a = kov::settings();
        SettingsStore b;
        b.setKey(u"software\\VELMORA\\scheduler\\kovferrit"_s);
        a.setText(u"Account"_s, u"demo"_s);
        QCOMPARE(b.text(u"ACCOUNT"_s), u"demo"_s);
        b.setNumber(u"shared"_s, 2);
        QCOMPARE(a.number(u"Shared"_s), 2);
        QVERIFY(a.deleteValue(u"SHARED"_s));
        QVERIFY(!b.valueExists(u"shared"_s));
        QVERIFY(!a.deleteValue(QString())); // no name, nothing deleted
        // A key this process deletes and makes again holds what is written to it afterwards.
        const QString sub = kov::settingsKey() + u"\\Sub"_s;
        QVERIFY(a.setText(u"v"_s, u"1"_s, sub));
        QVERIFY(a.deleteKey(sub));
        QVERIFY(a.setText(u"v"_s, u"2"_s, sub));
        QCOMPARE(b.text(u"v"_s, sub), u"2"_s);
    }
    void otherProcessesWritesSeenAtOnce()
    {
        // A second connection to each file stands for the CLI writing while this process keeps
        // its own open: a statement of ours left unfinished would keep an older snapshot.
        SettingsStore settings = kov::settings();
        settings.setText(u"Account"_s, u"demo"_s);
        QCOMPARE(settings.text(u"Account"_s), u"demo"_s);
        SettingsDatabase other(SettingsDatabase::instance().path());
        QCOMPARE(other.setValue(kMachineRoot, kov::settingsKey(), u"Account"_s, StoredType::Text,
                                QByteArray("cli\0", 4)),
                 StoreResult::Success);
        QCOMPARE(settings.text(u"Account"_s), u"cli"_s);

        const QString path = env->file(u"KOVSched.db"_s);
        const QDateTime start(QDate(2026, 12, 10), QTime(20, 15));
        auto create = [&](const QString& name) {
            return LocalScheduler(path).createRecording(
                {name, start, start.addSecs(60), 7, name, u"fs:1"_s, 0, {}});
        };
        QCOMPARE(create(u"A"_s), 0);
        QVERIFY(LocalScheduler(path).hasRecording(u"A"_s));
        SqlConnection cli("cli");
        QVERIFY(cli.open(path, false));
        QVERIFY(cli.run("DELETE FROM programs WHERE name = 'A'").ok());
        QCOMPARE(create(u"B"_s), 0); // an older snapshot could not write
        QVERIFY(!LocalScheduler(path).hasRecording(u"A"_s));
        QVERIFY(cli.run("SELECT 1 FROM programs WHERE name = 'B'").next());
    }
    void exportWritesRegedit4()
    {
        SettingsStore settings = kov::settings();
        settings.setNumber(u"Port"_s, 1);
        settings.setText(u"Account"_s, u"de\"mo"_s);
        settings.setNumber(u"Port"_s, 8080); // values keep the order they were made in
        QVERIFY(settings.exportTo(env->file(u"export.reg"_s)));
        QCOMPARE(readBytes(env->file(u"export.reg"_s)),
                 "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Velmora\\Scheduler\\KovFerrit]\r\n"
                 "\"Port\"=dword:00001f90\r\n\"Account\"=\"de\\\"mo\"\r\n\r\n");
    }
    void accountFilesAreTheOwnersAlone()
    {
        // Observed while the stores are open, as their journal files exist only then.
        const mode_t umask = ::umask(022);
        writeBytes(env->file(u"ReplyLog.txt"_s), "from an older version\r\n");
        SettingsStore settings = kov::settings();
        settings.setText(u"Account"_s, u"demo"_s);
        QVERIFY(settings.exportTo(env->file(u"export.reg"_s)));
        QVERIFY(kov::appendPrivateFile(env->file(u"ReplyLog.txt"_s), u"entry"_s));
        const LocalScheduler recorder(env->file(u"KOVSched.db"_s));
        ::umask(umask);
        for (const char* name : {"settings.db", "settings.db-wal", "settings.db-shm", "export.reg",
                                 "ReplyLog.txt", "KOVSched.db", "KOVSched.db-wal"}) {
            const QFileInfo file(env->file(QString::fromLatin1(name)));
            QVERIFY2(file.exists(), name);
            QVERIFY2(!(file.permissions() & 0x0077), name); // no group or other bits
        }
    }
    void storedNames_data()
    {
        Columns<SettingKey, QString>::add(); // a setting with its parameter, its stored name
        QTest::newRow("server") << SettingKey(Setting::Server, 12) << u"12Server"_s;
        QTest::newRow("column") << SettingKey(Setting::ColumnWidth, 3) << u"ChColW3"_s;
        QTest::newRow("reply serial") << SettingKey(Setting::LastReplySerial, QuibFunction::GetJobs)
                                      << u"LastgetjobsSerial"_s;
        QTest::newRow("field count") << SettingKey(Setting::FieldCount, QuibFunction::ChannelGuide)
                                     << u"NoDataFields_channelguide"_s;
    }
    void storedNames()
    {
        const auto [key, name] = Columns<SettingKey, QString>::fetch();
        QCOMPARE(key.name(), name);
    }
    void typedNameFindsItsRow_data()
    {
        Columns<QString, int>::add(); // what a user types, the row it names (-1: none)
        const auto row = [](Setting s) { return static_cast<int>(s); };
        QTest::newRow("any case") << u"vdrport"_s << row(Setting::VdrPort);
        QTest::newRow("numbered") << u"2server"_s << row(Setting::Server);
        QTest::newRow("per function") << u"LastGETJOBSQueryTime"_s << row(Setting::LastQueryTime);
        QTest::newRow("pattern") << u"LastxSerial"_s << row(Setting::LastReplySerial);
        QTest::newRow("no parameter") << u"ChColW"_s << -1;
        QTest::newRow("letters for a number") << u"ChColWa"_s << -1;
        QTest::newRow("digits for a function") << u"NoDataFields_1"_s << -1;
        QTest::newRow("typo") << u"Acount"_s << -1;
    }
    void typedNameFindsItsRow()
    {
        const auto [typed, expected] = Columns<QString, int>::fetch();
        const SettingRow* row = kov::findSetting(typed);
        QCOMPARE(row ? static_cast<int>(row->key) : -1, expected);
    }
    void everyPlainNameFindsItsOwnRow()
    {
        // Exact names come before patterns: LastSerial is not taken for Last%1Serial.
        for (int i = 0; i < kov::kSettingCount; ++i) {
            const SettingRow& row = kov::settingRow(static_cast<Setting>(i));
            if (row.parameter == SettingParameter::None)
                QCOMPARE(kov::findSetting(QString::fromLatin1(row.name)), &row);
        }
    }
    void manualFromTheTable_data()
    {
        // A line of the built kovferrit-cli(1), whether it is there
        Columns<QString, bool>::add();
        QTest::newRow("host default") << u".BR Target \" (\" text \", default \" \"the build's "
                                         u"default host\" )\nThe service host: "_s
                                      << true;
        QTest::newRow("bounds") << u".BR VdrPort \" (\" number \", default \" \"6419\" )\n"
                                   u"VDR's SVDRP port, 1\\(en65535.\n.TP\n"_s
                                << true;
        QTest::newRow("text default")
            << u".BR VdrFolder \" (\" text \", default \" \"KovFerrit\" )"_s << true;
        QTest::newRow("last, then the next section")
            << u"1: the desktop program shows a desktop notification for a sync that scheduled or "
               u"deleted\nrecordings and for one that failed; 0: none.\n.SH EXIT STATUS\n"_s
            << true;
        QTest::newRow("the program's own") << u".BR Account "_s << false;
        QTest::newRow("marker replaced") << u"settings from the table"_s << false;
    }
    void manualFromTheTable()
    {
        const auto [line, there] = Columns<QString, bool>::fetch();
        QFile page(qEnvironmentVariable("KOVFERRIT_MANUAL"));
        QVERIFY(page.open(QIODevice::ReadOnly | QIODevice::Text));
        QCOMPARE(QString::fromUtf8(page.readAll()).contains(line), there);
    }
    void rootsPastTheLastRefused()
    {
        QVERIFY(SettingsStore::isValidRoot(static_cast<qint32>(0x80000006u)));
        QVERIFY(!SettingsStore::isValidRoot(static_cast<qint32>(0x80000007u)));
    }
    void storeThatCannotBeOpened()
    {
        // Like a user who may not write the machine's settings: no message, defaults read.
        QDir(env->folder()).mkdir(u"settings.db"_s);
        SettingsStore settings = kov::settings();
        QCOMPARE(settings.numberOr(u"TimeoutSeconds"_s, 60), 60);
        QVERIFY(!settings.setText(u"Account"_s, u"demo"_s));
        QCOMPARE(settings.text(u"Account"_s), QString());
        QVERIFY(env->ui.boxes.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
