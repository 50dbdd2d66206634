#include "settingscatalogue.h"

#include "foundation/programname.h"
#include "platform/settingsdatabase.h"
#include "settingsstore.h"

#include <QRegularExpression>

namespace {
using K = SettingKind;
using R = SettingRead;
using D = SettingDefault;

// The blank column of the table below, named short so that each row keeps to one line.
constexpr QLatin1String none{""}; // NOLINT(readability-identifier-naming)

// A pattern entry such as "Last<f>QueryTime" as a regular expression.
QRegularExpression patternOf(const QString& pattern, Qt::CaseSensitivity cs)
{
    // escape() turns the markers into "\\<f\\>" and "\\<n\\>".
    QString re = QRegularExpression::escape(pattern);
    re.replace(QLatin1String("\\<f\\>"), QLatin1String("[A-Za-z]+"));
    re.replace(QLatin1String("\\<n\\>"), QLatin1String("[0-9]+"));
    return QRegularExpression(QLatin1Char('^') + re + QLatin1Char('$'),
                              cs == Qt::CaseSensitive ? QRegularExpression::NoPatternOption
                                                      : QRegularExpression::CaseInsensitiveOption);
}
} // namespace

const QList<SettingDef>& kov::settingsCatalogue()
{
    static const QList<SettingDef> catalogue = {
        // Connection and account
        {QLatin1String("Account"), K::Text, R::Text, D::Constant, none, 0},
        {QLatin1String("Protocol"), K::Text, R::Text, D::Constant, none, 0},
        {QLatin1String("Target"), K::Text, R::Value, D::DefaultHost, none, 0},
        {QLatin1String("<n>Server"), K::Text, R::Text, D::Constant, none, 0},
        {QLatin1String("HaveServers"), K::Number, R::Number, D::Constant, none, 0, 0, 1},
        {QLatin1String("Port"), K::Number, R::Value, D::Constant, none, 80, 1, 65535},
        {QLatin1String("Path"), K::Text, R::Value, D::Constant,
         QLatin1String("cgi-bin/WebObjects/Zorvyn.woa/wa/"), 0},
        {QLatin1String("DocType"), K::Text, R::Value, D::Constant, QLatin1String("csv"), 0},
        {QLatin1String("Product"), K::Text, R::Value, D::Constant, QLatin1String("Velmora+Lumo"),
         0},
        // Every attempt may take timeoutSeconds, and the desktop program waits for them all.
        {QLatin1String("OpenURLRetries"), K::Number, R::NumberOr, D::Constant, none, 3, 1, 10},
        {QLatin1String("TimeoutSeconds"), K::Number, R::NumberOr, D::Constant, none, 60, 1, 600},
        {QLatin1String("LogReplies"), K::Number, R::NumberOr, D::Constant, none, 0, 0, 1},
        {QLatin1String("app.EXEName"), K::Text, R::Value, D::ExecutableName, none, 0},
        // Synchronisation and timing
        {QLatin1String("UpdateFrequency"), K::Number, R::NumberOr, D::Constant, none, 1, 1, 999},
        {QLatin1String("IgnoreOffset"), K::Number, R::NumberOr, D::Constant, none, 1, 0, 1},
        {QLatin1String("NextSync"), K::Text, R::Text, D::Constant, none, 0},
        {QLatin1String("NextChannelUpdate"), K::Text, R::Text, D::Constant, none, 0},
        // The last sync run's end, result, job counts and message, as one JSON object.
        {QLatin1String("LastSync"), K::Text, R::Text, D::Constant, none, 0},
        {QLatin1String("HaveChannelDatabase"), K::Number, R::Number, D::Constant, none, 0, 0, 1},
        // Server replies
        {QLatin1String("Last<f>QueryTime"), K::Text, R::Text, D::Constant, none, 0},
        {QLatin1String("Last<f>QueryString"), K::Text, R::Text, D::Constant, none, 0},
        {QLatin1String("Last<f>ReplyString"), K::Text, R::Text, D::Constant, none, 0},
        {QLatin1String("Last<f>DocType"), K::Text, R::NotRead, D::Constant, none, 0},
        {QLatin1String("Last<f>Serial"), K::Number, R::NotRead, D::Constant, none, 0},
        {QLatin1String("Last<f>ErrorCode"), K::Number, R::NotRead, D::Constant, none, 0},
        {QLatin1String("Last<f>ContentLines"), K::Number, R::NotRead, D::Constant, none, 0},
        {QLatin1String("LastSerial"), K::Number, R::Number, D::Constant, none, 0},
        {QLatin1String("NoDataFields_<f>"), K::Number, R::Number, D::Constant, none, 0},
        {QLatin1String("TokenJobs"), K::Text, R::Text, D::Constant, QLatin1String("channel"), 0},
        {QLatin1String("TokenTarget"), K::Text, R::Text, D::Constant, QLatin1String("target"), 0},
        {QLatin1String("TokenChannel"), K::Text, R::Text, D::Constant, QLatin1String("isocode"), 0},
        {QLatin1String("ValidateHeaders"), K::Number, R::NumberOr, D::Constant, none, 1, 0, 1},
        // Recorder
        {QLatin1String("Recorder"), K::Text, R::Value, D::Constant, QLatin1String("local"), 0},
        {QLatin1String("VdrHost"), K::Text, R::Value, D::Constant, QLatin1String("localhost"), 0},
        {QLatin1String("VdrPort"), K::Number, R::NumberOr, D::Constant, none, 6419, 1, 65535},
        {QLatin1String("VdrTimeoutSeconds"), K::Number, R::NumberOr, D::Constant, none, 10, 1, 600},
        // VDR's own margins for timers made from its guide; 0 switches a margin off.
        {QLatin1String("VdrMarginBefore"), K::Number, R::NumberOr, D::Constant, none, 2, 0, 600},
        {QLatin1String("VdrMarginAfter"), K::Number, R::NumberOr, D::Constant, none, 10, 0, 600},
        {QLatin1String("VdrUseVps"), K::Number, R::NumberOr, D::Constant, none, 1, 0, 1},
        // An empty folder is stored as such and means none, so it must not read as the default.
        {QLatin1String("VdrFolder"), K::Text, R::StoredText, D::Constant,
         QLatin1String("KovFerrit"), 0},
        // The program's windows and files
        {QLatin1String("NextLogNo"), K::Number, R::NumberOr, D::Constant, none, 1},
        {QLatin1String("ChLstLeft"), K::Number, R::NumberOr, D::Caller, none, 0},
        {QLatin1String("ChLstTop"), K::Number, R::NumberOr, D::Caller, none, 0},
        {QLatin1String("ChLstWidth"), K::Number, R::NotRead, D::Constant, none, 0},
        {QLatin1String("ChLstHeight"), K::Number, R::NotRead, D::Constant, none, 0},
        {QLatin1String("ChColW<n>"), K::Number, R::NumberOr, D::Caller, none, 0},
        {QLatin1String("GridFillMethod"), K::Number, R::Number, D::Constant, none, 0},
        // 1: the desktop program notifies of a sync that scheduled or deleted, or failed.
        {QLatin1String("Notifications"), K::Number, R::NumberOr, D::Constant, none, 1, 0, 1},
    };
    return catalogue;
}

