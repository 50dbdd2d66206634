// A job: the record read from a job string (columns, times and their offset) and the step that
// schedules it into the recorder (rec, delete, repetition, unknown channels, recorder failures).
#include "app/syncrunscope.h"
#include "apptestsupport.h"
#include "jobs/recordingjob.h"
#include "platform/sqlconnection.h"
#include "platform/sqluse.h"
#include "recorders/recorderfactory.h"

#include <QDir>

namespace {
/// A 17-column job string with some columns replaced.
QString jobString(const QMap<int, QString>& columns = {})
{
    QStringList fields = u"Alpha TV,101,4711,2006-05-12 20:15:00 +0200,2006-05-12 23:00:00 +0200,"
                         u"rec,Film,6,2,0,3,1,n,f,,desc,who"_s.split(u',');
    for (auto it = columns.begin(); it != columns.end(); ++it)
        fields[it.key()] = it.value();
    return fields.join(u',');
}
} // namespace

class TestJob : public EnvironmentTest
{
    Q_OBJECT
    RecordingScheduler::Log m_log;
    std::optional<FakeRecorders> m_fake;
    ConfiguredRecorders m_configured;
    RecorderSource* m_recorders = nullptr; // what scheduled jobs go to

    void setUp() override
    {
        m_log = RecordingScheduler::Log();
        m_recorders = &m_fake.emplace(m_log);
        writeBytes(env->file(u"dbchannel.dat"_s), "7,Alpha TV\r\n9,Beta\r\n");
        kov::settings().setNumber(u"NoDataFields_getjobs"_s, 17);
    }
    bool read(const QString& line, bool schedule, RecordingJob* job = nullptr)
    {
        SettingsStore settings = kov::settings();
        RecordingJob local;
        RecordingJob& read = job ? *job : local;
        if (!read.readJob(line, &settings))
            return false;
        if (schedule)
            read.schedule(*m_recorders);
        return true;
    }

private slots:
    void columns_data()
    {
        // The column replaced (1 channelId, 3 startTime, 11 Protection), its text, IgnoreOffset,
        // the value read, and the trace it leaves.
        Columns<int, QString, int, QString, QString>::add();
        const QString t = u"2006-05-12 20:15:00 +0200"_s;
        const QString zero = u"1899-12-30 00:00"_s;
        QTest::newRow("offset ignored") << 3 << t << 1 << u"2006-05-12 20:15"_s << QString();
        QTest::newRow("offset added") << 3 << t << 0 << u"2006-05-12 22:15"_s << QString();
        QTest::newRow("sign not read")
            << 3 << u"2006-05-12 20:15:00 -0130"_s << 0 << u"2006-05-12 21:45"_s << QString();
        QTest::newRow("shorter than five")
            << 3 << u"+020"_s << 0 << zero << u"ERROR Invalid procedure call or argument"_s;
        QTest::newRow("not a date")
            << 3 << u"someday +0200"_s << 0 << zero << u"ERROR Type mismatch"_s;
        QTest::newRow("no time") << 3 << QString() << 0 << zero << u"Param is missing"_s;
        QTest::newRow("half to even") << 1 << u" -2.5"_s << 1 << u"-2"_s << QString();
        QTest::newRow("protection 0") << 11 << u"0"_s << 1 << u"0"_s << QString();
        QTest::newRow("protection empty") << 11 << QString() << 1 << u"1"_s << QString();
    }
    void columns()
    {
        const auto [column, text, ignoreOffset, expected, trace] =
            Columns<int, QString, int, QString, QString>::fetch();
        kov::setNumber(testSettings(), Setting::IgnoreOffset, ignoreOffset);
        RecordingJob job;
        QVERIFY(read(jobString({{column, text}}), false, &job));
        QCOMPARE(column == 1   ? QString::number(job.channelId())
                 : column == 3 ? job.startTime().toString(u"yyyy-MM-dd HH:mm"_s)
                               : QString::number(job.protection()),
                 expected);
        QCOMPARE(env->traced(u"CQuibJob::HandleTime "_s + trace), !trace.isEmpty());
    }
    void refusals()
    {
        kov::settings().setNumber(u"NoDataFields_getjobs"_s, 16);
        QVERIFY(!read(jobString(), true));
        QVERIFY(env->traced(u"CQuibJob::Job format (17)not supported:\r\n"_s + jobString()));
        kov::settings().deleteValue(u"NoDataFields_getjobs"_s); // reads 0: every job refused
        QVERIFY(!read(jobString(), true));
        kov::settings().setNumber(u"NoDataFields_getjobs"_s, 17);
        QVERIFY(!read(jobString({{0, QString()}}), true)); // no channel name
        QVERIFY_THROWS_EXCEPTION(std::exception, read(jobString({{2, u"1e12"_s}}), true));
        QVERIFY(m_log.calls.isEmpty());
        QVERIFY(env->ui.boxes.isEmpty());
    }
    void createsWithElevenArguments()
    {
        const auto backToC = qScopeGuard([] { QLocale::setDefault(QLocale::c()); });
        QLocale::setDefault(QLocale(u"en_US"_s));
        kov::setNumber(testSettings(), Setting::LogReplies, 1);
        QVERIFY(read(jobString(), true));
        const QString name = u"Film_2006-05-12_20_15_00"_s; // the same under every locale
        QCOMPARE(m_log.calls, (QStringList{u"exists "_s + name, u"exists Film_5_12_2006_20_15_00"_s,
                                           u"create %1|2006-05-12T20:15:00|2006-05-12T23:00:00|"
                                           u"7|%1|fs:4711|0|"_s.arg(name)}));
        QCOMPARE(readBytes(env->file(u"ReplyLog.txt"_s)), "Scheduler rec " + name.toLatin1() +
                                                              "\r\nScheduler Return Value: 0\r\n" +
                                                              QByteArray(65, '-') + "\r\n");
        QLocale::setDefault(QLocale(u"de_DE"_s)); // a start at midnight keeps its time
        QVERIFY(read(jobString({{3, u"2006-05-13 00:00:00 +0200"_s}}), true));
        QCOMPARE(m_log.calls.last().section(u'|', 0, 0), u"create Film_2006-05-13_00_00_00"_s);
    }
    void unchangedJobCommitsNothing()
    {
        // Both stores watched through connections of their own: a recording found there already
        // and a deletion that finds none commit nothing, neither to the recorder nor to settings.
        m_recorders = &m_configured;
        QVERIFY(read(jobString(), true));
        SqlConnection settings("watch");
        SqlConnection recorder("watch");
        QVERIFY(settings.open(env->file(u"settings.db"_s), true));
        QVERIFY(recorder.open(env->file(u"KOVSched.db"_s), true));
        auto versions = [&] {
            SqlUse a = settings.run("PRAGMA data_version");
            SqlUse b = recorder.run("PRAGMA data_version");
            return a.next() && b.next() ? a.value(0).toString() + u' ' + b.value(0).toString()
                                        : QString();
        };
        const QString before = versions();
        QVERIFY(read(jobString(), true));
        QVERIFY(read(jobString({{5, u"delete"_s}, {6, u"Other"_s}}), true));
        QCOMPARE(versions(), before);
        QVERIFY(read(jobString({{5, u"delete"_s}}), true));
        QVERIFY(versions() != before);
    }
    void schedule_data()
    {
        // The job's channel, action and sequence; the recorder ("exists", "regional": holds the
        // recording under the name with the regional date, "refuses", "raises", "missing";
        // a configured store failing: "folder" or "junk" in its place); the calls made ("create"
        // with channel and recurrence; existence and deletion ask for the name and then for the
        // regional one); how the box shown begins (%1 the program folder); whether an error file
        // was written.
        Columns<QString, QString, QString, QString, bool>::add();
        const QString made = u"exists, exists, create 7 0"_s;
        QTest::newRow("rec") << u"Alpha TV|rec|0"_s << QString() << made << QString() << false;
        QTest::newRow("rec, there already")
            << u"Alpha TV|rec|0"_s << u"exists"_s << u"exists"_s << QString() << false;
        QTest::newRow("rec, there under the regional name")
            << u"Alpha TV|rec|0"_s << u"regional"_s << u"exists, exists"_s << QString() << false;
        QTest::newRow("delete") << u"Alpha TV|delete|0"_s << QString() << u"delete, delete"_s
                                << QString() << false;
        QTest::newRow("every day") << u"Alpha TV|rec|127"_s << QString()
                                   << u"exists, exists, create 7 1"_s << QString() << false;
        QTest::newRow("other sequence")
            << u"Alpha TV|rec|126"_s << QString() << made << QString() << true;
        QTest::newRow("unknown channel answered")
            << u"Gamma 1|rec|0"_s << QString() << u"exists, exists, create 12 0"_s << QString()
            << false;
        QTest::newRow("unknown channel cancelled")
            << u"Gamma 2|rec|0"_s << QString() << QString() << QString() << false;
        QTest::newRow("unsupported action")
            << u"Alpha TV|Rec|0"_s << QString() << QString()
            << u"CQuibJob::Action Not Supported (Rec) or corrupt data from Server.\r\n"_s << true;
        QTest::newRow("recorder refuses") << u"Alpha TV|rec|0"_s << u"refuses"_s << made
                                          << u"ERROR CreateProgram FAILED: 2"_s << false;
        QTest::newRow("recorder raises")
            << u"Alpha TV|rec|0"_s << u"raises"_s << u"exists, create 7 0"_s << QString() << false;
        const QString missing = u"KOVSched.ocx is required for this application.\r\n"_s;
        QTest::newRow("recorder missing")
            << u"Alpha TV|rec|0"_s << u"missing"_s << QString()
            << missing + u"The recorder could not be started."_s << false;
        const QString store = missing + u"The recording store %1/KOVSched.db cannot be opened: "_s;
        QTest::newRow("store is a folder") << u"Alpha TV|rec|0"_s << u"folder"_s << QString()
                                           << store + u"a folder is in its place."_s << false;
        QTest::newRow("store is no database")
            << u"Alpha TV|rec|0"_s << u"junk"_s << QString()
            << store + u"the file is not a recording store."_s << false;
    }
    void schedule()
    {
        const auto [job, recorder, calls, box, errorFile] =
            Columns<QString, QString, QString, QString, bool>::fetch();
        const QStringList parts = job.split(u'|');
        const QString line = jobString({{0, parts[0]}, {5, parts[1]}, {9, parts[2]}});
        const auto backToC = qScopeGuard([] { QLocale::setDefault(QLocale::c()); });
        QLocale::setDefault(QLocale(u"en_US"_s)); // the regional name follows the locale
        const QString name = u"Film_2006-05-12_20_15_00"_s;
        const QString regional = u"Film_5_12_2006_20_15_00"_s;
        if (recorder == u"exists"_s || recorder == u"regional"_s)
            m_log.existing << (recorder == u"exists"_s ? name : regional);
        m_log.createResult = recorder == u"refuses"_s ? 2 : 0;
        m_log.raises = recorder == u"raises"_s;
        m_recorders = &m_fake.emplace(m_log, recorder == u"missing"_s);
        if (recorder == u"folder"_s || recorder == u"junk"_s) {
            m_recorders = &m_configured;
            if (recorder == u"junk"_s)
                writeBytes(env->file(u"KOVSched.db"_s), QByteArray(99, 'x'));
            QVERIFY(recorder != u"folder"_s || QDir(env->folder()).mkdir(u"KOVSched.db"_s));
        }
        env->ui.channelAnswers = {parts[0] == u"Gamma 1"_s ? 12 : 0};
        QVERIFY(read(line, true)); // the job itself is accepted
        QStringList made;
        for (const QString& call : m_log.calls) {
            const QStringList args = call.section(u' ', 1).split(u'|');
            const bool create = call.startsWith(u"create"_s);
            const QString verb = call.section(u' ', 0, 0);
            QCOMPARE(args[0], made.contains(verb) ? regional : name);
            made << (create ? u"create "_s + args[3] + u' ' + args[6] : verb);
        }
        QCOMPARE(made.join(u", "_s), calls);
        QCOMPARE(env->ui.boxes.size(), box.isEmpty() ? 0 : 1);
        QVERIFY(env->ui.boxes.value(0).startsWith(QString(box).replace(u"%1"_s, env->folder())));
        const QStringList errors = QDir(env->folder()).entryList({u"ERROR_*.txt"_s});
        QCOMPARE(errors.size(), errorFile ? 1 : 0);
        if (errorFile)
            QVERIFY(readBytes(env->file(errors[0])).contains("\r\n" + line.toLatin1() + "\r\n"));
    }
    void failedRecorderReportedOncePerRun_data()
    {
        Columns<QString, QString>::add(); // the recorder, why it failed (%1: the program folder)
        QTest::newRow("store cannot be written")
            << u"local"_s << u"The recording store %1/KOVSched.db cannot be written: "_s;
        QTest::newRow("VDR not listening")
            << u"vdr"_s
            << u"VDR at localhost, port 1, cannot be used: the connection was refused"_s;
    }
    void failedRecorderReportedOncePerRun()
    {
        const auto [recorder, reason] = Columns<QString, QString>::fetch();
        kov::setText(testSettings(), Setting::Recorder, recorder);
        kov::setNumber(testSettings(), Setting::VdrPort, 1); // tcpmux: nobody listens there
        SqlConnection store("wrong");
        QVERIFY(store.open(env->file(u"KOVSched.db"_s), false));
        QVERIFY(store.exec(u"CREATE TABLE programs (id INTEGER PRIMARY KEY)"_s));
        SyncRunScope run;
        m_recorders = &run.recorders();
        for (const QString& title : {u"One"_s, u"Two"_s, u"Three"_s})
            QVERIFY(read(jobString({{6, title}}), true));
        QCOMPARE(env->ui.boxes, QStringList()); // nothing per job
        QVERIFY(!run.reportRecorder());
        QCOMPARE(env->ui.boxes.size(), 1);
        const QStringList lines = env->ui.boxes[0].split(u"\r\n"_s);
        QCOMPARE(lines.value(0), u"KOVSched.ocx is required for this application."_s);
        QVERIFY2(lines.value(1).startsWith(QString(reason).replace(u"%1"_s, env->folder())),
                 qPrintable(lines.value(1)));
        QCOMPARE(lines.value(2), u"Jobs left unscheduled in this run: 3"_s);
    }
};

QTEST_GUILESS_MAIN(TestJob)
#include "tst_job.moc"
