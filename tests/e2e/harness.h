#pragma once
// Black-box harness: runs kovferrit-cli in a program folder of its own and the Quib simulator
// with a JSON scenario, and reads the simulator's request log.
#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

struct CliRun
{
    int status = -1;
    QString out;
    QString err;
    qint64 milliseconds = 0;
    QStringList lines() const { return out.split(QLatin1Char('\n'), Qt::SkipEmptyParts); }
};

class Simulator
{
public:
    Simulator() = default;
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    /// Starts the simulator with `scenario`; false when it did not come up.
    bool start(const QJsonObject& scenario);
    quint16 port() const { return m_port; }
    /// The requests served so far, one JSON object each, in order.
    QList<QJsonObject> requests() const;
    /// The function names of the requests served so far.
    QStringList functions() const;

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    quint16 m_port = 0;
};

/// A program folder with the demo account stored and the simulator's port set.
class CliHome
{
public:
    CliHome();
    QString path() const { return m_dir.path(); }
    QString file(const QString& name) const { return m_dir.filePath(name); }
    CliRun run(const QStringList& args, const QByteArray& input = QByteArray()) const;
    /// Stores account and password (through `account`) and points Port at the simulator.
    void setUp(const Simulator& sim, const QString& account = QStringLiteral("demo"),
               const QString& password = QStringLiteral("demo-password")) const;
    /// Marks the first sync as done: servers and channel database present, guide not due.
    void markSynced() const;
    void writeFile(const QString& name, const QByteArray& bytes) const;
    void set(const QString& name, int number) const;
    void setText(const QString& name, const QString& text) const;
    QString get(const QString& name) const;

private:
    QTemporaryDir m_dir;
};

/// The scenario's standard pieces.
QJsonObject scenario(const QJsonObject& functions);
QString jobLine(const QString& channel, const QString& action, const QString& title, int uid,
                const QString& start = QStringLiteral("2026-12-24 20:15:00 +0100"),
                int sequence = 0);
QJsonObject guideAnswer();
QJsonObject targetsAnswer();
QStringList readLines(const QString& path);
