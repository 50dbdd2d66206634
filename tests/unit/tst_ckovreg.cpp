// Part 5.2: CKovReg and the registry functions over the SQLite typed store.
#include "platform/registrystore.h"
#include "settings/ckovreg.h"
#include "settings/qz_reg.h"
#include "testsupport.h"

#include <QDir>
#include <QtTest>

namespace {

qint32 storedType(const QString& name)
{
    return qz_ValueType(kov_SettingsKey(), name, kHKeyLocalMachine);
}

QByteArray storedBytes(const QString& name)
{
    QByteArray data;
    RegistryStore::instance().queryValue(kHKeyLocalMachine, kov_SettingsKey(), name, nullptr,
                                         &data);
    return data;
}
} // namespace

class TestCKovReg : public QObject
{
    Q_OBJECT
private slots:
    void lngDCreatesDefault();
    void lngCreatesZero();
    void strReadCreatesNothing();
    void numberReadOfText_data();
    void numberReadOfText();
    void valueReadMissing_data();
    void valueReadMissing();
    void valueWriteEmptyText();
    void valueWriteConversion_data();
    void valueWriteConversion();
    void valueWriteMissingKinds();
    void enumValuePastEnd();
    void enumValueCreationOrder();
    void longTextStoredWholeAndReported();
    void textOutsideCodePage();
    void storedForms();
    void namesIgnoreCase();
    void noCacheBetweenObjects();
    void argumentChecks_data();
    void argumentChecks();
    void subKeySetterRefusesEmpty();
    void deleteValueReports();
    void hKeyRules();
    void exportWritesRegedit4();
    void keysAndCopy();
    void storeThatCannotBeOpened();
};

void TestCKovReg::lngDCreatesDefault()
{
    TestEnvironment env;
    CKovReg reg = kov_Settings();
    QCOMPARE(reg.LngD(QStringLiteral("X"), 12), 12);
    QCOMPARE(storedType(QStringLiteral("X")), 4);
    QCOMPARE(reg.Lng(QStringLiteral("X")), 12);
    QCOMPARE(reg.LngD(QStringLiteral("X"), 99), 12);
}

void TestCKovReg::lngCreatesZero()
{
    TestEnvironment env;
    CKovReg reg = kov_Settings();
    QCOMPARE(reg.Lng(QStringLiteral("X")), 0);
    QCOMPARE(storedType(QStringLiteral("X")), 4);
    QCOMPARE(storedBytes(QStringLiteral("X")), QByteArray(4, '\0'));
}

void TestCKovReg::strReadCreatesNothing()
{
    TestEnvironment env;
    CKovReg reg = kov_Settings();
    QCOMPARE(reg.Str(QStringLiteral("X")), QString());
    QCOMPARE(storedType(QStringLiteral("X")), 0);
    QVERIFY(!reg.ValueExists(QStringLiteral("X")));
    QVERIFY(env.ui.boxes.isEmpty());
}

void TestCKovReg::numberReadOfText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");
    QTest::addColumn<bool>("overwritten");
    QTest::newRow("text 1 reads its bytes") << "1" << 49 << false;
    QTest::newRow("empty text reads 0") << "" << 0 << false;
    QTest::newRow("three characters fit") << "abc" << 0x00636261 << false;
    QTest::newRow("four characters overwritten") << "abcd" << 7 << true;
}

void TestCKovReg::numberReadOfText()
{
    TestEnvironment env;
    QFETCH(QString, text);
    QFETCH(int, expected);
    QFETCH(bool, overwritten);
    CKovReg reg = kov_Settings();
    reg.setStr(QStringLiteral("N"), text);
    QCOMPARE(reg.LngD(QStringLiteral("N"), 7), expected);
    QCOMPARE(storedType(QStringLiteral("N")), overwritten ? 4 : 1);
}

void TestCKovReg::valueReadMissing_data()
{
    QTest::addColumn<QVariant>("missing");
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("text") << QVariant(QStringLiteral("abc")) << 1 << QByteArray("abc\0", 4);
    QTest::newRow("number") << QVariant(5) << 4 << QByteArray("\x05\0\0\0", 4);
    QTest::newRow("boolean true is -1") << QVariant(true) << 4 << QByteArray("\xFF\xFF\xFF\xFF", 4);
    QTest::newRow("double as text") << QVariant(2.5) << 1 << QByteArray("2.5\0", 4);
    QTest::newRow("absent stores empty text") << QVariant() << 1 << QByteArray();
    QTest::newRow("single precision not stored") << QVariant(1.5f) << 0 << QByteArray();
}

