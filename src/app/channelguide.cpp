#include "channelguide.h"

#include "foundation/csvrow.h"
#include "foundation/csvtable.h"
#include "foundation/datetext.h"
#include "foundation/fileexists.h"
#include "foundation/filewriters.h"
#include "foundation/programfolder.h"
#include "foundation/programname.h"
#include "foundation/trace.h"
#include "foundation/translate.h"
#include "platform/clock.h"
#include "platform/textbox.h"
#include "platform/userinterface.h"
#include "serverfunction.h"
#include "sessioncontext.h"
#include "settings/quibfunction.h"
#include "settings/settingscatalogue.h"
#include "settings/settingsstore.h"

namespace {
void box(const QString& text, const QString& caption = kov::appTitle())
{
    kov::userInterface().messageBox(text, MessageIcon::Information, caption);
}
} // namespace

bool kov::downloadChannelGuide(TextBox* output, bool manually)
{
    SettingsStore& settings = kov::sharedSettings();
    kov::runServerFunction(QuibFunction::ChannelGuide, kov::text(settings, Setting::Account),
                           output, true, manually);
    // A guide whose reply could not be stored whole is fetched again by the next run.
    if (kov::writeFailed())
        return false;

    const QString path = kov::programFile(QStringLiteral("kovquibcg.dat"));
    if (!kov::fileExists(path)) {
        box(kov::translate(QStringLiteral("Failed to get channel database from the server.")));
        return false;
    }
    // The saved guide is the reply as it came: its lines end where the parser's did.
    const QStringList lines = kov::readLines(path, nullptr, LineEnds::CrLfOnly);
    qsizetype at = 0;
    while (at < lines.size() && lines.at(at).isEmpty())
        ++at;
    // The status line must be followed by something: the file may not end right after it.
    if (at + 1 >= lines.size()) {
        box(kov::translate(QStringLiteral("A corrupt channel database was received from server.")),
            kov::translate(QStringLiteral("Information")));
        return false;
    }
    const QString& statusLine = lines.at(at);
    CsvRow status;
    const qint32 columns = status.setText(statusLine) ? status.columnCount() : 0;
    if (columns != 4) {
        box(kov::translate(QStringLiteral("ERROR")) + QLatin1Char(' ') +
            kov::translate(QStringLiteral("Invalid Header in channel database")) +
            QStringLiteral(".  #") + QString::number(columns));
        return false;
    }
    if (status.column(0) != QLatin1String("0")) {
        kov::trace(kov::translate(QStringLiteral("Channel Database ERROR:")) + QLatin1Char(' ') +
                   statusLine);
        return false;
    }
    CsvRow header;
    header.setText(lines.at(at + 1));
    if (header.column(0) != QLatin1String("isocode")) {
        box(kov::translate(QStringLiteral("ERROR: Channel database is corrupt.")));
        return false;
    }
    kov::setNumber(settings, Setting::HaveChannelDatabase, 1);
    kov::setText(settings, Setting::NextChannelUpdate, kov::dateText(kov::now().addMonths(1)));
    return true;
}
