// Part 1.3: reply parsing.
#include "app/replyrecords.h"
#include "channels/cquibchannelmanager.h"
#include "fakes.h"
#include "jobs/cquibjob.h"
#include "protocol/cquibreply.h"
#include "settings/ckovreg.h"
#include "settings/settings_catalogue.h"
#include "testsupport.h"

#include <QtTest>

namespace {

const char* const kJobFields =
    "channel,channelid,uid,starttime,endtime,action,title,pg,quality,sequence,"
    "priority,protection,nature,format,vps,description,persons";
const char* const kJob =
    "Alpha TV,101,4711,2006-05-12 20:15:00 +0200,2006-05-12 21:00:00 +0200,rec,Film,0,1,0,2,1,"
    "n,f,,desc,who";
// The sync's own records, with the job records kept for the checks.
struct KeptRecords : SyncReplyRecords
{
    QStringList jobs;
    void Record(QuibFunction function, qint32 index, const QString& record) override
    {
        if (function == QuibFunction::GetJobs)
            jobs << record;
        SyncReplyRecords::Record(function, index, record);
    }
};
} // namespace

class TestReply : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void jobsReplyAccepted();
    void withoutFinalLineEnd();
    void serialZeroNotAccepted();
    void targetSystems();
    void tokenCase_data();
    void tokenCase();
    void longTokenNeverMatches();
    void blankLinesSkipped();
    void wrongHeaderCount_data();
    void wrongHeaderCount();
    void endOfFileRows_data();
    void endOfFileRows();
    void otherTokens_data();
    void otherTokens();
    void tooFewFieldNames();
    void channelRecords();
    void raisedFailure();
    void tempReplyKept();

private:
    RecordingScheduler::Log m_scheduled;
    KeptRecords m_records;
    std::unique_ptr<TestEnvironment> m_env;
};

void TestReply::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_scheduled = RecordingScheduler::Log();
    m_records.jobs.clear();
    installRecordingScheduler(m_scheduled);
    writeBytes(m_env->file(QStringLiteral("dbchannel.dat")), "7,Alpha TV\r\n");
}

void TestReply::cleanup()
{
    m_env.reset();
}

void TestReply::jobsReplyAccepted()
{
    CQuibReply reply(&m_records);
    QVERIFY(reply.HandleReplyString(replyDocument(strings({"0,4711,csv,1", kJobFields, kJob})),
                                    QuibFunction::GetJobs));
    QCOMPARE(reply.ErrorCode(), 0);
    QCOMPARE(reply.Serial(), 4711);
    QCOMPARE(reply.DocType(), QStringLiteral("csv"));
    QCOMPARE(reply.ContentLines(), 1);
    QCOMPARE(reply.NoFields(), 17);
    QCOMPARE(m_records.jobs.size(), qsizetype(1));
    QVERIFY(m_records.jobs[0].startsWith(QLatin1String("Alpha TV,")));
    QCOMPARE(m_scheduled.created.size(), 1); // the job scheduled itself while parsed
    CKovReg reg = kov_Settings();
    QCOMPARE(reg.Lng(QStringLiteral("LastgetjobsSerial")), 4711);
    QCOMPARE(reg.Lng(QStringLiteral("LastgetjobsErrorCode")), 0);
    QCOMPARE(reg.Lng(QStringLiteral("LastgetjobsContentLines")), 1);
    QCOMPARE(reg.Str(QStringLiteral("LastgetjobsDocType")), QStringLiteral("csv"));
    QCOMPARE(reg.Lng(QStringLiteral("NoDataFields_getjobs")), 17);
    QCOMPARE(reply.Details(), QString());
}

void TestReply::withoutFinalLineEnd()
{
    CQuibReply reply(&m_records);
    const QString text = strings({"0,4711,csv,1", kJobFields, kJob}).join(QStringLiteral("\r\n"));
    QVERIFY(reply.HandleReplyString(text, QuibFunction::GetJobs));
    QCOMPARE(m_records.jobs.size(), qsizetype(0));
    QCOMPARE(reply.Details(), QStringLiteral("End of file while seaching for getjobs #1.\r\n"));
}

void TestReply::serialZeroNotAccepted()
{
    CQuibReply reply(&m_records);
    QVERIFY(!reply.HandleReplyString(replyDocument(strings({"1,0,csv,0", kJobFields})),
                                     QuibFunction::GetJobs));
    QCOMPARE(m_records.jobs.size(), qsizetype(0));
    CKovReg reg = kov_Settings();
    QVERIFY(reg.ValueExists(QStringLiteral("LastgetjobsSerial")));
    QCOMPARE(reg.Lng(QStringLiteral("LastgetjobsErrorCode")), 1);
    QCOMPARE(reg.Lng(QStringLiteral("NoDataFields_getjobs")), 17); // data section still processed
    // A header that is not accepted still has its data records processed.
    CQuibReply second(&m_records);
    QVERIFY(!second.HandleReplyString(replyDocument(strings({"10,0,csv,1", kJobFields, kJob})),
                                      QuibFunction::GetJobs));
    QCOMPARE(second.ErrorCode(), 10);
    QCOMPARE(m_records.jobs.size(), qsizetype(1));
}

