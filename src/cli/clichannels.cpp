// kovferrit-cli channels and recordings.
#include "channels/channellist.h"
#include "channels/channelmatch.h"
#include "clicommands.h"
#include "clifrontend.h"
#include "foundation/datetext.h"
#include "foundation/programfolder.h"
#include "recorders/recorderfactory.h"
#include "settings/settingscatalogue.h"
#include "settings/settingsstore.h"

#include <QJsonArray>

#include <cstdio>

namespace cli {
namespace {
bool fillView(ChannelListModel& model)
{
    SettingsStore settings = kov::settings();
    const ChannelListModel::Fill fill =
        model.fill(kov::number(settings, Setting::GridFillMethod), 1);
    // The other failures have shown their box; this one would otherwise end without a word.
    if (fill == ChannelListModel::Fill::Unreadable)
        complain(QStringLiteral("the channel guide %1 cannot be read: %2")
                     .arg(kov::programFile(QStringLiteral("kovquibcg.dat")), model.problem()),
                 kFailed);
    return fill == ChannelListModel::Fill::Ok;
}

// The recorder's own sentence names it (host and port for a VDR) and the cause.
int recorderUnreachable(const QString& why)
{
    const QString text = why.isEmpty() ? QStringLiteral("the recorder cannot be reached") : why;
    std::fprintf(stderr, "kovferrit-cli: %s\n", text.toLocal8Bit().constData());
    return kFailed;
}

// Fills the numbers the channel list lacks from the recorder's channel list and saves.
int matchChannels(ChannelListModel& model)
{
    if (!fillView(model))
        return kFailed;
    if (model.method() != 2)
        return usage(QStringLiteral("channels match needs GridFillMethod 0 or 2"));
    bool reachable = false;
    QString why;
    ConfiguredRecorders recorders;
    const std::optional<QList<RecorderChannel>> channels =
        kov::recorderChannels(recorders, &reachable, &why);
    if (!reachable)
        return recorderUnreachable(why);
    if (!channels) {
        std::fputs("kovferrit-cli: the recorder keeps no channel list to match against\n", stderr);
        return kFailed;
    }
    QList<QStringList> rows = model.rows();
    const ChannelMatch match = kov::matchChannels(rows, *channels);
    for (const QString& line : match.filled)
        kov::printLine(QStringLiteral("matched\t") + line);
    for (const QString& name : match.ambiguous)
        kov::printLine(QStringLiteral("ambiguous\t") + name);
    for (const QString& name : match.unmatched)
        kov::printLine(QStringLiteral("unmatched\t") + name);
    if (match.filled.isEmpty())
        return kOk;
    return ChannelListModel::save(model.method(), rows, model.rows()) ? kOk : kFailed;
}
} // namespace

int channelsCommand(const QCommandLineParser& /*parser*/, const QStringList& args)
{
    ChannelListModel model;
    // Options end where the arguments start here, so --json comes as an argument.
    const bool json = args.size() == 2 && args[1] == QLatin1String("--json");
    if (args.value(0) == QLatin1String("list") && (args.size() == 1 || json)) {
        if (!fillView(model))
            return kFailed;
        if (json) {
            QJsonArray channels;
            for (const QStringList& row : model.rows()) {
                bool numbered = false;
                const int number = row.value(1).toInt(&numbered);
                channels << QJsonObject{
                    {QStringLiteral("name"), row.value(0)},
                    {QStringLiteral("number"), numbered ? QJsonValue(number) : QJsonValue()}};
            }
            kov::printJson({{QStringLiteral("channels"), channels}});
            return kOk;
        }
        for (const QStringList& row : model.rows())
            kov::printLine(kov::tableRow(row));
        return kOk;
    }
    if (args.value(0) == QLatin1String("set") && args.size() == 3) {
        QString number;
        if (!ChannelListModel::cleanNumber(args[2], &number))
            return usage(QStringLiteral("a channel number is a whole number from 1 to 999 (or "
                                        "empty to remove it), not: ") +
                         args[2]);
        if (!fillView(model))
            return kFailed;
        if (model.method() != 2)
            return usage(QStringLiteral("channels set needs GridFillMethod 0 or 2"));
        QList<QStringList> rows = model.rows();
        bool found = false;
        for (QStringList& row : rows) {
            if (row.value(0) == args[1]) {
                row[1] = number;
                found = true;
            }
        }
        if (!found) {
            std::fprintf(stderr, "kovferrit-cli: no channel named \"%s\" in the channel guide\n",
                         args[1].toLocal8Bit().constData());
            return kFailed;
        }
        if (!ChannelListModel::hasChanges(rows))
            return kOk;
        return ChannelListModel::save(model.method(), rows, model.rows()) ? kOk : kFailed;
    }
    if (args.value(0) == QLatin1String("match") && args.size() == 1)
        return matchChannels(model);
    return usage(QStringLiteral("channels takes list, set NAME NUMBER or match"));
}

int recordingsCommand(const QCommandLineParser& parser, const QStringList& args)
{
    if (!args.isEmpty())
        return usage(QStringLiteral("recordings takes no arguments"));
    QString why;
    const std::unique_ptr<RecorderScheduler> scheduler = kov::openRecorderForReading(&why);
    if (!scheduler)
        return recorderUnreachable(why);
    const bool json = parser.isSet(QStringLiteral("json"));
    QJsonArray recordings;
    for (const ScheduledProgram& p : scheduler->recordingNames()) {
        const QString start = kov::isoTextWithOffset(p.start);
        const QString end = kov::isoTextWithOffset(p.end);
        if (json)
            recordings << QJsonObject{{QStringLiteral("name"), p.name},
                                      {QStringLiteral("start"), start},
                                      {QStringLiteral("end"), end},
                                      {QStringLiteral("channel"), p.channel},
                                      {QStringLiteral("file"), p.fileName},
                                      {QStringLiteral("tag"), p.tag},
                                      {QStringLiteral("recurrence"), p.recurrence}};
        else
            kov::printLine(kov::tableRow({p.name, start, end, QString::number(p.channel),
                                          p.fileName, p.tag, QString::number(p.recurrence)}));
    }
    if (json)
        kov::printJson({{QStringLiteral("recordings"), recordings}});
    return kOk;
}

} // namespace cli