const SettingDef* kov::findSetting(const QString& name, Qt::CaseSensitivity cs)
{
    // Exact names first, so "LastSerial" is not taken for the pattern "Last<f>Serial".
    for (const SettingDef& def : kov::settingsCatalogue()) {
        if (QString::compare(def.name, name, cs) == 0)
            return &def;
    }
    for (const SettingDef& def : kov::settingsCatalogue()) {
        if (def.name.contains(QLatin1Char('<')) && patternOf(def.name, cs).match(name).hasMatch())
            return &def;
    }
    return nullptr;
}

QVariant kov::settingDefault(const SettingDef& def)
{
    switch (def.source) {
    case SettingDefault::DefaultHost:
        return kov::defaultHost();
    case SettingDefault::ExecutableName:
        return kov::executableName();
    default:
        break;
    }
    if (def.kind == SettingKind::Number)
        return def.numberDefault;
    return QString(def.textDefault);
}

QString kov::settingValueProblem(const QString& name, const QVariant& value)
{
    // The store compares names without case, so "port" is Port.
    const SettingDef* def = kov::findSetting(name, Qt::CaseInsensitive);
    if (!def)
        return QStringLiteral("%1 is not a setting of the program").arg(name);
    const bool number = value.typeId() == QMetaType::Int;
    if (number != (def->kind == SettingKind::Number))
        return QStringLiteral("%1 holds %2")
            .arg(name, number ? QStringLiteral("text") : QStringLiteral("a number"));
    if (number && (value.toInt() < def->minimum || value.toInt() > def->maximum))
        return QStringLiteral("%1 must be from %2 to %3")
            .arg(name, QString::number(def->minimum), QString::number(def->maximum));
    return QString();
}

QVariant kov::readSetting(SettingsStore& settings, const QString& name, qint32 callerDefault)
{
    const SettingsReadScope read;
    const SettingDef* def = kov::findSetting(name);
    if (!def)
        return settings.text(name);
    const QVariant fallback =
        def->source == SettingDefault::Caller ? QVariant(callerDefault) : kov::settingDefault(*def);
    switch (def->read) {
    case SettingRead::Number:
        return settings.number(name);
    case SettingRead::NumberOr:
        return settings.numberOr(name, fallback.toInt());
    case SettingRead::Value:
        return settings.value(name, fallback);
    case SettingRead::StoredText:
        // A missing value is written with the default, as by SettingRead::Value; a stored one, even
        // an empty text, is returned as it is.
        return settings.value(name, settings.valueExists(name) ? QVariant(QString()) : fallback);
    case SettingRead::Text:
    case SettingRead::NotRead:
        break;
    }
    if (def->kind == SettingKind::Number)
        return settings.number(name);
    QString text = settings.text(name);
    // The token values are written with their default when found empty, so a reply can be checked
    // against them.
    if (text.isEmpty() && !def->textDefault.isEmpty()) {
        settings.setText(name, def->textDefault);
        text = def->textDefault;
    }
    return text;
}

QString kov::readText(SettingsStore& settings, const QString& name)
{
    return kov::readSetting(settings, name).toString();
}

qint32 kov::readNumber(SettingsStore& settings, const QString& name, qint32 callerDefault)
{
    return kov::readSetting(settings, name, callerDefault).toInt();
}

QString kov::defaultHost()
{
    return QStringLiteral(KOVFERRIT_DEFAULT_HOST);
}

QString kov::defaultPath()
{
    return kov::settingDefault(*kov::findSetting(KovSetting::Path)).toString();
}

namespace KovSetting {
QString server(qint32 n)
{
    return QString::number(n) + QLatin1String("Server");
}
QString last(QuibFunction function, const QString& suffix)
{
    return QLatin1String("Last") + kov::functionName(function) + suffix;
}
QString noDataFields(QuibFunction function)
{
    return QLatin1String("NoDataFields_") + kov::functionName(function);
}
QString columnWidth(qint32 column)
{
    return QLatin1String("ChColW") + QString::number(column);
}
} // namespace KovSetting
