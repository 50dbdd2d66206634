#include "fakes.h"

#include "recorders/recorderfactory.h"
#include <stdexcept>

QString FakeTransfer::OpenURL(const QString& url)
{
    urls << url;
    if (answers.isEmpty())
        return QString();
    const Answer answer = answers.size() > 1 ? answers.takeFirst() : answers.first();
    if (answer.fails)
        throw TransferFailure(answer.body.toStdString());
    return answer.body;
}

bool RecordingScheduler::DoesProgramExist(const QString& name)
{
    m_log.existsAsked << name;
    if (m_log.raises)
        throw std::runtime_error("Automation error");
    return m_log.existing.contains(name);
}

qint32 RecordingScheduler::CreateProgram(qint32 arg1, const QString& name, const QDateTime& start,
                                         const QDateTime& end, qint32 channel, qint32 arg6,
                                         const QString& fileName, const QString& tag,
                                         qint32 recurrence, const QVariant& arg10, bool arg11)
{
    m_log.created.append({arg1, name, start, end, channel, arg6, fileName, tag, recurrence,
                          !arg10.isValid(), arg11});
    if (m_log.raises)
        throw std::runtime_error("Automation error");
    if (m_log.createResult == 0)
        m_log.existing << name;
    return m_log.createResult;
}

bool RecordingScheduler::DeleteProgram(const QString& name)
{
    m_log.deleted << name;
    if (m_log.raises)
        throw std::runtime_error("Automation error");
    return m_log.deleteResult;
}

void installRecordingScheduler(RecordingScheduler::Log& log, bool missing)
{
    kov_SetSchedulerFactory(
        [&log, missing](const QString& progId) -> std::unique_ptr<RecorderScheduler> {
            if (missing || progId != kov_SchedulerProgId())
                return nullptr;
            return std::make_unique<RecordingScheduler>(log);
        });
}

QString replyDocument(const QStringList& lines)
{
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}