void TestReply::targetSystems()
{
    CKovReg reg = kov_Settings();
    reg.setStr(QStringLiteral("3Server"), QStringLiteral("stale,old"));
    CQuibReply reply(&m_records);
    QVERIFY(reply.HandleReplyString(replyDocument(strings({"0,csv,2", "target,description",
                                                           "q1.example,One", "q2.example,Two"})),
                                    QuibFunction::GetTargetSystems));
    QCOMPARE(reg.Str(QStringLiteral("1Server")), QStringLiteral("q1.example,One"));
    QCOMPARE(reg.Str(QStringLiteral("2Server")), QStringLiteral("q2.example,Two"));
    QVERIFY(reg.ValueExists(QStringLiteral("3Server")));
    QCOMPARE(reg.Str(QStringLiteral("3Server")), QString());
    QVERIFY(!reg.ValueExists(QStringLiteral("LastgettargetsystemsSerial")));
    QCOMPARE(reg.Lng(QStringLiteral("LastgettargetsystemsContentLines")), 2);
    CQuibReply none(&m_records);
    QVERIFY(!none.HandleReplyString(replyDocument(strings({"0,csv,0", "target,description"})),
                                    QuibFunction::GetTargetSystems));
}

void TestReply::tokenCase_data()
{
    QTest::addColumn<int>("validate");
    QTest::addColumn<bool>("parsed");
    QTest::newRow("validated") << 1 << false;
    QTest::newRow("not validated") << 0 << true;
}

void TestReply::tokenCase()
{
    QFETCH(int, validate);
    QFETCH(bool, parsed);
    kov_Settings().setLng(KovSetting::ValidateHeaders, validate);
    CQuibReply reply(&m_records);
    const QString fields = QStringLiteral("Channel") + QString::fromLatin1(kJobFields).mid(7);
    QVERIFY(reply.HandleReplyString(
        replyDocument({QStringLiteral("0,1,csv,1"), fields, QString::fromLatin1(kJob)}),
        QuibFunction::GetJobs));
    QCOMPARE(reply.Details().contains(QLatin1String("TokenJobs not found")), !parsed);
    QCOMPARE(m_records.jobs.size(), qsizetype(parsed ? 1 : 0));
    QCOMPARE(m_env->traced(QStringLiteral("CQuibReply::TokenJobs not found")), !parsed);
}

void TestReply::longTokenNeverMatches()
{
    kov_Settings().setStr(KovSetting::TokenJobs, QStringLiteral("channelid"));
    CQuibReply reply(&m_records);
    reply.HandleReplyString(replyDocument(strings({"0,1,csv,1", "channelid,x", kJob})),
                            QuibFunction::GetJobs);
    QCOMPARE(reply.Details(), QStringLiteral("TokenJobs not found\r\n"));
}

void TestReply::blankLinesSkipped()
{
    CQuibReply reply(&m_records);
    const QString text =
        QStringLiteral("\r\n0,2,csv,2\r\n\r\n") + QString::fromLatin1(kJobFields) +
        QStringLiteral("\r\n\r\n\r\n") + QString::fromLatin1(kJob) + QStringLiteral("\r\n\r\n") +
        QString::fromLatin1(kJob).replace(QLatin1String("Film"), QLatin1String("Other")) +
        QStringLiteral("\r\n");
    QVERIFY(reply.HandleReplyString(text, QuibFunction::GetJobs));
    QCOMPARE(m_records.jobs.size(), qsizetype(2));
    QCOMPARE(m_records.jobs[1].section(QLatin1Char(','), 6, 6), QStringLiteral("Other"));
    QCOMPARE(reply.Details(), QString());
}

void TestReply::wrongHeaderCount_data()
{
    QTest::addColumn<QString>("header");
    QTest::addColumn<QString>("function");
    QTest::newRow("five fields for getjobs") << "0,1,csv,1,extra"
                                             << "getjobs";
    QTest::newRow("four fields for targets") << "0,1,csv,1"
                                             << "gettargetsystems";
}

void TestReply::wrongHeaderCount()
{
    QFETCH(QString, header);
    QFETCH(QString, function);
    CQuibReply reply(&m_records);
    QVERIFY(!reply.HandleReplyString(replyDocument({header, QString::fromLatin1(kJobFields)}),
                                     *kov_FunctionFromName(function)));
    QCOMPARE(reply.Details(), QStringLiteral("Reply string not valid.\r\n"));
    QVERIFY(m_env->tracedPrefix(
        QStringLiteral("CQuibReply::HandleReplyString FAILED parsing header\r\n\r\n")));
    QVERIFY(
        !kov_Settings().ValueExists(QStringLiteral("Last") + function + QStringLiteral("DocType")));
    QVERIFY(!kov_Settings().ValueExists(QStringLiteral("Last") + function +
                                        QStringLiteral("ErrorCode")));
}

