#pragma once
// One recording job of a getjobs reply, and (cquibjob_schedule.cpp) its scheduling into
// the recorder.
#include <QDateTime>
#include <QString>

class CKovReg;
class RecorderScheduler;

class CQuibJob
{
public:
    CQuibJob();

    /// Parses one job string; schedules it when bScheduleIt. True when the string was accepted
    /// (its channel name is not empty). A numeric column outside 32 bits throws.
    bool CreateJobFromString(const QString& MyString, CKovReg* MyReg, bool bScheduleIt);

    QString Channel() const { return m_channel; }
    qint32 ChannelID() const { return m_channelID; }
    qint32 uID() const { return m_uID; }
    QDateTime StartTime() const { return m_startTime; }
    QDateTime EndTime() const { return m_endTime; }
    QString Action() const { return m_action; }
    QString Title() const { return m_title; }
    qint32 PG() const { return m_pg; }
    qint32 Quality() const { return m_quality; }
    qint32 Sequence() const { return m_sequence; }
    qint32 Priority() const { return m_priority; }
    bool Protection() const { return m_protection; }
    QString Nature() const { return m_nature; }
    QString Format() const { return m_format; }
    QDateTime VPS() const { return m_vps; }
    QString Description() const { return m_description; }
    QString Persons() const { return m_persons; }

    /// The name of the recording: Title + " " + StartTime as "yyyy-MM-dd HH:mm:ss", made safe as
    /// a file name. It is the same under every locale, so a daemon and the desktop program
    /// running under different ones name a job's recording alike.
    QString ProgramName() const;
    /// The name recordings were made under before, with the start as regional date text: such
    /// a recording is still found and deleted, but none is made under it.
    QString RegionalProgramName() const;
    /// The name `recorder` holds this job's recording under (ProgramName first), or an empty
    /// text when it holds none.
    QString ExistingProgramName(RecorderScheduler& recorder) const;
    /// The file name of the last error file written ("ERROR_" + stamp + ".txt"), for tests.
    QString LastErrorFile() const { return m_lastErrorFile; }

private:
    QDateTime HandleTime(const QString& text, bool ignoreOffset);
    bool HandleAction(const QString& action);
    qint32 GetSequence();
    void ClassMessage(const QString& message, bool showBox = false);
    void WriteErrorFile(const QString& data);
    QString ErrorFileName() const;

    QString m_channel;
    qint32 m_channelID = 0;
    qint32 m_uID = 0;
    QDateTime m_startTime;
    QDateTime m_endTime;
    QString m_action;
    QString m_title;
    qint32 m_pg = 0;
    qint32 m_quality = 0;
    qint32 m_sequence = 0;
    qint32 m_priority = 0;
    bool m_protection = false;
    QString m_nature;
    QString m_format;
    QDateTime m_vps;
    QString m_description;
    QString m_persons;
    QString m_raw;
    QString m_lastErrorFile;
};