void TestCKovReg::valueReadMissing()
{
    TestEnvironment env;
    QFETCH(QVariant, missing);
    QFETCH(int, type);
    QFETCH(QByteArray, bytes);
    CKovReg reg = kov_Settings();
    QCOMPARE(reg.value(QStringLiteral("X"), missing), missing);
    QCOMPARE(storedType(QStringLiteral("X")), type);
    QCOMPARE(storedBytes(QStringLiteral("X")), bytes);
}

void TestCKovReg::valueWriteEmptyText()
{
    TestEnvironment env;
    CKovReg reg = kov_Settings();
    reg.setLng(QStringLiteral("Num"), 3);
    reg.setStr(QStringLiteral("Txt"), QStringLiteral("abc"));
    reg.setValue(QStringLiteral("Num"), QString());
    reg.setValue(QStringLiteral("Txt"), QString());
    QCOMPARE(storedType(QStringLiteral("Num")), 0);
    QCOMPARE(storedType(QStringLiteral("Txt")), 1);
    QCOMPARE(storedBytes(QStringLiteral("Txt")), QByteArray());
    // A stored empty text reads as the default given, else empty text.
    QCOMPARE(reg.value(QStringLiteral("Txt"), QStringLiteral("d")).toString(), QStringLiteral("d"));
    QCOMPARE(reg.value(QStringLiteral("Txt")).toString(), QString());
}

void TestCKovReg::valueWriteConversion_data()
{
    QTest::addColumn<QVariant>("nv");
    QTest::addColumn<int>("stored");
    QTest::addColumn<QString>("box");
    QTest::newRow("text number") << QVariant(QStringLiteral("42")) << 42 << QString();
    QTest::newRow("half to even") << QVariant(QStringLiteral("2.5")) << 2 << QString();
    QTest::newRow("3.5 up") << QVariant(3.5) << 4 << QString();
    QTest::newRow("not a number") << QVariant(QStringLiteral("abc")) << 9
                                  << QStringLiteral(
                                         "CKovreg Property Let Value (Num) - Type mismatch");
    QTest::newRow("overflow") << QVariant(QStringLiteral("1e12")) << 9
                              << QStringLiteral("CKovreg Property Let Value (Num) - Overflow");
}

void TestCKovReg::valueWriteConversion()
{
    TestEnvironment env;
    QFETCH(QVariant, nv);
    QFETCH(int, stored);
    QFETCH(QString, box);
    CKovReg reg = kov_Settings();
    reg.setLng(QStringLiteral("Num"), 9);
    reg.setValue(QStringLiteral("Num"), nv);
    QCOMPARE(reg.Lng(QStringLiteral("Num")), stored);
    if (box.isEmpty()) {
        QVERIFY(env.ui.boxes.isEmpty());
    } else {
        QCOMPARE(env.ui.boxes.size(), 1);
        QCOMPARE(env.ui.boxes[0].text, box);
    }
}

void TestCKovReg::valueWriteMissingKinds()
{
    TestEnvironment env;
    CKovReg reg = kov_Settings();
    reg.setValue(QStringLiteral("A"), 5);
    reg.setValue(QStringLiteral("B"), QStringLiteral("t"));
    reg.setValue(QStringLiteral("C"), 2.5); // other kinds are not stored
    QCOMPARE(storedType(QStringLiteral("A")), 4);
    QCOMPARE(storedType(QStringLiteral("B")), 1);
    QCOMPARE(storedType(QStringLiteral("C")), 0);
    // A stored text takes any kind in its text form.
    reg.setValue(QStringLiteral("B"), 7);
    QCOMPARE(reg.Str(QStringLiteral("B")), QStringLiteral("7"));
}

void TestCKovReg::enumValuePastEnd()
{
    TestEnvironment env;
    CKovReg reg = kov_Settings();
    reg.setStr(QStringLiteral("A"), QStringLiteral("1"));
    reg.setLng(QStringLiteral("B"), 2);
    QCOMPARE(reg.EnumValue(2, QString(), kHKeyLocalMachine), QString());
    QVERIFY(env.tracedPrefix(
        QStringLiteral("CKovReg::EnumValue RegEnumValue FAILED. Index = 2 RetVal = 259")));
    QVERIFY(env.ui.boxes.isEmpty());
}

