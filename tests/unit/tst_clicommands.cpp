// kovferrit-cli's command line in process: the argument table, help, usage errors and exit
// statuses, settings and their bounds, with the program's standard streams redirected.
#include "cli/cliapp.h"
#include "foundation/programname.h"
#include "testbasics.h"

#include <QTemporaryFile>

#include <cstdio>
#include <iostream>
#include <unistd.h>

namespace {
// Points file descriptor `fd` at a temporary file holding `input` while it lives, and gives
// back what was written there.
class Redirect
{
public:
    Redirect(FILE* stream, int fd, const QByteArray& input = {}) : m_stream(stream), m_fd(fd)
    {
        m_file.open();
        m_file.write(input);
        m_file.seek(0);
        std::fflush(m_stream); // for standard input: drops what an earlier run left buffered
        m_saved = dup(m_fd);
        dup2(m_file.handle(), m_fd);
    }
    ~Redirect() { restore(); }
    QString take()
    {
        restore();
        m_file.seek(0);
        return QString::fromUtf8(m_file.readAll());
    }

private:
    void restore()
    {
        if (m_saved < 0)
            return;
        std::fflush(m_stream);
        dup2(m_saved, m_fd);
        close(m_saved);
        m_saved = -1;
        // An end of input reached stays set on the streams, and would end the next run's input.
        clearerr(m_stream);
        std::cin.clear();
    }
    QTemporaryFile m_file;
    FILE* m_stream;
    int m_fd;
    int m_saved = -1;
};

struct Captured
{
    int status = -1;
    QString out;
    QString err;
};

Captured runCliInProcess(const QStringList& args, const QByteArray& input)
{
    Redirect in(stdin, STDIN_FILENO, input);
    Redirect out(stdout, STDOUT_FILENO);
    Redirect err(stderr, STDERR_FILENO);
    Captured result;
    result.status = runCli(args);
    result.out = out.take();
    result.err = err.take();
    // -v sets KOVFERRIT_TRACE, which the trace channel reads once per process; no row here
    // traces with -v (tst_cli's verboseTraces runs the program for that).
    qunsetenv("KOVFERRIT_TRACE");
    return result;
}

using Cases = Columns<QString, QByteArray, int, QString, QString>;

// Commands run in turn (";" between them, "|" between arguments, %home the program folder),
// the last one's status (0 done, 1 failed, 2 usage), its standard output (one ending in "..."
// is its beginning, and "..." inside skips lines) and standard error (one ending in a line break is
// all of it, else a part), and standard input.
void row(const char* name, const QString& commands, int status, const QString& out,
         const QString& err = {}, const QByteArray& input = {})
{
    QTest::newRow(name) << commands << input << status << out << err;
}
} // namespace

