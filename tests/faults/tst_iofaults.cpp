// kovferrit-cli on a failing disk: a store that cannot be opened, and every file write, fsync
// and rename of a sync, a `channels set` and a `settings set` failed in turn (the shim
// iofault.c, loaded with LD_PRELOAD). Whatever fails, the program ends by its own exit, loses
// nothing stored before, says which file failed and why, and a clean run afterwards gets to
// where a run without faults gets.
#include "clitest.h"

#include <cstring>

namespace {
const QString kJob = u"%1,101,%2,2026-12-24 20:15:00 +0100,2026-12-24 23:00:00 +0100,rec,F%2,0,1,"
                     u"0,2,1,n,f,,d,"_s;

// The first field of every line (a setting's or recording's or channel's name).
QSet<QString> names(const QStringList& state)
{
    QSet<QString> set;
    for (const QString& line : state)
        set.insert(line.section(u" : "_s, 0, 0).section(u'\t', 0, 0));
    return set;
}

void copyFolder(const QString& from, const QString& to)
{
    for (const QFileInfo& file : QDir(from).entryInfoList(QDir::Files))
        QVERIFY(QFile::copy(file.filePath(), to + u'/' + file.fileName()));
}

// The points of one kind that are failed: all of a few, else the first and last four and an
// even spread between them.
QList<int> points(int count)
{
    constexpr int kMost = 16;
    QList<int> chosen;
    const int stride = count <= kMost ? 1 : (count - 8) / (kMost - 8) + 1;
    for (int n = 1; n <= count; ++n) {
        if (n <= 4 || n > count - 4 || (n - 4) % stride == 0)
            chosen << n;
    }
    return chosen;
}
} // namespace

class TestIoFaults : public CliTest
{
    Q_OBJECT

    Simulator m_sim;
    QTemporaryDir m_bases;
    QHash<QString, QStringList> m_expected; // per command, the state a run without faults reaches

    QString base(const QString& name) const { return m_bases.filePath(name); }