void TestCKovReg::enumValueCreationOrder()
{
    TestEnvironment env;
    CKovReg reg = kov_Settings();
    reg.setStr(QStringLiteral("Zeta"), QStringLiteral("z"));
    reg.setLng(QStringLiteral("Alpha"), 1);
    reg.setStr(QStringLiteral("Mid"), QStringLiteral("m"));
    reg.setStr(QStringLiteral("Zeta"), QStringLiteral("again")); // rewriting keeps its place
    QStringList names;
    for (qint32 i = 0;; ++i) {
        const QString name = reg.EnumValue(i, QString(), kHKeyLocalMachine);
        if (name.isEmpty())
            break;
        names << name;
    }
    QCOMPARE(names,
             (QStringList{QStringLiteral("Zeta"), QStringLiteral("Alpha"), QStringLiteral("Mid")}));
    QCOMPARE(reg.EnumValue(0, QStringLiteral("Software\\Nothing"), kHKeyLocalMachine), QString());
    QVERIFY(env.tracedPrefix(
        QStringLiteral("CKovReg::EnumValue RegOpenKeyEx (Software\\Nothing) FAILED : 2")));
}

void TestCKovReg::longTextStoredWholeAndReported()
{
    TestEnvironment env;
    CKovReg reg = kov_Settings();
    const QString text(1500, QLatin1Char('x'));
    QVERIFY(reg.setStr(QStringLiteral("Long"), text));
    QCOMPARE(reg.Str(QStringLiteral("Long")), text);
    QVERIFY(env.traced(QStringLiteral("RegString size=3000")));
    QVERIFY(reg.LastError());
}

void TestCKovReg::textOutsideCodePage()
{
    TestEnvironment env;
    CKovReg reg = kov_Settings();
    reg.setStr(QStringLiteral("T"), QStringLiteral("a") + QChar(0x4E2D) + QChar(0xE4));
    QCOMPARE(reg.Str(QStringLiteral("T")), QStringLiteral("a?") + QChar(0xE4));
    QCOMPARE(storedBytes(QStringLiteral("T")), QByteArray("a?\xE4\0", 4));
}

void TestCKovReg::storedForms()
{
    TestEnvironment env;
    CKovReg reg = kov_Settings();
    reg.setStr(QStringLiteral("T"), QStringLiteral("hi"));
    reg.setStr(QStringLiteral("E"), QString());
    reg.setLng(QStringLiteral("N"), -2);
    QCOMPARE(storedBytes(QStringLiteral("T")), QByteArray("hi\0", 3));
    QCOMPARE(storedBytes(QStringLiteral("E")), QByteArray());
    QCOMPARE(storedBytes(QStringLiteral("N")), QByteArray("\xFE\xFF\xFF\xFF", 4));
    QCOMPARE(reg.value(QStringLiteral("N")).toInt(), -2);
    QCOMPARE(reg.value(QStringLiteral("T")).toString(), QStringLiteral("hi"));
    QCOMPARE(kov_RegStringSize(kov_SettingsKey(), QStringLiteral("T"), kHKeyLocalMachine), 2);
    QCOMPARE(kov_RegStringSize(kov_SettingsKey(), QStringLiteral("Gone"), kHKeyLocalMachine), -1);
}

void TestCKovReg::namesIgnoreCase()
{
    TestEnvironment env;
    CKovReg reg = kov_Settings();
    reg.setStr(QStringLiteral("Account"), QStringLiteral("demo"));
    QCOMPARE(reg.Str(QStringLiteral("ACCOUNT")), QStringLiteral("demo"));
    CKovReg other;
    other.SetInfo(QStringLiteral("software\\VELMORA\\scheduler\\kovferrit"));
    QCOMPARE(other.Str(QStringLiteral("account")), QStringLiteral("demo"));
}

void TestCKovReg::noCacheBetweenObjects()
{
    TestEnvironment env;
    CKovReg a = kov_Settings();
    CKovReg b = kov_Settings();
    a.setLng(QStringLiteral("Shared"), 1);
    QCOMPARE(b.Lng(QStringLiteral("Shared")), 1);
    b.setLng(QStringLiteral("Shared"), 2);
    QCOMPARE(a.Lng(QStringLiteral("Shared")), 2);
}

