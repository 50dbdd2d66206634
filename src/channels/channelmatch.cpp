#include "channelmatch.h"

#include "channeldatabase.h"

namespace {
// The numbers of the recorder channels whose name matches, without repeats.
QList<qint32> candidates(const QString& name, const QList<RecorderChannel>& recorder)
{
    const QString key = kov::channelKey(name);
    QList<qint32> numbers;
    for (const RecorderChannel& channel : recorder) {
        // A recorder number the channel database cannot hold is no candidate.
        if (!key.isEmpty() && kov::channelKey(channel.name) == key &&
            kov::isChannelNumber(channel.number) && !numbers.contains(channel.number))
            numbers << channel.number;
    }
    return numbers;
}
} // namespace

std::optional<QList<RecorderChannel>> kov::recorderChannels(RecorderSource& recorders,
                                                            bool* reachable, QString* why)
{
    const std::unique_ptr<RecorderScheduler> recorder =
        recorders.open(RecorderAccess::ReadOnly, why);
    if (reachable)
        *reachable = recorder != nullptr;
    return recorder ? recorder->channels() : std::nullopt;
}

QString kov::channelKey(const QString& name)
{
    QString key;
    for (const QChar c : name) {
        if (c.isLetterOrNumber())
            key += c.toCaseFolded();
    }
    return key;
}

qint32 kov::matchedNumber(const QString& name, const QList<RecorderChannel>& recorder)
{
    const QList<qint32> numbers = candidates(name, recorder);
    return numbers.size() == 1 ? numbers.first() : 0;
}

ChannelMatch kov::matchChannels(QList<QStringList>& rows, const QList<RecorderChannel>& recorder)
{
    ChannelMatch result;
    for (QStringList& row : rows) {
        if (row.size() < 2 || !row.at(1).trimmed().isEmpty())
            continue;
        const QList<qint32> numbers = candidates(row.at(0), recorder);
        if (numbers.size() == 1) {
            row[1] = QString::number(numbers.first());
            result.filled << row.at(0) + QLatin1Char('\t') + row.at(1);
        } else if (numbers.isEmpty()) {
            result.unmatched << row.at(0);
        } else {
            result.ambiguous << row.at(0);
        }
    }
    return result;
}
