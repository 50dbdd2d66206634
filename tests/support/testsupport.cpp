#include "testsupport.h"

#include "app/account.h"
#include "app/sessioncontext.h"
#include "foundation/programfolder.h"
#include "foundation/trace.h"
#include "foundation/translate.h"
#include "recorders/recorderfactory.h"

#include <QFile>
#include <QTcpServer>

#include <stdexcept>

TestEnvironment::TestEnvironment()
{
    kov::setProgramFolder(m_dir.path());
    kov::setUserInterface(&ui);
    kov::setTraceObserver([this](const QString& line) { trace << line; });
    kov::resetTranslations();
    kov::resetSupport();
}

TestEnvironment::~TestEnvironment()
{
    kov::resetSupport();
    kov::setSharedTransfer(nullptr);
    kov::setClock(nullptr);
    kov::setTraceObserver({});
    kov::setUserInterface(nullptr);
    kov::setProgramFolder(QString());
    kov::resetTranslations();
}

void EnvironmentTest::init()
{
    env = std::make_unique<TestEnvironment>();
    clock.time = kTestNow;
    kov::setClock(&clock);
    transfer = FakeTransfer();
    kov::setSharedTransfer(&transfer);
    setUp();
}

QString messageStyleText(MessageStyle style)
{
    QString text;
    switch (style.icon) {
    case MessageIcon::None:
        text = u"None"_s;
        break;
    case MessageIcon::Information:
        text = u"Information"_s;
        break;
    case MessageIcon::Critical:
        text = u"Critical"_s;
        break;
    case MessageIcon::Question:
        text = u"Question"_s;
        break;
    }
    if (style.buttons == MessageButtons::YesNo)
        text += u" YesNo"_s;
    return text;
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void storeCredentials(const QString& account, const QString& password)
{
    kov::storeAccount(account);
    kov::storePassword(password);
}

QString FakeTransfer::openUrl(const QString& url)
{
    urls << url;
    if (during)
        during();
    if (answers.isEmpty())
        return QString();
    const Answer answer = answers.size() > 1 ? answers.takeFirst() : answers.first();
    if (answer.fails)
        throw TransferFailure(answer.body.toStdString());
    return answer.body;
}

QStringList FakeTransfer::functions() const
{
    QStringList names;
    for (const QString& url : urls)
        names << url.section(u'/', -1).section(u'?', 0, 0);
    return names;
}

bool RecordingScheduler::hasRecording(const QString& name)
{
    m_log.calls << u"exists "_s + name;
    if (m_log.raises)
        throw std::runtime_error("Automation error");
    return m_log.existing.contains(name);
}

qint32 RecordingScheduler::createRecording(const RecordingRequest& r)
{
    const QString vps =
        r.vps.isValid() && r.vps.date().year() > 1900 ? r.vps.toString(Qt::ISODate) : QString();
    m_log.calls << u"create %1|%2|%3|%4|%5|%6|%7|%8"_s
                       .arg(r.name, r.start.toString(Qt::ISODate), r.end.toString(Qt::ISODate))
                       .arg(r.channel)
                       .arg(r.fileName, r.tag)
                       .arg(r.recurrence)
                       .arg(vps);
    if (m_log.raises)
        throw std::runtime_error("Automation error");
    if (m_log.createResult == 0)
        m_log.existing << r.name;
    return m_log.createResult;
}

bool RecordingScheduler::deleteRecording(const QString& name)
{
    m_log.calls << u"delete "_s + name;
    if (m_log.raises)
        throw std::runtime_error("Automation error");
    return true;
}

RecordingSchedulerInstalled::RecordingSchedulerInstalled(RecordingScheduler::Log& log, bool missing)
    : m_recorders(log, missing)
{
    kov::setRecordConsumer(&m_records);
}

RecordingSchedulerInstalled::~RecordingSchedulerInstalled()
{
    // A later installation may have taken over already.
    if (kov::recordConsumer() == &m_records)
        kov::setRecordConsumer(nullptr);
}

quint16 refusingPort()
{
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost) ? probe.serverPort() : 0;
}
