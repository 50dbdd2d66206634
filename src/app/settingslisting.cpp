#include "settingslisting.h"

#include "foundation/texttools.h"
#include "platform/settingsdatabase.h"
#include "settings/settingsstore.h"

QString kov::settingsListing()
{
    SettingsStore reg = kov::settings();
    QString listing;
    for (qint32 index = 0;; ++index) {
        const QString name = reg.valueName(index, QString(), kHKeyLocalMachine);
        if (name.isEmpty())
            break;
        listing += name + QStringLiteral(" : ") + reg.value(name).toString() + kov::crLf();
    }
    return listing;
}
