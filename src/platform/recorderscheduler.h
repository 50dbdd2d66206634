#pragma once
// The recording-scheduler control "KOVSchedControl.KOVSched": what the scheduling step asks
// of a recorder. The backends (a local store, VDR) live in src/recorders.
#include <QDateTime>
#include <QList>
#include <QString>
#include <QVariant>

#include <optional>

/// One stored recording, as `kovferrit-cli recordings` lists it.
struct ScheduledProgram
{
    QString name;
    QDateTime start;
    QDateTime end;
    qint32 channel = 0;
    QString fileName;
    QString tag;
    qint32 recurrence = 0;
};

/// A channel as the recorder numbers it.
struct RecorderChannel
{
    qint32 number = 0;
    QString name;
};

class RecorderScheduler
{
public:
    virtual ~RecorderScheduler() = default;
    virtual bool DoesProgramExist(const QString& name) = 0;
    /// The eleven arguments of the control; argument 10 is omitted (an invalid QVariant).
    virtual qint32 CreateProgram(qint32 arg1, const QString& name, const QDateTime& start,
                                 const QDateTime& end, qint32 channel, qint32 arg6,
                                 const QString& fileName, const QString& tag, qint32 recurrence,
                                 const QVariant& arg10, bool arg11) = 0;
    virtual bool DeleteProgram(const QString& name) = 0;
    /// The recordings this program made, oldest first.
    virtual QList<ScheduledProgram> Programs() = 0;
    /// The recorder's own channel list; none when it keeps none or cannot tell.
    virtual std::optional<QList<RecorderChannel>> Channels() { return std::nullopt; }
};
