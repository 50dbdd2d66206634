// kovferrit-cli's command line in process: the argument table, help, usage errors and exit
// statuses, with the program's standard streams captured.
#include "cli/cliapp.h"
#include "testbasics.h"

#include <QTemporaryFile>

#include <cstdio>
#include <unistd.h>

namespace {
struct Captured
{
    int status = -1;
    QString out;
    QString err;
};

// Points file descriptor `fd` at a temporary file while it lives, and gives back what was
// written there.
class Redirect
{
public:
    Redirect(FILE* stream, int fd) : m_stream(stream), m_fd(fd)
    {
        m_file.open();
        std::fflush(m_stream);
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
    }
    QTemporaryFile m_file;
    FILE* m_stream;
    int m_fd;
    int m_saved = -1;
};

Captured runCliInProcess(const QStringList& args)
{
    Redirect out(stdout, STDOUT_FILENO);
    Redirect err(stderr, STDERR_FILENO);
    Captured result;
    result.status = runCli(args);
    result.out = out.take();
    result.err = err.take();
    return result;
}
} // namespace

class TestCliCommands : public QObject
{
    Q_OBJECT
private slots:
    void arguments_data()
    {
        // Arguments ("|" between them); exit status, standard output (an output ending in
        // "..." is its beginning) and standard error.
        Columns<QString, int, QString, QString>::add();
        const QString tryHelp = u"Try 'kovferrit-cli --help'.\n"_s;
        const QString help = u"usage: kovferrit-cli [--home DIR] [-q | -v] COMMAND ...\n"
                             u"Downloads recording jobs..."_s;
        for (const QString& ask : {u"-h"_s, u"--help"_s, u"help"_s})
            QTest::newRow(qPrintable(ask)) << ask << 0 << help << QString();
        QTest::newRow("--version")
            << u"--version"_s << 0 << u"kovferrit-cli " KOVFERRIT_VERSION "\n"_s << QString();
        QTest::newRow("unknown command")
            << u"frobnicate"_s << 2 << QString()
            << u"kovferrit-cli: unknown command: frobnicate\n"_s + tryHelp;
    }
    void arguments()
    {
        const auto [line, status, out, err] = Columns<QString, int, QString, QString>::fetch();
        const Captured run = runCliInProcess(line.split(u'|', Qt::SkipEmptyParts));
        QCOMPARE(run.status, status);
        if (out.endsWith(u"..."_s))
            QVERIFY2(run.out.startsWith(out.chopped(3)), qPrintable(run.out));
        else
            QCOMPARE(run.out, out);
        QCOMPARE(run.err, err);
    }
};

QTEST_GUILESS_MAIN(TestCliCommands)
#include "tst_clicommands.moc"
