#include "harness.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QRegularExpression>

namespace {
QString sourceDir()
{
    return qEnvironmentVariable("KOVFERRIT_SOURCE_DIR");
}
QString cliPath()
{
    return qEnvironmentVariable("KOVFERRIT_CLI");
}
} // namespace

Simulator::~Simulator()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

bool Simulator::start(const QJsonObject& scenario)
{
    QFile file(m_dir.filePath(QStringLiteral("scenario.json")));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(QJsonDocument(scenario).toJson());
    file.close();
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    m_process.start(QStringLiteral("python3"),
                    {sourceDir() + QStringLiteral("/tools/quib-sim/quib_sim.py"),
                     QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--scenario"),
                     file.fileName(), QStringLiteral("--log"),
                     m_dir.filePath(QStringLiteral("requests.jsonl"))});
    if (!m_process.waitForStarted(10000))
        return false;
    // The first line is the URL it listens on.
    QElapsedTimer wait;
    wait.start();
    while (!m_process.canReadLine() && wait.elapsed() < 20000)
        m_process.waitForReadyRead(500);
    const QString line = QString::fromUtf8(m_process.readLine()).trimmed();
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral(":(\\d+)/$")).match(line);
    m_port = m.hasMatch() ? m.captured(1).toUShort() : 0;
    return m_port != 0;
}

QList<QJsonObject> Simulator::requests() const
{
    QList<QJsonObject> list;
    for (const QString& line : readLines(m_dir.filePath(QStringLiteral("requests.jsonl"))))
        list << QJsonDocument::fromJson(line.toUtf8()).object();
    return list;
}

QStringList Simulator::functions() const
{
    QStringList names;
    for (const QJsonObject& r : requests())
        names << r.value(QStringLiteral("function")).toString();
    return names;
}

CliHome::CliHome() = default;

CliRun CliHome::run(const QStringList& args, const QByteArray& input) const
{
    QProcess p;
    QElapsedTimer clock;
    clock.start();
    p.start(cliPath(), QStringList{QStringLiteral("--home"), path()} + args);
    p.waitForStarted();
    if (!input.isEmpty())
        p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(180000);
    CliRun r;
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    r.milliseconds = clock.elapsed();
    return r;
}

void CliHome::setUp(const Simulator& sim, const QString& account, const QString& password) const
{
    run({QStringLiteral("account"), account}, password.toUtf8() + '\n');
    set(QStringLiteral("Port"), sim.port());
}

void CliHome::markSynced() const
{
    set(QStringLiteral("HaveServers"), 1);
    set(QStringLiteral("HaveChannelDatabase"), 1);
    setText(QStringLiteral("NextChannelUpdate"), QStringLiteral("2099-01-01 00:00:00"));
}

void CliHome::writeFile(const QString& name, const QByteArray& bytes) const
{
    QFile f(file(name));
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

void CliHome::set(const QString& name, int number) const
{
    run({QStringLiteral("settings"), QStringLiteral("set"), name, QStringLiteral("--number"),
         QString::number(number)});
}

void CliHome::setText(const QString& name, const QString& text) const
{
    run({QStringLiteral("settings"), QStringLiteral("set"), name, QStringLiteral("--text"), text});
}

QString CliHome::get(const QString& name) const
{
    return run({QStringLiteral("settings"), QStringLiteral("get"), name}).out.trimmed();
}

QJsonObject scenario(const QJsonObject& functions)
{
    return QJsonObject{{QStringLiteral("accounts"),
                        QJsonObject{{QStringLiteral("demo"), QStringLiteral("demo-password")}}},
                       {QStringLiteral("functions"), functions}};
}

QString jobLine(const QString& channel, const QString& action, const QString& title, int uid,
                const QString& start, int sequence)
{
    return QStringList{channel,
                       QStringLiteral("101"),
                       QString::number(uid),
                       start,
                       QStringLiteral("2026-12-24 23:00:00 +0100"),
                       action,
                       title,
                       QStringLiteral("0"),
                       QStringLiteral("1"),
                       QString::number(sequence),
                       QStringLiteral("2"),
                       QStringLiteral("1"),
                       QStringLiteral("n"),
                       QStringLiteral("f"),
                       QString(),
                       QStringLiteral("d"),
                       QString()}
        .join(QLatin1Char(','));
}

QJsonObject guideAnswer()
{
    return QJsonObject{
        {QStringLiteral("serial"), 17},
        {QStringLiteral("records"), QJsonArray{QStringLiteral("de,Alpha TV,101,DE,General,de"),
                                               QStringLiteral("de,Beta One,102,DE,News,de")}}};
}

QJsonObject targetsAnswer()
{
    return QJsonObject{
        {QStringLiteral("records"), QJsonArray{QStringLiteral("localhost,Local simulator")}}};
}

QStringList readLines(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}
