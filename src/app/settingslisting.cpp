#include "settingslisting.h"

#include "foundation/texttools.h"
#include "platform/settingsdatabase.h"
#include "settings/settingsstore.h"

namespace {
// Every value name under the settings key, in enumeration order.
QStringList storedNames(SettingsStore& settings)
{
    QStringList names;
    for (qint32 index = 0;; ++index) {
        const QString name = settings.valueName(index, QString(), kMachineRoot);
        if (name.isEmpty())
            return names;
        names << name;
    }
}
} // namespace

QString kov::settingsListing()
{
    SettingsStore settings = kov::settings();
    QString listing;
    for (const QString& name : storedNames(settings))
        listing += name + QStringLiteral(" : ") + settings.value(name).toString() + kov::crLf();
    return listing;
}

QJsonObject kov::settingsObject()
{
    SettingsStore settings = kov::settings();
    QJsonObject values;
    for (const QString& name : storedNames(settings))
        values.insert(name, QJsonValue::fromVariant(settings.value(name)));
    return values;
}
