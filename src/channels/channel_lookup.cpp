#include "channel_lookup.h"

#include "channelmatch.h"
#include "foundation/codepage.h"
#include "foundation/kov_paths.h"
#include "foundation/kov_vb.h"
#include "platform/userinterface.h"

#include <QFile>

#include <stdexcept>

namespace {
void silent(const QString& message)
{
    kov_ClassMessage("CQuibChannelManager", message, kov_InDevelopment());
}

// Splits the file into delimited fields the way the platform's sequential input reads them:
// commas and line ends separate, blanks before a field are skipped, quotes are dropped.
QStringList delimitedFields(const QString& text)
{
    QStringList fields;
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto isLineEnd = [&](qsizetype k) {
        return text[k] == QLatin1Char('\r') || text[k] == QLatin1Char('\n');
    };
    while (i < n) {
        while (i < n && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
            ++i;
        if (i < n && isLineEnd(i)) { // an empty line holds no field
            ++i;
            continue;
        }
        QString field;
        if (i < n && text[i] == QLatin1Char('"')) {
            const qsizetype close = text.indexOf(QLatin1Char('"'), i + 1);
            field = text.mid(i + 1, (close < 0 ? n : close) - i - 1);
            i = close < 0 ? n : close + 1;
            while (i < n && text[i] != QLatin1Char(',') && !isLineEnd(i))
                ++i;
        } else {
            const qsizetype start = i;
            while (i < n && text[i] != QLatin1Char(',') && !isLineEnd(i))
                ++i;
            field = text.mid(start, i - start);
            while (field.endsWith(QLatin1Char(' ')) || field.endsWith(QLatin1Char('\t')))
                field.chop(1);
        }
        fields << field;
        if (i < n && text[i] == QLatin1Char(','))
            ++i;
        else if (i < n && text[i] == QLatin1Char('\r'))
            i += (i + 1 < n && text[i + 1] == QLatin1Char('\n')) ? 2 : 1;
        else if (i < n)
            ++i;
    }
    return fields;
}

// A number field of the sequential input: empty reads 0, anything not a number is a failure.
qint32 numberField(const QString& field)
{
    return field.trimmed().isEmpty() ? 0 : kov_CLng(field);
}
} // namespace

qint32 SuggestedNumber(const QString& name)
{
    // Only a recorder that keeps a channel list of its own (VDR) has something to propose.
    const auto channels = kov_RecorderChannels();
    return channels ? kov_MatchedNumber(name, *channels) : 0;
}

QString kov_ChannelDatabasePath()
{
    return kov_ProgramFile(QStringLiteral("dbchannel.dat"));
}

qint32 GetChannelByName(const QString& ThisName, bool PromptUser)
{
    qint32 result = 0;
    const QString path = kov_ChannelDatabasePath();
    if (!kov_FileExists(path)) {
        silent(kov_ProgramFolder() + QStringLiteral("\\dbchannel.dat doesn't exist"));
    } else {
        try {
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly))
                throw std::runtime_error("File not found");
            const QStringList fields = delimitedFields(kov::fromCodePage(file.readAll()));
            for (qsizetype k = 0; k + 1 < fields.size(); k += 2) {
                const qint32 number = numberField(fields.at(k));
                if (fields.at(k + 1) == ThisName)
                    result = number;
            }
            if (fields.size() % 2 == 1) // a number without its name: the input ran past the end
                throw std::runtime_error("Input past end of file");
        } catch (const std::exception& e) {
            silent(QStringLiteral("GetChannelByName ERROR: ") + QString::fromLocal8Bit(e.what()));
            return result;
        }
    }
    if (PromptUser && result == 0) {
        const qint32 chosen =
            kov_UserInterface().askChannelNumber(ThisName, SuggestedNumber(ThisName));
        if (chosen != 0) {
            kov_AppendTextFile(path,
                               QString::number(chosen) + QLatin1Char(',') + ThisName + kov_CrLf());
        }
        result = chosen;
    }
    return result;
}