    /// Runs the CLI in the test's folder, the shim failing call `nth` of `kind` (none for 0)
    /// with `error`; its counts, when asked, in `counts`.
    Run faulty(const QStringList& args, const QString& kind, int nth, const QString& error,
               QString* counts = nullptr)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"LD_PRELOAD"_s, qEnvironmentVariable("KOVFERRIT_IOFAULT"));
        env.insert(u"IOFAULT_DIR"_s, m_home->path() + u'/');
        env.insert(u"IOFAULT_KIND"_s, kind);
        env.insert(u"IOFAULT_NTH"_s, QString::number(nth));
        env.insert(u"IOFAULT_ERRNO"_s, error);
        if (counts)
            env.insert(u"IOFAULT_REPORT"_s, m_bases.filePath(u"counts"_s));
        // AddressSanitizer wants its runtime first among the preloaded libraries; the shim
        // only hands each call on, so that order does not matter here.
        env.insert(u"ASAN_OPTIONS"_s,
                   env.value(u"ASAN_OPTIONS"_s) + u":verify_asan_link_order=0"_s);
        p.setProcessEnvironment(env);
        p.start(qEnvironmentVariable("KOVFERRIT_CLI"),
                QStringList{u"--home"_s, m_home->path()} + args);
        p.waitForStarted();
        p.closeWriteChannel();
        if (!p.waitForFinished(120000)) { // hung: neither an exit nor a signal of its own
            p.kill();
            p.waitForFinished();
            return {-2, QString(), QString()};
        }
        if (counts)
            *counts = QString::fromLatin1(readBytes(m_bases.filePath(u"counts"_s))).trimmed();
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError())};
    }
    /// What the folder holds, as the CLI reads it, line by line; empty when a read failed.
    QStringList state()
    {
        QStringList parts;
        for (const QStringList& args : {QStringList{u"channels"_s, u"list"_s},
                                        {u"recordings"_s},
                                        {u"settings"_s, u"list"_s}}) {
            const Run read = run(args);
            if (read.status != 0 && args.first() != u"channels"_s) // no guide yet is a failure
                return {};
            QStringList lines = read.out.split(u'\n');
            // The times of the last exchange, the last sync and the next guide differ from run to
            // run.
            lines.removeIf([](const QString& line) {
                return line.contains(u"QueryTime"_s) || line.startsWith(u"NextChannelUpdate"_s) ||
                       line.startsWith(u"LastSync :"_s);
            });
            parts << lines;
        }
        parts.sort(); // settings are listed in the order they were first stored
        return parts;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(QFileInfo(qEnvironmentVariable("KOVFERRIT_IOFAULT")).isFile());
        QJsonArray jobs;
        for (int i = 0; i < 6; ++i)
            jobs << kJob.arg(i % 2 ? u"Beta One"_s : u"Alpha TV"_s).arg(5001 + i);
        QVERIFY(m_sim.start(standard({{u"serial"_s, 4711}, {u"records"_s, jobs}})));
        // "fresh": account and port only; "synced": after the first sync.
        for (const QString& name : {u"fresh"_s, u"synced"_s}) {
            QVERIFY(QDir().mkpath(base(name)));
            m_home = std::make_unique<QTemporaryDir>();
            setUp(m_sim, false);
            if (name == u"synced"_s)
                QCOMPARE(run({u"sync"_s, u"--channel"_s, u"Alpha TV=7"_s, u"--channel"_s,
                              u"Beta One=8"_s})
                             .status,
                         0);
            copyFolder(m_home->path(), base(name));
        }
    }

    void unopenableStore_data()
    {
        // How settings.db is broken, and the command run on it.
        Columns<QString, QString>::add();
        const QStringList commands{
            u"sync"_s,        u"channels|set|Alpha TV|5"_s,     u"settings|set|Port|--number|1"_s,
            u"account|bob"_s, u"settings|export|%home/a.reg"_s, u"settings|list"_s,
            u"daemon"_s};
        for (const QString& damage :
             {u"random bytes"_s, u"folder"_s, u"truncated"_s, u"full disk"_s})
            for (const QString& command : commands)
                QTest::addRow("%s: %s", qPrintable(damage), qPrintable(command))
                    << damage << command;
    }
    void unopenableStore()
    {
        const auto [damage, command] = Columns<QString, QString>::fetch();
        const QString store = m_home->filePath(u"settings.db"_s);
        if (damage == u"folder"_s) {
            QVERIFY(QDir().mkpath(store));
        } else if (damage == u"truncated"_s) { // within its header
            writeBytes(store, readBytes(base(u"synced"_s) + u"/settings.db"_s).left(50));
        } else {
            QByteArray noise(30000, '\0');
            for (char& byte : noise)
                byte = char(QRandomGenerator::global()->generate());
            noise.replace(0, 16, "not a database!!");
            writeBytes(store, noise);
        }
        const QStringList args = QString(command).replace(u"%home"_s, m_home->path()).split(u'|');
        // The full disk fails the store's first write: the making of its tables.
        const Run result = damage == u"full disk"_s ? faulty(args, u"write"_s, 1, u"ENOSPC"_s)
                                                    : run(args, "secret\n");
        QCOMPARE(result.status, 1); // not a signal
        QVERIFY2(result.err.contains(u"cannot open the settings store "_s + store + u": "_s),
                 qPrintable(result.err));
    }

    void failedWrites_data()
    {
        // The command, the folder it starts from and, per kind of call, how many it makes.
        Columns<QString, QString, QString, int>::add();
        struct Command
        {
            const char* name;
            QString args;
            QString from;
        };
        const QList<Command> commands{
            {"sync", u"sync|--channel|Alpha TV=7|--channel|Beta One=8"_s, u"fresh"_s},
            {"channels set", u"channels|set|Beta One|9"_s, u"synced"_s},
            {"settings set", u"settings|set|UpdateFrequency|--number|30"_s, u"synced"_s}};
        for (const Command& command : commands) {
            m_home = std::make_unique<QTemporaryDir>();
            copyFolder(base(command.from), m_home->path());
            QString counts;
            QCOMPARE(faulty(command.args.split(u'|'), QString(), 0, QString(), &counts).status, 0);
            const QStringList numbers = counts.split(u' ');
            QCOMPARE(numbers.size(), 6);
            qInfo("%s: %s", command.name, qPrintable(counts));
            for (const QString& kind : {u"write"_s, u"sync"_s, u"rename"_s}) {
                const int count = numbers.value(numbers.indexOf(kind) + 1).toInt();
                for (const int n : points(count))
                    QTest::addRow("%s, %s %d of %d", command.name, qPrintable(kind), n, count)
                        << command.args << command.from << kind << n;
            }
        }
    }
    void failedWrites()
    {
        const auto [args, from, kind, nth] = Columns<QString, QString, QString, int>::fetch();
        if (!m_expected.contains(args)) { // what a run without faults reaches
            copyFolder(base(from), m_home->path());
            QCOMPARE(run(args.split(u'|')).status, 0);
            m_expected.insert(args, state());
        }
        const QStringList expected = m_expected.value(args);
        QVERIFY(!expected.isEmpty());

        for (const QString& error : {u"EIO"_s, u"ENOSPC"_s}) {
            m_home = std::make_unique<QTemporaryDir>();
            copyFolder(base(from), m_home->path());
            const QStringList before = state();
            const Run failed = faulty(args.split(u'|'), kind, nth, error);
            QVERIFY2(failed.status == 0 || failed.status == 1, qPrintable(failed.err));
            const QStringList after = state();
            QVERIFY2(!after.isEmpty(), "the folder cannot be read");
            if (failed.status == 0) {
                QCOMPARE(after, expected);
            } else {
                // The file and the system's reason, in its words or SQLite's.
                const bool eio = error == u"EIO"_s;
                const QString reason = QString::fromLocal8Bit(std::strerror(eio ? EIO : ENOSPC));
                // The recorder names its store as the one that cannot be opened.
                QVERIFY2((failed.err.contains(u"cannot be written: "_s) ||
                          failed.err.contains(u"cannot be opened: "_s)) &&
                             (failed.err.contains(reason) ||
                              failed.err.contains(u"disk I/O error"_s) ||
                              (!eio && failed.err.contains(u"database or disk is full"_s))) &&
                             failed.err.contains(m_home->path()),
                         qPrintable(failed.err));
            }
            // Nothing stored before is lost: every setting, recording and channel stays.
            QVERIFY(names(after).contains(names(before)));
            QCOMPARE(run({u"settings"_s, u"get"_s, u"Account"_s}).out, u"demo\n"_s);
            const Run clean = run(args.split(u'|'));
            QVERIFY2(clean.status == 0, qPrintable(clean.err));
            QCOMPARE(state(), expected);
        }
    }
};

QTEST_GUILESS_MAIN(TestIoFaults)
#include "tst_iofaults.moc"