class TestCliCommands : public QObject
{
    Q_OBJECT
private slots:
    void commands_data()
    {
        Cases::add();
        const QString tryHelp = u"Try 'kovferrit-cli --help'.\n"_s;
        const QString trySync = u"Try 'kovferrit-cli sync --help'.\n"_s;
        const QString trySettings = u"Try 'kovferrit-cli settings --help'.\n"_s;
        const QString help = u"usage: kovferrit-cli [--home DIR] [-q | -v] COMMAND ...\n"
                             u"Downloads recording jobs..."_s;
        for (const char* ask : {"-h", "--help", "help"})
            row(ask, QString::fromLatin1(ask), 0, help);
        row("--version", u"--version"_s, 0, u"kovferrit-cli " KOVFERRIT_VERSION "\n"_s);
        row("sync --help", u"sync|--help"_s, 0,
            u"usage: kovferrit-cli [--home DIR] sync [--timed] [--dry-run [--json]] "
            u"[--channel NAME=NUMBER]...\nDownload the jobs and schedule them into the "
            u"recorder.\n\nOptions:\n  -h, --help ..."_s);
        // Every backend of the recorder list, by the name the Recorder setting takes.
        row("help lists the recorders", u"help"_s, 0,
            help.chopped(3) + u"...Recorders (settings set Recorder --text NAME):\n"
                              u"  local       Local scheduler\n  vdr         VDR\n..."_s);
        row("help fetch", u"help|fetch"_s, 0,
            u"usage: kovferrit-cli [--home DIR] fetch FUNCTION [--manual] [--zero-serial]\n..."_s);
        row("help, unknown command", u"help|frobnicate"_s, 2, {},
            u"kovferrit-cli: no help on: frobnicate\n"_s + tryHelp);
        row("no command", QString(), 2, {}, u"kovferrit-cli: no command given\n"_s + tryHelp);
        row("-v alone: no command given", u"-v"_s, 2, {},
            u"kovferrit-cli: no command given\n"_s + tryHelp);
        row("-q and -v", u"-q|-v|status"_s, 2, {},
            u"kovferrit-cli: --quiet and --verbose exclude each other\n"_s + tryHelp);
        row("unknown command", u"frobnicate"_s, 2, {},
            u"kovferrit-cli: unknown command: frobnicate\n"_s + tryHelp);
        row("unknown option", u"sync|--fast"_s, 2, {},
            u"kovferrit-cli: unknown option 'fast'\nTry 'kovferrit-cli sync --help'.\n"_s);
        row("unknown program option", u"--fast|sync"_s, 2, {},
            u"kovferrit-cli: unknown option 'fast'\n"_s + tryHelp);
        row("option of another command", u"tick|--timed"_s, 2, {},
            u"kovferrit-cli: unknown option 'timed'\nTry 'kovferrit-cli tick --help'.\n"_s);
        row("missing argument", u"fetch|--manual"_s, 2, {},
            u"kovferrit-cli: fetch needs one server function\n"
            u"Try 'kovferrit-cli fetch --help'.\n"_s);
        row("unknown server function", u"fetch|getJobs"_s, 2, {},
            u"kovferrit-cli: unknown server function getJobs"_s);
        for (const QString& number : {u"0"_s, u"-1"_s, u"1000"_s, u"1e20"_s})
            row(qPrintable(u"--channel X="_s + number), u"sync|--channel|X="_s + number, 2, {},
                u"kovferrit-cli: --channel X=%1: %1 is out of range: channel numbers are 1 to "
                u"999.\n"_s.arg(number) +
                    trySync);
        // The bounds themselves pass the check (the run then stops for want of an account).
        for (const QString& number : {u"1"_s, u"999"_s})
            row(qPrintable(u"--channel X="_s + number), u"sync|--channel|X="_s + number, 1,
                u"message: No account is set..."_s,
                u"[KovFerrit] Please specify an account and password."_s);
        row("--channel X=1,5", u"sync|--channel|X=1,5"_s, 2, {},
            u"kovferrit-cli: --channel X=1,5: 1,5 is not a whole number.\n"_s + trySync);
        row("missing value", u"sync|--channel"_s, 2, {},
            u"kovferrit-cli: missing value after '--channel'\n"_s + trySync);
        row("empty --home=", u"--home=|settings|list"_s, 2, {},
            u"kovferrit-cli: --home needs a folder\n"_s + tryHelp);
        row("folder unusable", u"--home|/dev/null|settings|list"_s, 1, {},
            u"kovferrit-cli: cannot use the program folder /dev/null: it is not a folder\n"_s);
        row("translate", u"translate|No New Data"_s, 0, u"No New Data\n"_s);
        row("translate, text like an option", u"translate|--|-x"_s, 0, u"-x\n"_s);

        row("set, get", u"settings|set|Account|--text|demo;settings|get|account"_s, 0, u"demo\n"_s);
        row("list",
            u"settings|set|Account|--text|demo;settings|set|Port|--number|1;settings|list"_s, 0,
            u"Account : demo\nPort : 1\n"_s);
        row("delete missing", u"settings|set|Y|--number|1|--force;settings|delete|X"_s, 1, {},
            u"[KovFerrit] CKovReg::RegDeleteValue(X) FAILED : 2\n"_s);
        row("unknown setting", u"settings|set|Acount|--text|demo"_s, 2, {},
            u"Acount is not a setting"_s);
        row("unknown setting, forced",
            u"settings|set|Acount|--text|demo|--force;settings|get|Acount"_s, 0, u"demo\n"_s);
        row("port out of bounds", u"settings|set|port|--number|65536"_s, 2, {},
            u"port must be from 1 to 65535"_s);
        row("frequency out of bounds", u"settings|set|UpdateFrequency|--number|0"_s, 2, {},
            u"UpdateFrequency must be from 1 to 999"_s);
        row("number as text", u"settings|set|TimeoutSeconds|--text|60"_s, 2, {},
            u"TimeoutSeconds holds a number"_s);
        row("settings set, no kind", u"settings|set|Port|1"_s, 2, {},
            u"kovferrit-cli: settings set takes NAME and either --text T or --number N\n"_s +
                trySettings);
        row("settings get, option of set", u"settings|get|Port|--force"_s, 2, {},
            u"kovferrit-cli: settings get does not take --force\n"_s + trySettings);
        // The password's cipher and the access string of a stored query would log in as the
        // account: hidden unless asked for, the rest of the URL kept.
        const QString stored =
            u"settings|set|Account|--text|demo;settings|set|Protocol|--text|62EC11CC;"
            u"settings|set|LastgetjobsQueryString|--text|http://localhost:80/getjobs?product=V"
            u"&serial=42&account=demo&access=1JJdzE1Wo9Dvmu1%2FEOEwtA%3D%3D;"_s;
        const QString url = u"http://localhost:80/getjobs?product=V&serial=42&account=demo"_s;
        row("list hides", stored + u"settings|list"_s, 0,
            u"Account : demo\nProtocol : (hidden)\nLastgetjobsQueryString : "_s + url +
                u"&access=(hidden)\n"_s);
        row("list --show-secrets", stored + u"settings|list|--show-secrets"_s, 0,
            u"Account : demo\nProtocol : 62EC11CC\nLastgetjobsQueryString : "_s + url +
                u"&access=1JJdzE1Wo9Dvmu1%2FEOEwtA%3D%3D\n"_s);
        row("list --json hides", stored + u"settings|list|--json"_s, 0,
            u"{\n...\"LastgetjobsQueryString\": \""_s + url +
                u"&access=(hidden)\",\n        \"Protocol\": \"(hidden)\"\n    }\n}\n..."_s);
        row("list --json --show-secrets", stored + u"settings|list|--json|--show-secrets"_s, 0,
            u"{\n...&access=1JJdzE1Wo9Dvmu1%2FEOEwtA%3D%3D\",\n"
            u"        \"Protocol\": \"62EC11CC\"\n..."_s);
        row("get hides, any case", stored + u"settings|get|lastGETJOBSquerystring"_s, 0,
            url + u"&access=(hidden)\n"_s);
        row("get Protocol hides", stored + u"settings|get|Protocol"_s, 0, u"(hidden)\n"_s);
        row("get --show-secrets", stored + u"settings|get|Protocol|--show-secrets"_s, 0,
            u"62EC11CC\n"_s);
        row("--show-secrets on delete", u"settings|delete|Protocol|--show-secrets"_s, 2, {},
            u"kovferrit-cli: settings delete does not take --show-secrets\n"_s + trySettings);
        const QString account = u"settings|set|Account|--text|demo;"_s;
        row("export", account + u"settings|export|%home/a.reg"_s, 0, {});
        row("export nowhere", account + u"settings|export|%home/none/a.reg"_s, 1, {},
            u"kovferrit-cli: cannot export to %home/none/a.reg: No such file or directory\n"_s);
        // Written into, not replaced.
        row("export to a full device", account + u"settings|export|/dev/full"_s, 1, {},
            u"kovferrit-cli: cannot export to /dev/full: No space left on device\n"_s);
        row("account", u"account|bob;settings|get|Protocol|--show-secrets"_s, 0,
            u"62EC11CC273A9DDC4E601312E410E4D294092909BAD4CF1426A29F7C0EC19407\n"_s, {},
            "secret\n");
        row("account, recorded name",
            u"settings|set|app.EXEName|--text|Other.exe;account|bob;settings|get|Protocol|"
            u"--show-secrets"_s,
            0, u"42655AED6882F511FF659999B92AC35B25A4DB9A680F7D351949DFEC31D0D7F1\n"_s, {},
            "pw\r\n");
        // A forgotten password (empty standard input, or an empty line) stores nothing.
        row("account, no input", u"account|bob"_s, 2, {},
            u"kovferrit-cli: account needs the password on the first line of standard input\n"
            u"Try 'kovferrit-cli account --help'.\n"_s);
        row("account, empty line", u"account|bob;settings|list"_s, 0, {}, {}, "\r\n");
        row("no guide", u"channels|list"_s, 1, {}, u"[ERROR] Channel Database Doesn't Exist"_s);
        for (const QString& number : {u"1000"_s, u"1e20"_s, u"abc"_s, u"-5"_s})
            row(qPrintable(u"channel number "_s + number), u"channels|set|Beta One|"_s + number, 2,
                {}, u"a channel number is a whole number from 1 to 999"_s);
        for (const QString& number : {u"1"_s, u"999"_s})
            row(qPrintable(u"channel number "_s + number), u"channels|set|Beta One|"_s + number, 1,
                {}, u"[ERROR] Channel Database Doesn't Exist"_s);
        // A terminal or a daemon has no window to type the account into and no Sync to click.
        row("sync without account", u"sync"_s, 1,
            u"message: No account is set: run 'kovferrit-cli account NAME' first.\n..."_s,
            u"[KovFerrit] Please specify an account and password."_s);
        // A VDR that refuses the connection: the recorder, where it is and why.
        row("recordings, VDR refuses",
            u"settings|set|Recorder|--text|vdr;settings|set|VdrHost|--text|127.0.0.1;"
            u"settings|set|VdrPort|--number|1;recordings"_s,
            1, {}, u"127.0.0.1, port 1, cannot be used: the connection was refused"_s);
    }
    void commands()
    {
        auto [commands, input, status, out, err] = Cases::fetch();
        // A row that stores another executable name makes the CLI adopt it for the process.
        kov::setExecutableName(u"kovferrit"_s);
        QTemporaryDir home;
        Captured last;
        for (const QString& command : commands.replace(u"%home"_s, home.path()).split(u';')) {
            QStringList args = command.split(u'|', Qt::SkipEmptyParts);
            if (!args.value(0).startsWith(u"--home"_s))
                args = QStringList{u"--home"_s, home.path()} + args;
            last = runCliInProcess(args, input);
        }
        QCOMPARE(last.status, status);
        if (out.endsWith(u"..."_s)) {
            // "..." between parts: each follows the one before it.
            qsizetype at = 0;
            for (const QString& part : out.chopped(3).split(u"..."_s)) {
                at = last.out.indexOf(part, at);
                QVERIFY2(at >= 0, qPrintable(part + u"\nnot in\n"_s + last.out));
            }
            QVERIFY(last.out.startsWith(out.section(u"..."_s, 0, 0)));
        } else
            QCOMPARE(last.out, out);
        err.replace(u"%home"_s, home.path());
        if (err.isEmpty() || err.endsWith(u'\n'))
            QCOMPARE(last.err, err);
        else
            QVERIFY2(last.err.contains(err), qPrintable(last.err));
        // A usage error is one line and where to read more, not the whole usage.
        QVERIFY2(status != 2 || last.err.count(u'\n') <= 2, qPrintable(last.err));
        // The store and an export hold the account: their owner's alone.
        for (const QFileInfo& file : QDir(home.path()).entryInfoList(QDir::Files))
            QVERIFY2(!(file.permissions() & (QFile::ReadGroup | QFile::ReadOther)),
                     qPrintable(file.fileName()));
    }
};

QTEST_GUILESS_MAIN(TestCliCommands)
#include "tst_clicommands.moc"
