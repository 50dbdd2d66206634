// kovferrit-cli as a black box, for what only its process shows: the trace switch, processes
// sharing a store, terminals, and runs against the Quib simulator over a real socket: the first
// sync, a hung and a refused server. tst_clicommands runs the argument table in process.
#include "clitest.h"
#include "recorders/localscheduler.h"

#include <array>
#include <fcntl.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
// A job of uid `uid` on `channel` with `action`, titled `title` (none: "F" and the uid).
QString recJob(const QString& channel, int uid, const QString& action = u"rec"_s,
               const QString& title = QString())
{
    const QString record = u"%1,101,%2,2026-12-24 20:15:00 +0100,2026-12-24 23:00:00 +0100,%3,"
                           u"%4,0,1,0,2,1,n,f,,d,"_s;
    return record.arg(channel).arg(uid).arg(action, title.isEmpty() ? u"F%1"_s.arg(uid) : title);
}

// Everything kovferrit-cli wrote when its standard streams are a terminal, `typed` there.
// `stdoutToNull`: standard output goes to /dev/null, so the screen shows standard error alone.
QString onTerminal(const QStringList& args, const QByteArray& typed = QByteArray(),
                   bool stdoutToNull = false)
{
    std::vector<QByteArray> words{qEnvironmentVariable("KOVFERRIT_CLI").toLocal8Bit()};
    for (const QString& arg : args)
        words.push_back(arg.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    int terminal = -1;
    const pid_t pid = forkpty(&terminal, nullptr, nullptr, nullptr);
    if (pid == 0) {
        if (stdoutToNull)
            dup2(open("/dev/null", O_WRONLY), STDOUT_FILENO);
        execv(argv[0], argv.data());
        _exit(127);
    }
    if (pid > 0 && write(terminal, typed.constData(), typed.size()) != typed.size())
        return u"failed"_s;
    QByteArray screen;
    char buffer[4096];
    for (ssize_t n; pid > 0 && (n = read(terminal, buffer, sizeof buffer)) > 0;)
        screen.append(buffer, n); // EIO once the program has ended
    if (terminal >= 0)
        close(terminal);
    int status = -1;
    return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) && !WEXITSTATUS(status)
               ? QString::fromLocal8Bit(screen)
               : u"failed"_s;
}
} // namespace
class TestCli : public CliTest
{
    Q_OBJECT
private slots:

    void verboseTraces()
    {
        // The trace switch is read once in a process, when it first traces: a run of its own.
        const Run traced = run({u"-v"_s, u"settings"_s, u"delete"_s, u"X"_s});
        QCOMPARE(traced.status, 1);
        QVERIFY2(traced.err.contains(u"##B## CKovReg::"_s), qPrintable(traced.err));
    }
    void processesShareTheStore()
    {
        std::vector<std::unique_ptr<QProcess>> writers;
        for (int i = 0; i < 12; ++i) {
            writers.push_back(std::make_unique<QProcess>());
            writers.back()->start(qEnvironmentVariable("KOVFERRIT_CLI"),
                                  {u"--home"_s, m_home->path(), u"settings"_s, u"set"_s,
                                   u"V%1"_s.arg(i), u"--number"_s, QString::number(i * 7),
                                   u"--force"_s});
        }
        for (auto& writer : writers)
            QVERIFY(writer->waitForFinished(60000) && writer->exitCode() == 0);
        for (int i = 0; i < 12; ++i)
            QCOMPARE(run({u"settings"_s, u"get"_s, u"V%1"_s.arg(i)}).out, u"%1\n"_s.arg(i * 7));
    }
    void answersSurviveConcurrentSaves()
    {
        // One process after another stores a prompted answer while a loop of `channels set`
        // keeps saving the list: every answer is kept.
        QByteArray guide = "0,61,csv,61\r\nisocode,name,id,country,category,language\r\n";
        for (int i = 0; i <= 60; ++i)
            guide += QStringLiteral("de,Ch %1,%1,DE,General,de\r\n").arg(i).toLatin1();
        writeBytes(m_home->filePath(u"kovquibcg.dat"_s), guide);
        QProcess setter;
        setter.setWorkingDirectory(m_home->path());
        setter.start(u"sh"_s, {u"-c"_s,
                               u"n=1; until [ -e stop ]; do \"$0\" --home . channels set 'Ch 0' $n "
                               u"|| echo failed; echo saved; n=$((n % 9 + 1)); done"_s,
                               qEnvironmentVariable("KOVFERRIT_CLI")});
        QVERIFY(setter.waitForReadyRead(30000)); // saving before the first answer
        QStringList expected;
        for (int n = 1; n <= 60; ++n) {
            const QString i = QString::number(n);
            QCOMPARE(QProcess::execute(qEnvironmentVariable("KOVFERRIT_ANSWER_DRIVER"),
                                       {m_home->path(), u"Ch "_s + i, i}),
                     0);
            expected << u"Ch "_s + i + u'\t' + i;
        }
        writeBytes(m_home->filePath(u"stop"_s), "");
        QVERIFY(setter.waitForFinished(30000));
        const QByteArray log = setter.readAllStandardOutput();
        QVERIFY2(!log.contains("failed") && log.count("saved") > 1, log.constData());
        QCOMPARE(run({u"channels"_s, u"list"_s}).lines().mid(1), expected);
    }
    void firstSyncThenTheNext()
    {
        Simulator sim;
        QVERIFY(sim.start(standard({{u"serial"_s, 4711},
                                    {u"records"_s, QJsonArray{recJob(u"Alpha TV"_s, 5001),
                                                              recJob(u"Beta One"_s, 5002)}}})));
        setUp(sim, false, "wrong\n"); // the service knows the account by its access string
        const Run none = run({u"status"_s});
        QCOMPARE(none.status, 1); // no sync yet
        QVERIFY2(none.out.contains(u"\nlast sync: none\n"_s), qPrintable(none.out));
        const Run refused = run({u"sync"_s});
        QCOMPARE(refused.status, 1);
        QCOMPARE(refused.lines(u"message"_s).value(0),
                 u"message: GetJobs FAILED : Account Unknown"_s);
        setUp(sim, false);
        const Run first =
            run({u"sync"_s, u"--channel"_s, u"Alpha TV=7"_s, u"--channel"_s, u"Beta One=8"_s});
        QCOMPARE(first.status, 0);
        QCOMPARE(sim.served(u"function"_s).mid(2).join(u' '),
                 u"gettargetsystems getjobs channelguide"_s);
        QCOMPARE(sim.served(u"initiator"_s).join(QString()), u"00000"_s);
        QCOMPARE(first.lines(u"message"_s).value(0),
                 u"message: Channel database has been received from the server."_s);
        QVERIFY(first.lines(u"message"_s).value(1).endsWith(u":00:New Data Received"_s));
        QCOMPARE(readBytes(m_home->filePath(u"dbchannel.dat"_s)), "7,Alpha TV\r\n8,Beta One\r\n");
        const QStringList recordings = run({u"recordings"_s}, {}, {u"TZ=Europe/Berlin"_s}).lines();
        QCOMPARE(
            recordings.value(0),
            u"F5001_2026-12-24_20_15_00\t2026-12-24T20:15:00+01:00\t2026-12-24T23:00:00+01:00\t7\t"
            u"F5001_2026-12-24_20_15_00\tfs:5001\t0"_s);
        QCOMPARE(recordings.size(), 2);
        QCOMPARE(run({u"channels"_s, u"list"_s}).lines(),
                 (QStringList{u"Alpha TV\t7"_s, u"Beta One\t8"_s}));
        const Run done = run({u"status"_s});
        QCOMPARE(done.status, 0);
        QVERIFY2(
            done.out.startsWith(u"account: demo\nrecorder: local "_s) &&
                done.out.contains(u" ok, 2 scheduled, 0 deleted, 0 already there, 0 skipped\n"_s) &&
                done.out.endsWith(u"\nrecordings: 2\n"_s),
            qPrintable(done.out));
        // Each --json output is the document alone: one value of each, found by a path of keys
        // and array indexes, as compact JSON. The preview comes first: it is no sync, and the
        // status still tells the first one.
        const QList<std::array<QString, 3>> documents{
            {u"sync|--dry-run"_s, u"jobs.0"_s,
             u"{\"action\":\"exists\",\"channel\":\"Alpha TV\",\"end\":"
             u"\"2026-12-24T23:00:00+01:00\",\"name\":\"F5001_2026-12-24_20_"
             u"15_00\",\"number\":7,\"start\":\"2026-12-24T20:15:00+01:00\"}"_s},
            {u"status"_s, u"lastSync.result"_s, u"\"ok\""_s},
            {u"status"_s, u"lastSync.scheduled"_s, u"2"_s},
            {u"status"_s, u"recorder.recordings"_s, u"2"_s},
            {u"recordings"_s, u"recordings.0.start"_s, u"\"2026-12-24T20:15:00+01:00\""_s},
            {u"channels|list"_s, u"channels.1"_s, u"{\"name\":\"Beta One\",\"number\":8}"_s},
            {u"settings|list"_s, u"settings.HaveChannelDatabase"_s, u"1"_s}};
        for (const auto& [command, path, expected] : documents) {
            const Run json = run(command.split(u'|') << u"--json"_s, {}, {u"TZ=Europe/Berlin"_s});
            QCOMPARE(json.status, 0);
            QJsonParseError error;
            QJsonValue value = QJsonDocument::fromJson(json.out.toUtf8(), &error).object();
            QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(json.out));
            for (const QString& key : path.split(u'.')) {
                bool index = false;
                const int n = key.toInt(&index);
                value = index ? value.toArray().at(n) : value.toObject().value(key);
            }
            const QJsonDocument wrapped(QJsonArray{value});
            QCOMPARE(QString::fromUtf8(wrapped.toJson(QJsonDocument::Compact)).chopped(1).mid(1),
                     expected);
        }

