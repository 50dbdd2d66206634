#include "channelguide.h"

#include "foundation/ckovqzcsv.h"
#include "foundation/fileexists.h"
#include "foundation/filewriters.h"
#include "foundation/kov_date.h"
#include "foundation/programfolder.h"
#include "foundation/programname.h"
#include "foundation/trace.h"
#include "foundation/translate.h"
#include "platform/clock.h"
#include "platform/userinterface.h"
#include "serverfunction.h"
#include "sessioncontext.h"
#include "settings/ckovreg.h"
#include "settings/quibfunction.h"
#include "settings/settings_catalogue.h"

namespace {
void box(const QString& text, const QString& caption = kov_AppTitle())
{
    kov_UserInterface().messageBox(text, MessageIcon::Information, caption);
}
} // namespace

bool DownloadChannelGuide(TextBox* txtMessage, bool Manually)
{
    CKovReg& settings = GetSettings();
    DoWork(QuibFunction::ChannelGuide, settings.Str(KovSetting::Account),
           settings.Str(KovSetting::Protocol), txtMessage, true, Manually);
    // A guide whose reply could not be stored whole is fetched again by the next run.
    if (kov::writeFailed())
        return false;

    const QString path = kov_ProgramFile(QStringLiteral("kovquibcg.dat"));
    if (!kov_FileExists(path)) {
        box(Translate(QStringLiteral("Failed to get channel database from the server.")));
        return false;
    }
    // The saved guide is the reply as it came: its lines end where the parser's did.
    const QStringList lines = kov_ReadLines(path, nullptr, LineEnds::CrLfOnly);
    qsizetype at = 0;
    while (at < lines.size() && lines.at(at).isEmpty())
        ++at;
    // The status line must be followed by something: the file may not end right after it.
    if (at + 1 >= lines.size()) {
        box(Translate(QStringLiteral("A corrupt channel database was received from server.")),
            Translate(QStringLiteral("Information")));
        return false;
    }
    const QString statusLine = lines.at(at);
    CKovQzCSVrow status;
    const qint32 columns = status.setRowData(statusLine) ? status.NoColumns() : 0;
    if (columns != 4) {
        box(Translate(QStringLiteral("ERROR")) + QLatin1Char(' ') +
            Translate(QStringLiteral("Invalid Header in channel database")) +
            QStringLiteral(".  #") + QString::number(columns));
        return false;
    }
    if (status.Column(0) != QLatin1String("0")) {
        kov_DebugMessage(Translate(QStringLiteral("Channel Database ERROR:")) + QLatin1Char(' ') +
                         statusLine);
        return false;
    }
    CKovQzCSVrow header;
    header.setRowData(lines.at(at + 1));
    if (header.Column(0) != QLatin1String("isocode")) {
        box(Translate(QStringLiteral("ERROR: Channel database is corrupt.")));
        return false;
    }
    settings.setLng(KovSetting::HaveChannelDatabase, 1);
    settings.setStr(KovSetting::NextChannelUpdate, kov_DateText(kov_Now().addMonths(1)));
    return true;
}
