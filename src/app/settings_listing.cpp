#include "settings_listing.h"

#include "foundation/texttools.h"
#include "platform/registrystore.h"
#include "settings/ckovreg.h"

QString kov_SettingsListing()
{
    CKovReg reg = kov_Settings();
    QString listing;
    for (qint32 index = 0;; ++index) {
        const QString name = reg.EnumValue(index, QString(), kHKeyLocalMachine);
        if (name.isEmpty())
            break;
        listing += name + QStringLiteral(" : ") + reg.value(name).toString() + kov_CrLf();
    }
    return listing;
}
