#pragma once
// The black-box pieces: kovferrit-cli run as a process in a program folder of its own, and the
// Quib simulator over a real socket.
#include "testsupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>

struct Run
{
    int status = -1;
    QString out;
    QString err;
    QStringList lines(const QString& prefix = QString()) const
    {
        return out.split(u'\n', Qt::SkipEmptyParts).filter(QRegularExpression(u"^"_s + prefix));
    }
};

/// The Quib simulator with the demo account, answering from `functions`.
class Simulator
{
public:
    ~Simulator() { m_process.kill(), m_process.waitForFinished(5000); }
    /// `options`: more arguments of the simulator (--tls-cert FILE --tls-key FILE).
    bool start(const QJsonObject& functions,
               const QJsonObject& accounts = {{u"demo"_s, u"demo-password"_s}},
               const QStringList& options = {})
    {
        const QJsonObject scenario{{u"accounts"_s, accounts}, {u"functions"_s, functions}};
        writeBytes(m_dir.filePath(u"scenario.json"_s), QJsonDocument(scenario).toJson());
        m_process.start(u"python3"_s, QStringList{qEnvironmentVariable("KOVFERRIT_SOURCE_DIR") +
                                                      u"/tools/quib-sim/quib_sim.py"_s,
                                                  u"--port"_s, u"0"_s, u"--scenario"_s,
                                                  m_dir.filePath(u"scenario.json"_s), u"--log"_s,
                                                  m_dir.filePath(u"requests.jsonl"_s)} +
                                          options);
        for (int i = 0; i < 40 && !m_process.canReadLine(); ++i)
            m_process.waitForReadyRead(500); // it prints the URL it listens on
        port =
            QString::fromUtf8(m_process.readLine()).section(u':', 2).section(u'/', 0, 0).toUShort();
        return port != 0;
    }
    /// One field of every request served, in order: "function", or a query parameter.
    QStringList served(const QString& field) const
    {
        QStringList values;
        for (const QByteArray& line : readBytes(m_dir.filePath(u"requests.jsonl"_s)).split('\n')) {
            const QJsonObject request = QJsonDocument::fromJson(line).object();
            if (!request.isEmpty())
                values << (field == u"function"_s ? request[field] : request[u"params"_s][field])
                              .toString();
        }
        return values;
    }
    quint16 port = 0;

private:
    QTemporaryDir m_dir;
    QProcess m_process;
};

inline QJsonObject standard(const QJsonObject& jobs)
{
    return {{u"gettargetsystems"_s, QJsonObject{{u"records"_s, QJsonArray{u"localhost,Local"_s}}}},
            {u"getjobs"_s, jobs},
            {u"channelguide"_s,
             QJsonObject{{u"records"_s, QJsonArray{u"de,Alpha TV,101,DE,General,de"_s,
                                                   u"de,Beta One,102,DE,News,de"_s}}}}};
}

/// Runs kovferrit-cli in a fresh program folder per test function.
class CliTest : public QObject
{
    Q_OBJECT
protected:
    std::unique_ptr<QTemporaryDir> m_home;

    /// `environment`: NAME=VALUE pairs set for the run, NAME= removes one.
    Run run(const QStringList& args, const QByteArray& input = QByteArray(),
            const QStringList& environment = {})
    {
        QProcess p;
        QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
        for (const QString& pair : environment) {
            const QString name = pair.section(u'=', 0, 0);
            const QString value = pair.section(u'=', 1);
            value.isEmpty() ? variables.remove(name) : variables.insert(name, value);
        }
        p.setProcessEnvironment(variables);
        p.start(qEnvironmentVariable("KOVFERRIT_CLI"),
                (args.value(0) == u"--home"_s ? QStringList()
                                              : QStringList{u"--home"_s, m_home->path()}) +
                    args);
        p.waitForStarted();
        p.write(input);
        p.closeWriteChannel();
        p.waitForFinished(120000);
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError())};
    }
    void set(const QString& name, const QString& value, const QString& kind = u"--number"_s)
    {
        QCOMPARE(run({u"settings"_s, u"set"_s, name, kind, value}).status, 0);
    }
    /// The account with `password`, the simulator's port and, when `synced`, the first sync done.
    void setUp(const Simulator& sim, bool synced, const QByteArray& password = "demo-password\n")
    {
        QCOMPARE(run({u"account"_s, u"demo"_s}, password).status, 0);
        set(u"Port"_s, QString::number(sim.port));
        if (synced) {
            set(u"HaveServers"_s, u"1"_s);
            set(u"HaveChannelDatabase"_s, u"1"_s);
            set(u"NextChannelUpdate"_s, u"2099-01-01 00:00:00"_s, u"--text"_s);
        }
    }

protected slots:
    void init() { m_home = std::make_unique<QTemporaryDir>(); }
};
