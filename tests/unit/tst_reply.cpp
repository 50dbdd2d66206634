// Reply parsing: the header each function expects and what it records, the field-name line and
// its token, and the records handed to jobs, channels and the server list.
#include "app/replyrecords.h"
#include "apptestsupport.h"
#include "protocol/replyparser.h"

namespace {
const QString kFields = u"channel,channelid,uid,starttime,endtime,action,title,pg,quality,"
                        u"sequence,priority,protection,nature,format,vps,description,persons"_s;
const QString kJob = u"Alpha TV,101,4711,2006-05-12 20:15:00 +0200,2006-05-12 21:00:00 +0200,"
                     u"rec,Film,0,1,0,2,1,n,f,,desc,who"_s;
} // namespace

class TestReply : public EnvironmentTest
{
    Q_OBJECT
    RecordingScheduler::Log m_scheduled;
    FakeRecorders m_recorders{m_scheduled};
    SyncReplyRecords m_records{&m_recorders}; // jobs scheduled, servers listed, as in a sync
    using Cases = Columns<QString, QString, bool, QString, int>;

    void setUp() override
    {
        m_scheduled = RecordingScheduler::Log();
        writeBytes(env->file(u"dbchannel.dat"_s), "7,Alpha TV\r\n");
    }

private slots:
    void handle_data()
    {
        // The function; the reply, its lines ending in "|" (%F the job fields, %J a job); whether
        // its header is accepted, the details noted, the jobs made.
        Cases::add();
        const QString j = u"getjobs"_s;
        const QString t = u"gettargetsystems"_s;
        const QString notValid = u"Reply string not valid."_s;
        const QString end = u"End of file while seaching for "_s;
        QTest::newRow("jobs") << j << u"0,4711,csv,1|%F|%J|"_s << true << QString() << 1;
        QTest::newRow("no final line end")
            << j << u"0,4711,csv,1|%F|%J"_s << true << end + u"getjobs #1."_s << 0;
        QTest::newRow("serial 0: records still read")
            << j << u"1,0,csv,1|%F|%J|"_s << false << QString() << 1;
        QTest::newRow("a lone CR or LF stays in its record")
            << j << u"0,4711,csv,3|%F|%C|%L|%J|"_s << true << QString() << 3;
        QTest::newRow("a damaged record costs itself only")
            << j << u"0,4711,csv,2|%F|%D|%J|"_s << true << QString() << 1;
        QTest::newRow("blank lines skipped")
            << j << u"|0,2,csv,2||%F|||%J||%K|"_s << true << QString() << 2;
        QTest::newRow("five header fields") << j << u"0,1,csv,1,x|%F|"_s << false << notValid << 0;
        QTest::newRow("four for targets")
            << t << u"0,1,csv,1|target,x|"_s << false << notValid << 0;
        QTest::newRow("empty") << j << QString() << false << end + u"result."_s << 0;
        QTest::newRow("header only")
            << j << u"0,1,csv,1|"_s << true << end + u"data section."_s << 0;
        QTest::newRow("records missing")
            << j << u"0,1,csv,3|%F|%J||"_s << true << end + u"getjobs #2."_s << 1;
        QTest::newRow("jobs token")
            << j << u"0,1,csv,1|Channel,x|%J|"_s << true << u"TokenJobs not found"_s << 0;
        QTest::newRow("guide token") << u"channelguide"_s << u"0,1,csv,0|ISOCODE,name|"_s << true
                                     << u"TokenChannel not found"_s << 0;
        QTest::newRow("targets token")
            << t << u"0,csv,1|Target,x|"_s << true << u"TokenTarget not found"_s << 0;
        QTest::newRow("six characters compared")
            << t << u"0,csv,1|targets,x|q1,One|"_s << true << QString() << 0;
        QTest::newRow("targets without lines")
            << t << u"0,csv,0|target,x|"_s << false << QString() << 0;
        QTest::newRow("one field name")
            << j << u"0,1,csv,1|channel|%J|"_s << true
            << u"Invalid Data Format.Number of fields = 1Data = channel"_s << 0;
        QTest::newRow("serial overflows")
            << j << u"0,99999999999,csv,1|%F|"_s << false << u"Quib Reply Error, Overflow"_s << 0;
    }
    void handle()
    {
        const auto [function, lines, accepted, details, jobs] = Cases::fetch();
        const QString text =
            QString(lines)
                .replace(u"%F"_s, kFields)
                .replace(u"%J"_s, kJob)
                .replace(u"%K"_s, QString(kJob).replace(u"Film"_s, u"Other"_s))
                .replace(u"%C"_s, QString(kJob).replace(u"Film"_s, u"Ca\rt"_s))
                .replace(u"%L"_s, QString(kJob).replace(u"Film"_s, u"Do\ng"_s))
                .replace(u"%D"_s, QString(kJob).replace(u"Alpha TV"_s, u"Alpha\rTV"_s))
                .replace(u'|', u"\r\n"_s);
        ReplyParser reply(&m_records);
        QCOMPARE(reply.parse(text, *kov::functionFromName(function)), accepted);
        QCOMPARE(reply.details(), details.isEmpty() ? details : details + u"\r\n"_s);
        QCOMPARE(m_scheduled.count(u"create"_s), jobs); // each job schedules itself while parsed
        QCOMPARE(readBytes(env->file(u"TempReply.tmp"_s)), (text + u"\r\n"_s).toLatin1());
        const bool headerRead = !text.isEmpty() && !details.startsWith(u"Reply string"_s) &&
                                !details.startsWith(u"Quib Reply"_s);
        QCOMPARE(kov::settings().valueExists(u"Last"_s + function + u"ErrorCode"_s), headerRead);
        QCOMPARE(env->ui.boxes.size(), details.startsWith(u"Quib Reply"_s) ? 1 : 0);
    }
    void serverListReplaced()
    {
        SettingsStore settings = kov::settings();
        settings.setText(u"3Server"_s, u"stale,old"_s);
        ReplyParser reply(&m_records);
        QVERIFY(reply.parse(
            replyDocument({u"0,csv,2"_s, u"target,description"_s, u"q1,O\rne"_s, u"q2,Two"_s}),
            QuibFunction::GetTargetSystems));
        QCOMPARE(QStringList({settings.text(u"1Server"_s), settings.text(u"2Server"_s),
                              settings.text(u"3Server"_s)}),
                 (QStringList{u"q1,O\rne"_s, u"q2,Two"_s, QString()}));
        QVERIFY(settings.valueExists(u"3Server"_s)); // emptied: the list ends there
        QVERIFY(!settings.valueExists(u"LastgettargetsystemsSerial"_s));
        QCOMPARE(settings.number(u"LastgettargetsystemsContentLines"_s), 2);
    }
};

QTEST_GUILESS_MAIN(TestReply)
#include "tst_reply.moc"
