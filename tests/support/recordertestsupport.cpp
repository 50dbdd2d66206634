#include "recordertestsupport.h"

#include <stdexcept>

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
