#include "settingslisting.h"

#include "foundation/texttools.h"
#include "platform/settingsdatabase.h"
#include "settings/settingscatalogue.h"
#include "settings/settingsstore.h"

#include <QRegularExpression>

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

// The URL with the value of every access parameter, up to the next parameter, as the mark.
QString withoutAccess(QString url)
{
    static const QRegularExpression access(QStringLiteral("([?&]access=)[^&]*"),
                                           QRegularExpression::CaseInsensitiveOption);
    return url.replace(access, QStringLiteral("\\1") + kov::hiddenMark());
}
} // namespace

QString kov::hiddenMark()
{
    return QStringLiteral("(hidden)");
}

QVariant kov::shownValue(const QString& name, const QVariant& value, Secrets secrets)
{
    // Found by its row, as the store finds a name (any case, any function), so a setting added
    // to the catalogue is listed as it is without a change here.
    const SettingRow* row = secrets == Secrets::Hidden ? findSetting(name) : nullptr;
    if (!row)
        return value;
    if (row->key == Setting::Protocol)
        return hiddenMark();
    if (row->key == Setting::LastQueryString)
        return withoutAccess(value.toString());
    return value;
}

QString kov::settingsListing(Secrets secrets)
{
    SettingsStore settings = kov::settings();
    QString listing;
    for (const QString& name : storedNames(settings))
        listing += name + QStringLiteral(" : ") +
                   shownValue(name, settings.value(name), secrets).toString() + kov::crLf();
    return listing;
}

QJsonObject kov::settingsObject(Secrets secrets)
{
    SettingsStore settings = kov::settings();
    QJsonObject values;
    for (const QString& name : storedNames(settings))
        values.insert(name,
                      QJsonValue::fromVariant(shownValue(name, settings.value(name), secrets)));
    return values;
}
