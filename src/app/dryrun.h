#pragma once
// A preview of a sync: the reply is fetched and parsed as usual, but a job record only says
// what the sync would do with it. Nothing is written to the recorder or the channel database
// (no prompt either: an unknown channel without a number given beforehand is reported as such).
#include "replyrecords.h"

#include <QStringList>

class DryRunRecords : public SyncReplyRecords
{
public:
    void takeRecord(QuibFunction function, qint32 index, const QString& text,
                    const CsvRow& fields) override;

    /// One line per job: what, program name, start, end, service channel, channel number,
    /// separated by TABs; times with their offset from UTC. What is create, exists, delete,
    /// recording (delete of a program being recorded, which the recorder keeps), absent (delete of
    /// a missing program), unknown-channel or unsupported. A channel the channel database lacks
    /// takes the number the user interface was given beforehand, without asking.
    QStringList lines() const;
    /// The same per job, one field each, for output that keeps fields apart by itself (JSON).
    const QList<QStringList>& rows() const { return m_rows; }
    /// Set when the recorder could not be asked; existence then reads as "no".
    bool recorderMissing() const { return m_recorderMissing; }

private:
    QList<QStringList> m_rows;
    bool m_recorderMissing = false;
};
