#include "settingslisting.h"

#include "foundation/texttools.h"
#include "platform/settingsdatabase.h"
#include "settings/settingsstore.h"

QString kov::settingsListing()
{
    SettingsStore settings = kov::settings();
    QString listing;
    for (qint32 index = 0;; ++index) {
        const QString name = settings.valueName(index, QString(), kMachineRoot);
        if (name.isEmpty())
            break;
        listing += name + QStringLiteral(" : ") + settings.value(name).toString() + kov::crLf();
    }
    return listing;
}

QJsonObject kov::settingsObject()
{
    SettingsStore settings = kov::settings();
    QJsonObject values;
    for (qint32 index = 0;; ++index) {
        const QString name = settings.valueName(index, QString(), kMachineRoot);
        if (name.isEmpty())
            break;
        values.insert(name, QJsonValue::fromVariant(settings.value(name)));
    }
    return values;
}