void TestCKovReg::argumentChecks_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("box");
    const QString hklm = QStringLiteral("-2147483646");
    QTest::newRow("Str read, no name")
        << "StrRead" << QStringLiteral("CKovReg no value specified: K : ") + hklm << true;
    QTest::newRow("Str write, no name")
        << "StrWrite"
        << QStringLiteral("CKovReg no value specified: K : ") + hklm + QStringLiteral(" : new")
        << true;
    QTest::newRow("Lng read, no name: trace only")
        << "LngRead" << QStringLiteral("CKovReg no value specified: K : ") + hklm << false;
    QTest::newRow("Lng read, no key: trace only")
        << "LngReadNoKey"
        << QStringLiteral("CKovReg no SubKey specified,  ValueName : V : ") + hklm +
               QStringLiteral(" : ")
        << false;
    QTest::newRow("LngD read, no key")
        << "LngDReadNoKey"
        << QStringLiteral("CKovReg no SubKey specified,  ValueName : V : ") + hklm +
               QStringLiteral(" : ")
        << true;
    QTest::newRow("Lng write, no key")
        << "LngWriteNoKey"
        << QStringLiteral("CKovReg no SubKey specified,  ValueName : V : ") + hklm +
               QStringLiteral(" : 5")
        << true;
    QTest::newRow("Lng read, bad root")
        << "LngBadRoot"
        << "CKovReg Invalid hKey specified,  ValueName : V  hKey : 5 : " << true;
}

void TestCKovReg::argumentChecks()
{
    TestEnvironment env;
    QFETCH(QString, operation);
    QFETCH(QString, message);
    QFETCH(bool, box);
    CKovReg withKey;
    withKey.SetInfo(QStringLiteral("K"));
    CKovReg noKey;
    if (operation == QLatin1String("StrRead"))
        QCOMPARE(withKey.Str(QString()), QString());
    else if (operation == QLatin1String("StrWrite"))
        QVERIFY(!withKey.setStr(QString(), QStringLiteral("new")));
    else if (operation == QLatin1String("LngRead"))
        QCOMPARE(withKey.Lng(QString()), 0);
    else if (operation == QLatin1String("LngReadNoKey"))
        QCOMPARE(noKey.Lng(QStringLiteral("V")), 0);
    else if (operation == QLatin1String("LngDReadNoKey"))
        QCOMPARE(noKey.LngD(QStringLiteral("V"), 4), 0);
    else if (operation == QLatin1String("LngWriteNoKey"))
        QVERIFY(!noKey.setLng(QStringLiteral("V"), 5));
    else if (operation == QLatin1String("LngBadRoot"))
        QCOMPARE(withKey.Lng(QStringLiteral("V"), QString(), 5), 0);
    QVERIFY2(env.traced(message), qPrintable(env.trace.join(QLatin1Char('|'))));
    QCOMPARE(env.ui.boxes.size(), box ? 1 : 0);
    if (box) {
        QCOMPARE(env.ui.boxes[0].text, message);
        QCOMPARE(env.ui.boxes[0].style, 64);
        QCOMPARE(env.ui.boxes[0].caption, QStringLiteral("KovFerrit"));
    }
    QCOMPARE(qz_ValueType(QStringLiteral("K"), QStringLiteral("V"), kHKeyLocalMachine), 0);
}

void TestCKovReg::subKeySetterRefusesEmpty()
{
    TestEnvironment env;
    CKovReg reg = kov_Settings();
    reg.setSubKey(QString());
    QCOMPARE(reg.SubKey(), kov_SettingsKey());
    QCOMPARE(env.ui.boxes.size(), 1);
    QCOMPARE(env.ui.boxes[0].text, QStringLiteral("CKovRegNo SubKey specified"));
}

void TestCKovReg::deleteValueReports()
{
    TestEnvironment env;
    CKovReg reg = kov_Settings();
    QVERIFY(!reg.DeleteValue(QString()));
    QVERIFY(env.ui.boxes.isEmpty());
    QVERIFY(!reg.DeleteValue(QStringLiteral("Missing")));
    QCOMPARE(env.ui.boxes.size(), 1);
    QCOMPARE(env.ui.boxes[0].text,
             QStringLiteral("CKovReg::RegOpenKeyEx(%1) FAILED : 2").arg(kov_SettingsKey()));
    reg.setLng(QStringLiteral("Present"), 1);
    QVERIFY(!reg.DeleteValue(QStringLiteral("Missing")));
    QCOMPARE(env.ui.boxes.last().text,
             QStringLiteral("CKovReg::RegDeleteValue(Missing) FAILED : 2"));
    QVERIFY(reg.DeleteValue(QStringLiteral("Present")));
    QVERIFY(!reg.ValueExists(QStringLiteral("Present")));
}

