#pragma once
// One recording job of a getjobs reply, and (recordingjobscheduling.cpp) its scheduling into
// the recorder.
#include <QDateTime>
#include <QString>

class CsvRow;
class SettingsStore;
class RecorderScheduler;
class RecorderSource;

class RecordingJob
{
public:
    RecordingJob();

    /// Reads one job record, `text` as received and split into `fields` (no columns when it
    /// could not be split). True when the record was accepted (its channel name is not empty).
    /// A numeric column outside 32 bits throws.
    bool readJob(const QString& text, const CsvRow& fields, SettingsStore* settings);
    /// The same for a record not split yet.
    bool readJob(const QString& text, SettingsStore* settings);
    /// Schedules the job read into a recorder `recorders` makes ("rec" creates the recording,
    /// "delete" deletes it); another action is reported and written to an error file.
    void schedule(RecorderSource& recorders);

    QString channel() const { return m_channel; }
    qint32 channelId() const { return m_channelId; }
    qint32 uid() const { return m_uid; }
    QDateTime startTime() const { return m_startTime; }
    QDateTime endTime() const { return m_endTime; }
    QString action() const { return m_action; }
    QString title() const { return m_title; }
    qint32 pg() const { return m_pg; }
    qint32 quality() const { return m_quality; }
    qint32 sequence() const { return m_sequence; }
    qint32 priority() const { return m_priority; }
    bool protection() const { return m_protection; }
    QString nature() const { return m_nature; }
    QString format() const { return m_format; }
    QDateTime vps() const { return m_vps; }
    QString description() const { return m_description; }
    QString persons() const { return m_persons; }

    /// The name of the recording: the title, a blank and the start time as
    /// "yyyy-MM-dd HH:mm:ss", made safe as a file name. It is the same under every locale, so a
    /// daemon and the desktop program running under different ones name a job's recording alike.
    QString recordingName() const;
    /// The name recordings were made under before, with the start as regional date text: such
    /// a recording is still found and deleted, but none is made under it.
    QString regionalRecordingName() const;
    /// The name `recorder` holds this job's recording under (recordingName first), or an empty
    /// text when it holds none.
    QString existingRecordingName(RecorderScheduler& recorder) const;
    /// The file name of the last error file written ("ERROR_" + stamp + ".txt"), for tests.
    QString lastErrorFile() const { return m_lastErrorFile; }

private:
    QDateTime parseTime(const QString& text, bool ignoreOffset);
    bool acceptAction(const QString& action, RecorderSource& recorders);
    qint32 sequenceNumber();
    void trace(const QString& message, bool showBox = false);
    void writeErrorFile(const QString& data);
    QString errorFileName() const;

    QString m_channel;
    qint32 m_channelId = 0;
    qint32 m_uid = 0;
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