void TestReply::endOfFileRows_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("detail");
    QTest::addColumn<bool>("result");
    QTest::newRow("empty") << ""
                           << "End of file while seaching for result." << false;
    QTest::newRow("only blank lines") << "\r\n\r\n"
                                      << "End of file while seaching for result." << false;
    QTest::newRow("header only") << "0,1,csv,1\r\n"
                                 << "End of file while seaching for data section." << true;
    QTest::newRow("missing records")
        << QStringLiteral("0,1,csv,3\r\n%1\r\n%2\r\n\r\n")
               .arg(QString::fromLatin1(kJobFields), QString::fromLatin1(kJob))
        << "End of file while seaching for getjobs #2." << true;
}

void TestReply::endOfFileRows()
{
    QFETCH(QString, text);
    QFETCH(QString, detail);
    QFETCH(bool, result);
    CQuibReply reply(&m_records);
    QCOMPARE(reply.HandleReplyString(text, QuibFunction::GetJobs), result);
    QCOMPARE(reply.Details(), detail + QStringLiteral("\r\n"));
}

void TestReply::otherTokens_data()
{
    QTest::addColumn<QString>("function");
    QTest::addColumn<QString>("header");
    QTest::addColumn<QString>("fields");
    QTest::addColumn<QString>("detail");
    QTest::newRow("channel guide") << "channelguide"
                                   << "0,1,csv,0"
                                   << "ISOCODE,name"
                                   << "TokenChannel not found";
    QTest::newRow("targets") << "gettargetsystems"
                             << "0,csv,1"
                             << "Target,x"
                             << "TokenTarget not found";
    QTest::newRow("targets, six characters compared") << "gettargetsystems"
                                                      << "0,csv,0"
                                                      << "targets,x"
                                                      << "";
}

void TestReply::otherTokens()
{
    QFETCH(QString, function);
    QFETCH(QString, header);
    QFETCH(QString, fields);
    QFETCH(QString, detail);
    CQuibReply reply(&m_records);
    reply.HandleReplyString(replyDocument({header, fields}), *kov_FunctionFromName(function));
    QCOMPARE(reply.Details(), detail.isEmpty() ? QString() : detail + QStringLiteral("\r\n"));
}

void TestReply::tooFewFieldNames()
{
    CQuibReply reply(&m_records);
    QVERIFY(reply.HandleReplyString(replyDocument(strings({"0,1,csv,1", "channelonly", kJob})),
                                    QuibFunction::GetJobs));
    QCOMPARE(reply.NoFields(), 1);
    QCOMPARE(reply.Details(),
             QStringLiteral("Invalid Data Format.Number of fields = 1Data = channelonly\r\n"));
    QVERIFY(!kov_Settings().ValueExists(QStringLiteral("NoDataFields_getjobs")));
}

void TestReply::channelRecords()
{
    CQuibReply reply(&m_records);
    QVERIFY(reply.HandleReplyString(
        replyDocument(
            strings({"0,3,csv,3", "isocode,name,id,country,category,lang",
                     "de,Alpha TV,101,DE,General,de", "de,Short,102", "de,Beta,101,DE,News,de"})),
        QuibFunction::ChannelGuide));
    CQuibChannelManager* manager = GetChannelManager();
    QCOMPARE(manager->ChannelCount(), 1);
    QCOMPARE(manager->QuibChannel(0)->Name(), QStringLiteral("Alpha TV"));
    QVERIFY(m_env->traced(
        QStringLiteral("SyncReplyRecords::Channel format (3)not supported:\r\nde,Short,102")));
    QVERIFY(
        m_env->traced(QStringLiteral("SyncReplyRecords::CreateChannel FAILED"))); // id 101 again
    m_records.Record(QuibFunction::ChannelGuide, 4, QStringLiteral("de,Gamma,103,DE,Culture,de"));
    QCOMPARE(manager->ChannelCount(), 2);
}

void TestReply::raisedFailure()
{
    CQuibReply reply(&m_records);
    QVERIFY(!reply.HandleReplyString(replyDocument(strings({"0,99999999999,csv,1", kJobFields})),
                                     QuibFunction::GetJobs));
    QCOMPARE(reply.Details(), QStringLiteral("Quib Reply Error, Overflow\r\n"));
    QCOMPARE(m_env->ui.boxes.size(), 1);
    QCOMPARE(m_env->ui.boxes[0].text, QStringLiteral("CQuibReply::HandleReplyString Overflow"));
    QCOMPARE(m_env->ui.boxes[0].style, 64);
}

void TestReply::tempReplyKept()
{
    CQuibReply reply(&m_records);
    const QString text = replyDocument(strings({"1,5,csv,0", kJobFields}));
    reply.HandleReplyString(text, QuibFunction::GetJobs);
    QCOMPARE(QString::fromLatin1(readBytes(m_env->file(QStringLiteral("TempReply.tmp")))),
             text + QStringLiteral("\r\n"));
}

QTEST_GUILESS_MAIN(TestReply)
#include "tst_reply.moc"
