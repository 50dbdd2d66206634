// Part 5.5: the settings catalogue, one table of names, kinds and defaults.
#include "platform/registrystore.h"
#include "settings/ckovreg.h"
#include "settings/qz_reg.h"
#include "settings/settings_catalogue.h"
#include "testsupport.h"

#include <QtTest>

namespace {

qint32 storedType(const QString& name)
{
    return qz_ValueType(kov_SettingsKey(), name, kHKeyLocalMachine);
}
} // namespace

class TestCatalogue : public QObject
{
    Q_OBJECT
private slots:
    void numberDefaultsAreCreated_data();
    void numberDefaultsAreCreated();
    void valueDefaultsAreWrittenBack_data();
    void valueDefaultsAreWrittenBack();
    void accountAndProtocolStayAbsent();
    void tokensWrittenWhenEmpty_data();
    void tokensWrittenWhenEmpty();
    void patterns_data();
    void patterns();
    void callerDefaults();
    void namesAreUnique();
};

void TestCatalogue::numberDefaultsAreCreated_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("expected");
    QTest::newRow("TimeoutSeconds") << "TimeoutSeconds" << 60;
    QTest::newRow("LogReplies") << "LogReplies" << 0;
    QTest::newRow("IgnoreOffset") << "IgnoreOffset" << 1;
    QTest::newRow("UpdateFrequency") << "UpdateFrequency" << 1;
    QTest::newRow("OpenURLRetries") << "OpenURLRetries" << 3;
    QTest::newRow("ValidateHeaders") << "ValidateHeaders" << 1;
    QTest::newRow("NextLogNo") << "NextLogNo" << 1;
    QTest::newRow("HaveServers") << "HaveServers" << 0;
    QTest::newRow("HaveChannelDatabase") << "HaveChannelDatabase" << 0;
    QTest::newRow("LastSerial") << "LastSerial" << 0;
    QTest::newRow("GridFillMethod") << "GridFillMethod" << 0;
}

void TestCatalogue::numberDefaultsAreCreated()
{
    TestEnvironment env;
    QFETCH(QString, name);
    QFETCH(int, expected);
    CKovReg reg = kov_Settings();
    QCOMPARE(kov_ReadNumber(reg, name), expected);
    QCOMPARE(storedType(name), 4);
    QCOMPARE(reg.Lng(name), expected);
}

void TestCatalogue::valueDefaultsAreWrittenBack_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVariant>("expected");
    QTest::addColumn<int>("type");
    QTest::newRow("Target") << "Target" << QVariant(QStringLiteral("localhost")) << 1;
    QTest::newRow("Port") << "Port" << QVariant(80) << 4;
    QTest::newRow("Path") << "Path" << QVariant(QStringLiteral("cgi-bin/WebObjects/Zorvyn.woa/wa/"))
                          << 1;
    QTest::newRow("DocType") << "DocType" << QVariant(QStringLiteral("csv")) << 1;
    QTest::newRow("Product") << "Product" << QVariant(QStringLiteral("Velmora+Lumo")) << 1;
    QTest::newRow("app.EXEName") << "app.EXEName" << QVariant(QStringLiteral("kovferrit")) << 1;
}

void TestCatalogue::valueDefaultsAreWrittenBack()
{
    TestEnvironment env;
    QFETCH(QString, name);
    QFETCH(QVariant, expected);
    QFETCH(int, type);
    CKovReg reg = kov_Settings();
    QCOMPARE(kov_ReadSetting(reg, name), expected);
    QCOMPARE(storedType(name), type);
}

void TestCatalogue::accountAndProtocolStayAbsent()
{
    TestEnvironment env;
    CKovReg reg = kov_Settings();
    QCOMPARE(kov_ReadText(reg, KovSetting::Account), QString());
    QCOMPARE(kov_ReadText(reg, KovSetting::Protocol), QString());
    QCOMPARE(kov_ReadText(reg, KovSetting::NextSync), QString());
    QCOMPARE(storedType(KovSetting::Account), 0);
    QCOMPARE(storedType(KovSetting::Protocol), 0);
    QCOMPARE(storedType(KovSetting::NextSync), 0);
}

void TestCatalogue::tokensWrittenWhenEmpty_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    QTest::newRow("TokenJobs") << "TokenJobs"
                               << "channel";
    QTest::newRow("TokenTarget") << "TokenTarget"
                                 << "target";
    QTest::newRow("TokenChannel") << "TokenChannel"
                                  << "isocode";
}

void TestCatalogue::tokensWrittenWhenEmpty()
{
    TestEnvironment env;
    QFETCH(QString, name);
    QFETCH(QString, expected);
    CKovReg reg = kov_Settings();
    QCOMPARE(kov_ReadText(reg, name), expected);
    QCOMPARE(reg.Str(name), expected);
    reg.setStr(name, QStringLiteral("custom"));
    QCOMPARE(kov_ReadText(reg, name), QStringLiteral("custom"));
}

void TestCatalogue::patterns_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("entry");
    QTest::newRow("server") << "12Server"
                            << "<n>Server";
    QTest::newRow("query time") << "LastgetjobsQueryTime"
                                << "Last<f>QueryTime";
    QTest::newRow("serial of a function") << "LastchannelguideSerial"
                                          << "Last<f>Serial";
    QTest::newRow("LastSerial is its own") << "LastSerial"
                                           << "LastSerial";
    QTest::newRow("data fields") << "NoDataFields_getjobs"
                                 << "NoDataFields_<f>";
    QTest::newRow("column width") << "ChColW3"
                                  << "ChColW<n>";
    QTest::newRow("unknown") << "Whatever"
                             << "";
}

void TestCatalogue::patterns()
{
    QFETCH(QString, name);
    QFETCH(QString, entry);
    const SettingDef* def = kov_FindSetting(name);
    if (entry.isEmpty()) {
        QVERIFY(def == nullptr);
    } else {
        QVERIFY(def);
        QCOMPARE(QString(def->name), entry);
    }
    QCOMPARE(KovSetting::server(2), QStringLiteral("2Server"));
    QCOMPARE(KovSetting::last(QuibFunction::GetJobs, QStringLiteral("ReplyString")),
             QStringLiteral("LastgetjobsReplyString"));
    QCOMPARE(KovSetting::noDataFields(QuibFunction::ChannelGuide),
             QStringLiteral("NoDataFields_channelguide"));
    QCOMPARE(KovSetting::columnWidth(0), QStringLiteral("ChColW0"));
}

void TestCatalogue::callerDefaults()
{
    TestEnvironment env;
    CKovReg reg = kov_Settings();
    QCOMPARE(kov_ReadNumber(reg, KovSetting::columnWidth(1), 1500), 1500);
    QCOMPARE(kov_ReadNumber(reg, KovSetting::columnWidth(1), 99), 1500);
    QCOMPARE(kov_ReadNumber(reg, KovSetting::ChLstLeft, 720), 720);
}

void TestCatalogue::namesAreUnique()
{
    QSet<QString> seen;
    for (const SettingDef& def : kov_SettingsCatalogue()) {
        QVERIFY2(!seen.contains(QString(def.name)), def.name.data());
        seen.insert(QString(def.name));
    }
    QCOMPARE(seen.size(), kov_SettingsCatalogue().size());
}

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