void TestCKovReg::hKeyRules()
{
    CKovReg reg;
    QCOMPARE(reg.hKey(), kHKeyLocalMachine);
    reg.setHKey(12);
    QCOMPARE(reg.hKey(), kHKeyLocalMachine);
    reg.setHKey(static_cast<qint32>(0x80000001u));
    QCOMPARE(reg.hKey(), static_cast<qint32>(0x80000001u));
    QCOMPARE(CKovReg::rootName(kHKeyLocalMachine), QStringLiteral("HKEY_LOCAL_MACHINE"));
    QVERIFY(!CKovReg::isValidRoot(static_cast<qint32>(0x80000007u)));
}

void TestCKovReg::exportWritesRegedit4()
{
    TestEnvironment env;
    CKovReg reg = kov_Settings();
    reg.setStr(QStringLiteral("Account"), QStringLiteral("de\"mo"));
    reg.setLng(QStringLiteral("HaveServers"), 1);
    const QString file = env.file(QStringLiteral("export.reg"));
    QVERIFY(reg.Export(file));
    QCOMPARE(readBytes(file),
             QByteArray(
                 "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Velmora\\Scheduler\\KovFerrit]\r\n"
                 "\"Account\"=\"de\\\"mo\"\r\n\"HaveServers\"=dword:00000001\r\n\r\n"));
    const QString copy = env.file(QStringLiteral("copy.reg"));
    QVERIFY(reg.Export(copy));
    QVERIFY(reg.FileCompare(file, copy));
    reg.setLng(QStringLiteral("HaveServers"), 2);
    QVERIFY(reg.Export(copy));
    QVERIFY(!reg.FileCompare(file, copy));
}

void TestCKovReg::keysAndCopy()
{
    TestEnvironment env;
    CKovReg reg = kov_Settings();
    reg.setStr(QStringLiteral("A"), QStringLiteral("1"));
    QVERIFY(reg.KeyExists(QString()));
    QVERIFY(reg.KeyExists(QStringLiteral("Software\\Velmora")));
    QCOMPARE(reg.EnumKey(0, QStringLiteral("Software\\Velmora"), 0, false),
             QStringLiteral("Scheduler"));
    QCOMPARE(reg.EnumKey(0, QStringLiteral("Software\\Velmora"), 0, true),
             QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\Velmora\\Scheduler"));
    QVERIFY(reg.CopyKey(kov_SettingsKey(), QStringLiteral("Software\\Copy"), 0, 0));
    QCOMPARE(reg.Str(QStringLiteral("A"), QStringLiteral("Software\\Copy")), QStringLiteral("1"));
    QCOMPARE(reg.GetType(QString(), QStringLiteral("A")), 1);
    QVERIFY(reg.DeleteKey(QStringLiteral("Software\\Copy")));
    QVERIFY(!reg.KeyExists(QStringLiteral("Software\\Copy")));
    QVERIFY(!reg.DeleteKey(QStringLiteral("Software\\Velmora"))); // it has subkeys
}

void TestCKovReg::storeThatCannotBeOpened()
{
    // Like a user who may not write below HKEY_LOCAL_MACHINE: no message, nothing kept,
    // every read gives its default.
    TestEnvironment env;
    QDir(env.folder()).mkdir(QStringLiteral("settings.db"));
    CKovReg reg = kov_Settings();
    QCOMPARE(reg.LngD(QStringLiteral("TimeoutSeconds"), 60), 60);
    QCOMPARE(reg.Str(QStringLiteral("Account")), QString());
    QVERIFY(!reg.setStr(QStringLiteral("Account"), QStringLiteral("demo")));
    QVERIFY(!reg.LastError());
    QCOMPARE(reg.Str(QStringLiteral("Account")), QString());
    QVERIFY(env.ui.boxes.isEmpty());
    QVERIFY(env.traced(QStringLiteral("RegOpenKeyEx FAILED : 1009"))); // ERROR_BADDB
}

QTEST_GUILESS_MAIN(TestCKovReg)
#include "tst_ckovreg.moc"