        const Run second = run({u"sync"_s});
        QCOMPARE(second.status, 0);
        // The preview, then the second sync: neither asks for the targets or the guide again.
        QCOMPARE(sim.served(u"function"_s).mid(5), (QStringList{u"getjobs"_s, u"getjobs"_s}));
        QCOMPARE(run({u"recordings"_s}, {}, {u"TZ=Europe/Berlin"_s}).lines(),
                 recordings); // none made twice
        QCOMPARE(second.err,
                 u"kovferrit-cli: Jobs: 0 scheduled, 0 deleted, 2 already there, 0 skipped\n"_s);
    }
    void syncSummary_data()
    {
        // --channel answers given to a first sync without a terminal; its exit status and summary
        Columns<QStringList, int, QString>::add();
        QTest::newRow("no numbers")
            << QStringList() << 3
            << u"Jobs: 0 scheduled, 0 deleted, 0 already there, 3 skipped (no channel number: "
               u"Alpha TV, Beta One)"_s;
        QTest::newRow("one number")
            << QStringList{u"--channel"_s, u"Beta One=8"_s} << 3
            << u"Jobs: 1 scheduled, 0 deleted, 0 already there, 2 skipped (no channel number: "
               u"Alpha TV)"_s;
        QTest::newRow("all numbers")
            << QStringList{u"--channel"_s,  u"Alpha TV=7"_s, u"--channel"_s,
                           u"Beta One=8"_s, u"--channel"_s,  u"Gamma=9"_s}
            << 0 << u"Jobs: 3 scheduled, 1 deleted, 0 already there, 0 skipped"_s;
    }
    void syncSummary()
    {
        const auto [answers, status, summary] = Columns<QStringList, int, QString>::fetch();
        Simulator sim; // the delete finds what the first job made, if anything
        QVERIFY(sim.start(
            standard({{u"records"_s, QJsonArray{recJob(u"Alpha TV"_s, 1), recJob(u"Beta One"_s, 2),
                                                recJob(u"Gamma"_s, 3, u"delete"_s, u"F1"_s),
                                                recJob(u"Alpha TV"_s, 4)}}})));
        setUp(sim, false);
        const Run sync = run(QStringList{u"sync"_s} + answers);
        QCOMPARE(sync.status, status);
        QCOMPARE(sync.lines(u"message"_s).last(), u"message: "_s + summary);
        QCOMPARE(sync.err, u"kovferrit-cli: "_s + summary + u'\n');
    }
    void channelAnswers_data()
    {
        // --channel pairs, what is typed at the terminal (none: not a terminal); the channel
        // database made and what the terminal says to mistyped answers
        Columns<QStringList, QByteArray, QByteArray, QStringList>::add();
        QTest::newRow("quoted name as sent")
            << QStringList{u"--channel"_s, u"Quote \"Q\" TV=6"_s, u"--channel"_s, u"Alpha TV=7"_s}
            << QByteArray() << QByteArray("7,Alpha TV\r\n6,Quote Q TV\r\n") << QStringList();
        QTest::newRow("asked again")
            << QStringList{u"--channel"_s, u"Quote Q TV=6"_s}
            << QByteArray("1000\n0\n1e20\n1,5\n9\n") << QByteArray("9,Alpha TV\r\n6,Quote Q TV\r\n")
            << QStringList{u"1000 is out of range: channel numbers are 1 to 999."_s,
                           u"0 is out of range: channel numbers are 1 to 999."_s,
                           u"1e20 is out of range: channel numbers are 1 to 999."_s,
                           u"1,5 is not a whole number."_s};
    }
    void channelAnswers()
    {
        const auto [pairs, typed, database, said] =
            Columns<QStringList, QByteArray, QByteArray, QStringList>::fetch();
        Simulator sim;
        QVERIFY(sim.start(standard({{u"records"_s, QJsonArray{recJob(u"Alpha TV"_s, 1),
                                                              recJob(u"Quote \"Q\" TV"_s, 2)}}})));
        setUp(sim, true);
        const QStringList sync = QStringList{u"--home"_s, m_home->path(), u"sync"_s} + pairs;
        if (typed.isEmpty()) {
            QCOMPARE(run(sync).status, 0);
        } else {
            // The typed lines are echoed whenever the terminal takes them: only the answers to
            // them and the number of times asked are in a fixed place.
            const QString screen = onTerminal(sync, typed);
            for (const QString& line : said)
                QVERIFY2(screen.contains(line + u"\r\n"_s), qPrintable(screen));
            QCOMPARE(screen.count(u"Channel number for Alpha TV"_s), said.size() + 1);
        }
        QCOMPARE(readBytes(m_home->filePath(u"dbchannel.dat"_s)), database);
        QCOMPARE(run({u"recordings"_s}).lines().size(), 2);
    }
    void longReplyShowsProgressOnATerminal()
    {
        QJsonArray jobs;
        for (int i = 0; i < 200; ++i)
            jobs << recJob(u"Alpha TV"_s, i, u"delete"_s);
        Simulator sim;
        QVERIFY(sim.start(standard({{u"records"_s, jobs}})));
        setUp(sim, true);
        const QStringList sync{u"--home"_s, m_home->path(), u"sync"_s, u"--channel"_s,
                               u"Alpha TV=7"_s};
        // One line rewritten in place, ended before the next output; the terminal writes each
        // line end as CR LF.
        const QStringList screen = onTerminal(sync).split(u"\r\n"_s);
        const QStringList progress = screen.filter(u"progress: "_s);
        QCOMPARE(progress.size(), 1);
        QVERIFY2(progress[0].startsWith(u"\rprogress: 2 of 200 jobs\r"_s), qPrintable(progress[0]));
        QVERIFY(progress[0].endsWith(u"\rprogress: 200 of 200 jobs"_s));
        QVERIFY2(progress[0].count(u'\r') >= 100, qPrintable(progress[0]));
        QVERIFY(screen.filter(u"message: "_s).value(0).startsWith(u"message: "_s));
        // The progress is on standard error, as git shows its own.
        const QString stderrOnly = onTerminal(sync, {}, true);
        QVERIFY2(stderrOnly.contains(u"\rprogress: 200 of 200 jobs\r\n"_s) &&
                     !stderrOnly.contains(u"message: "_s),
                 qPrintable(stderrOnly));
        // Quiet: neither progress nor the request's own lines; the results stay.
        const QString quiet = onTerminal(QStringList{u"-q"_s} + sync);
        QVERIFY2(!quiet.contains(u"progress: "_s) && !quiet.contains(u"box: "_s) &&
                     quiet.contains(u"message: "_s),
                 qPrintable(quiet));
        // Piped, the output holds the lines a script reads and nothing else.
        const Run piped = run(sync);
        QCOMPARE(piped.status, 0);
        QVERIFY2(!piped.out.contains(u"progress"_s) && piped.err.isEmpty(),
                 qPrintable(piped.out + piped.err));
        QCOMPARE(piped.out.split(u'\n', Qt::SkipEmptyParts),
                 piped.lines(u"(message|update|box): "_s));
    }
    void oneSyncPerFolder()
    {
        // A sync waiting for a slow reply holds the folder: syncs and a fetch started meanwhile
        // say so and fail, without touching the reply file; a sync killed while it waits leaves
        // nothing that blocks the next.
        const QJsonObject slow{{u"misbehave"_s, u"delay"_s}, {u"seconds"_s, 6}};
        QJsonObject functions = standard({});
        functions[u"getjobs"_s] = QJsonArray{slow, slow, QJsonObject{}};
        Simulator sim;
        QVERIFY(sim.start(functions));
        setUp(sim, true);
        set(u"TimeoutSeconds"_s, u"30"_s);
        auto start = [&](QProcess& p, const QStringList& command) {
            p.start(qEnvironmentVariable("KOVFERRIT_CLI"),
                    QStringList{u"--home"_s, m_home->path()} + command);
        };
        QProcess first;
        start(first, {u"sync"_s});
        QTRY_COMPARE_WITH_TIMEOUT(sim.served(u"function"_s).size(), 1, 20000);
        QProcess others[3];
        start(others[0], {u"sync"_s});
        start(others[1], {u"sync"_s});
        start(others[2], {u"fetch"_s, u"getjobs"_s});
        for (QProcess& other : others) {
            QVERIFY(other.waitForFinished(20000));
            const QString err = QString::fromUtf8(other.readAllStandardError());
            QVERIFY2(err.contains(u"A sync is already running in this program folder."_s),
                     qPrintable(err));
            QCOMPARE(other.exitCode(), 1);
            QVERIFY(!other.readAllStandardOutput().contains("access error"));
        }
        QVERIFY(first.waitForFinished(30000));
        QCOMPARE(first.exitCode(), 0);
        QVERIFY(first.readAllStandardOutput().contains("New Data Received"));
        QCOMPARE(sim.served(u"function"_s).size(), 1); // only the first asked the service

        QProcess killed;
        start(killed, {u"sync"_s});
        QTRY_COMPARE_WITH_TIMEOUT(sim.served(u"function"_s).size(), 2, 20000);
        killed.kill(); // SIGKILL: no clean-up of its own
        QVERIFY(killed.waitForFinished(5000));
        QCOMPARE(run({u"sync"_s}).status, 0);
        QCOMPARE(sim.served(u"function"_s).size(), 3);
    }
    void recordingNameIgnoresLocale_data()
    {
        // The name of a recording of the job made before the name's date part was fixed (none:
        // no recording), the locale and the job's action of each sync, what `sync --dry-run`
        // says before the last sync (what and name), and the recordings then left.
        Columns<QString, QString, QString, QStringList>::add();
        const QString fixed = u"G1_2026-12-24_20_00_00"_s;
        const QString german = u"G1_24_12_2026_20_00_00"_s;
        QTest::newRow("German, then C") << QString() << u"de_DE.UTF-8 rec|C.UTF-8 rec"_s
                                        << u"exists\t"_s + fixed << QStringList{fixed};
        QTest::newRow("C, then German") << QString() << u"C.UTF-8 rec|de_DE.UTF-8 rec"_s
                                        << u"exists\t"_s + fixed << QStringList{fixed};
        QTest::newRow("made before, German")
            << german << u"de_DE.UTF-8 rec"_s << u"exists\t"_s + german << QStringList{german};
        QTest::newRow("made before, deleted")
            << german << u"de_DE.UTF-8 delete"_s << u"delete\t"_s + german << QStringList();
        QTest::newRow("made before under C, deleted")
            << u"G1_24_Dec_2026_20_00_00"_s << u"C.UTF-8 delete"_s
            << u"delete\tG1_24_Dec_2026_20_00_00"_s << QStringList();
        QTest::newRow("made under C, deleted under German")
            << QString() << u"C.UTF-8 rec|de_DE.UTF-8 delete"_s << u"delete\t"_s + fixed
            << QStringList();
    }
    void recordingNameIgnoresLocale()
    {
        const auto [before, syncs, preview, left] =
            Columns<QString, QString, QString, QStringList>::fetch();
        const QString job = u"Alpha TV,101,5001,2026-12-24 20:00:00 +0000,2026-12-24 21:00:00 "
                            u"+0000,%1,G1,0,1,0,2,1,n,f,,d,"_s;
        const QStringList steps = syncs.split(u'|');
        QJsonArray replies; // one for each sync, and the dry run before the last
        for (const QString& step : steps)
            replies << QJsonObject{{u"records"_s, QJsonArray{job.arg(step.section(u' ', 1))}}};
        replies.insert(steps.size() - 1, replies.last());
        QJsonObject functions = standard({});
        functions[u"getjobs"_s] = replies;
        Simulator sim;
        QVERIFY(sim.start(functions));
        setUp(sim, true);
        writeBytes(m_home->filePath(u"dbchannel.dat"_s), "7,Alpha TV\r\n");
        if (!before.isEmpty()) {
            const QDateTime start(QDate(2026, 12, 24), QTime(20, 0));
            LocalScheduler store(m_home->filePath(u"KOVSched.db"_s));
            QCOMPARE(store.createRecording(
                         {before, start, start.addSecs(3600), 7, before, u"fs:5001"_s, 0, {}}),
                     0);
        }
        for (const QString& step : steps) {
            const QStringList locale{u"LANG="_s + step.section(u' ', 0, 0), u"LC_ALL="_s,
                                     u"LC_TIME="_s, u"LANGUAGE="_s};
            if (&step == &steps.last()) {
                const Run dry = run({u"sync"_s, u"--dry-run"_s}, {}, locale);
                QCOMPARE(
                    dry.lines(u"(exists|delete|create|absent)\t"_s).value(0).section(u'\t', 0, 1),
                    preview);
            }
            QCOMPARE(run({u"sync"_s}, {}, locale).status, 0);
        }
        QStringList names;
        for (const QString& line : run({u"recordings"_s}).lines())
            names << line.section(u'\t', 0, 0);
        QCOMPARE(names, left);
    }
    void namesKeepToTheirLines()
    {
        // A TAB, a line break, a lone CR or a backslash in a name is written escaped, so every
        // entry keeps one line and its columns; the channel database quotes a lone CR.
        writeBytes(m_home->filePath(u"kovquibcg.dat"_s),
                   "0,5,csv,5\r\nisocode,name,id,country,category,language\r\n"
                   "de,Tab\tTV,1,DE,General,de\r\nde,\"Line\nFeed\",2,DE,General,de\r\n"
                   "de,C:\\TV,3,DE,General,de\r\nde,\"Lone\rCR\",4,DE,News,de\r\n"
                   "de,Beta One,5,DE,News,de\r\n");
        for (const QString& name : {u"Tab\tTV"_s, u"Lone\rCR"_s, u"Beta One"_s})
            QCOMPARE(run({u"channels"_s, u"set"_s, name, QString::number(name.size())}).status, 0);
        QCOMPARE(readBytes(m_home->filePath(u"dbchannel.dat"_s)),
                 "6,Tab\tTV\r\n7,\"Lone\rCR\"\r\n8,Beta One\r\n");
        QCOMPARE(run({u"channels"_s, u"list"_s}).out,
                 u"Tab\\tTV\t6\nLine\\nFeed\t\nC:\\\\TV\t\nLone\\rCR\t7\nBeta One\t8\n"_s);
        // A guide the table cannot read says why.
        writeBytes(m_home->filePath(u"kovquibcg.dat"_s), "\"\r\n");
        const Run unreadable = run({u"channels"_s, u"list"_s});
        QCOMPARE(unreadable.status, 1);
        QVERIFY2(unreadable.err.contains(u"kovquibcg.dat cannot be read: ParseData"_s),
                 qPrintable(unreadable.err));
        // A store another program wrote into.
        const QString store =
            u"import sqlite3, sys\n"
            u"db = sqlite3.connect(sys.argv[1])\n"
            u"db.execute('CREATE TABLE programs (id INTEGER PRIMARY KEY, name "
            u"TEXT, start TEXT, finish TEXT, channel INTEGER, file TEXT, tag "
            u"TEXT, recurrence INTEGER)')\n"
            u"db.execute('INSERT INTO programs VALUES (1, ?, \"2026-12-24T20:15:00\", "
            u"\"2026-12-24T21:00:00\", 5, ?, ?, 0)', sys.argv[2:])\n"
            u"db.commit()\n"_s;
        QCOMPARE(
            QProcess::execute(u"python3"_s, {u"-c"_s, store, m_home->filePath(u"KOVSched.db"_s),
                                             u"A\tB\r\nC"_s, u"f\\g"_s, u"fs:1"_s}),
            0);
        QCOMPARE(
            run({u"recordings"_s}, {}, {u"TZ=Europe/Berlin"_s}).out,
            u"A\\tB\\r\\nC\t2026-12-24T20:15:00+01:00\t2026-12-24T21:00:00+01:00\t5\tf\\\\g\tfs:1\t0\n"_s);
    }
    void dryRunTakesChannelAnswers()
    {
        Simulator sim;
        QVERIFY(sim.start(standard({{u"records"_s, QJsonArray{recJob(u"Alpha TV"_s, 5001),
                                                              recJob(u"Beta One"_s, 5002)}}})));
        setUp(sim, true);
        const Run preview = run({u"sync"_s, u"--dry-run"_s, u"--channel"_s, u"Alpha TV=7"_s});
        QCOMPARE(preview.status, 0);
        QStringList verdicts;
        for (const QString& line : preview.lines().filter(u"\t"_s))
            verdicts << line.section(u'\t', 0, 0) + u' ' + line.section(u'\t', 4);
        QCOMPARE(verdicts,
                 (QStringList{u"create Alpha TV\t7"_s, u"unknown-channel Beta One\t0"_s}));
        QVERIFY(!QFile::exists(m_home->filePath(u"dbchannel.dat"_s))); // shown, not stored
    }
    void serviceFails_data()
    {
        // How getjobs misbehaves (none: nobody listens), what a fetch writes to standard error
        // and how often it asks (a reply in the wrong form is asked again, a failed transfer
        // not), and the reason a sync and then the status give.
        Columns<QJsonObject, QString, int, QString>::add();
        const QString service = u"The Quib service at localhost, port %1, cannot be used: "_s;
        QTest::newRow("refused") << QJsonObject() << QString() << 0
                                 << service + u"the connection was refused."_s;
        QTest::newRow("no answer in time")
            << QJsonObject{{u"misbehave"_s, u"delay"_s}, {u"seconds"_s, 60}} << QString() << 1
            << service + u"it did not answer in time."_s;
        QTest::newRow("HTTP status")
            << QJsonObject{{u"misbehave"_s, u"raw"_s},
                           {u"http_status"_s, 503},
                           {u"body"_s, u"Service Unavailable"_s}}
            << QString() << 3 << service + u"it answered with HTTP status 503."_s;
        QTest::newRow("over the cap")
            << QJsonObject{{u"misbehave"_s, u"big"_s}} << u"[ERROR] Reply larger than 16 MiB\n"_s
            << 1 << service + u"its reply is larger than 16 MiB."_s;
    }
    void serviceFails()
    {
        const auto [misbehave, fetchErr, asked, why] =
            Columns<QJsonObject, QString, int, QString>::fetch();
        Simulator sim;
        if (misbehave.isEmpty()) {
            QVERIFY((sim.port = refusingPort()) != 0);
        } else {
            QVERIFY(sim.start(
                {{u"getjobs"_s, QJsonArray{misbehave, misbehave, misbehave, misbehave}}}));
        }
        setUp(sim, true);
        // Only the delay needs a short time-out; 17 MiB take more than a second on a busy
        // machine, which would turn the cap's reason into the time-out's.
        const bool delayed = misbehave.value(u"misbehave"_s) == u"delay"_s;
        set(u"TimeoutSeconds"_s, delayed ? u"2"_s : u"30"_s);
        QElapsedTimer clock;
        clock.start();
        const Run fetch = run({u"fetch"_s, u"getjobs"_s});
        // A hung service costs the time-out, not the minute it holds the request.
        if (delayed)
            QVERIFY2(clock.elapsed() < 7000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(fetch.status, 1);
        QCOMPARE(fetch.lines(),
                 (QStringList{u"box: WAIT ...."_s, u"box: Job List Download FAILED"_s, u"-1"_s}));
        QCOMPARE(fetch.err, fetchErr);
        QCOMPARE(sim.served(u"function"_s).size(), asked);

        set(u"OpenURLRetries"_s, u"1"_s);
        const Run sync = run({u"sync"_s});
        QCOMPARE(sync.status, 1);
        QCOMPARE(sync.lines(u"message"_s), (QStringList{u"message: GetJobs FAILED -1"_s,
                                                        u"message: "_s + why.arg(sim.port)}));
        const Run status = run({u"status"_s});
        QCOMPARE(status.status, 1);
        QVERIFY2(status.out.contains(u" failed, 0 scheduled, 0 deleted, 0 already there, 0 "
                                     u"skipped: GetJobs FAILED -1 "_s +
                                     why.arg(sim.port) + u'\n'),
                 qPrintable(status.out));
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
