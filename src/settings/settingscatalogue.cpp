#include "settingscatalogue.h"

#include "foundation/programname.h"
#include "platform/settingsdatabase.h"
#include "settingsstore.h"

#include <array>

namespace {
using S = Setting;
using P = SettingParameter;
using K = SettingKind;
using R = SettingRead;
using D = SettingDefault;

constexpr qint32 kMin = std::numeric_limits<qint32>::min();
constexpr qint32 kMax = std::numeric_limits<qint32>::max();

// One row per Setting, in enum order.
constexpr std::array<SettingRow, kov::kSettingCount> kRows{{
    {S::Target, "Target", P::None, K::Text, R::Value, D::DefaultHost, "", 0, kMin, kMax,
     "The service host: the default one or one of the servers the service lists; written as "
     "\\fBhttps://\\fIhost\\fR, the requests go over HTTPS."},
    {S::Port, "Port", P::None, K::Number, R::Value, D::Constant, "", 80, 1, 65535,
     "The service's port, 1\\(en65535; over HTTPS, 80 stands for 443."},
    {S::UseHttps, "UseHttps", P::None, K::Number, R::NumberOr, D::Constant, "", 0, 0, 1,
     "1: requests go over HTTPS also to a \\fBTarget\\fR written without \\fBhttps://\\fR."},
    {S::TimeoutSeconds, "TimeoutSeconds", P::None, K::Number, R::NumberOr, D::Constant, "", 60, 1,
     600, "How long one request may take, 1\\(en600 seconds."},
    // Every attempt may take TimeoutSeconds, and the desktop program waits for them all.
    {S::OpenUrlRetries, "OpenURLRetries", P::None, K::Number, R::NumberOr, D::Constant, "", 3, 1,
     10, "Attempts per request, 1\\(en10."},
    {S::UpdateFrequency, "UpdateFrequency", P::None, K::Number, R::NumberOr, D::Constant, "", 1, 1,
     999, "Hours between syncs, 1\\(en999."},
    {S::IgnoreOffset, "IgnoreOffset", P::None, K::Number, R::NumberOr, D::Constant, "", 1, 0, 1,
     "1: job times are taken as local times, their UTC offset ignored."},
    {S::LogReplies, "LogReplies", P::None, K::Number, R::NumberOr, D::Constant, "", 0, 0, 1,
     "1: every reply and recorder answer is kept in \\fIReplyLog.txt\\fR."},
    {S::ValidateHeaders, "ValidateHeaders", P::None, K::Number, R::NumberOr, D::Constant, "", 1, 0,
     1, "0: a reply's header token is not checked."},
    {S::Recorder, "Recorder", P::None, K::Text, R::Value, D::Constant, "local", 0, kMin, kMax,
     "\\fBlocal\\fR (the schedule in \\fIKOVSched.db\\fR) or \\fBvdr\\fR."},
    {S::VdrHost, "VdrHost", P::None, K::Text, R::Value, D::Constant, "localhost", 0, kMin, kMax,
     "The VDR host."},
    {S::VdrPort, "VdrPort", P::None, K::Number, R::NumberOr, D::Constant, "", 6419, 1, 65535,
     "VDR's SVDRP port, 1\\(en65535."},
    {S::VdrTimeoutSeconds, "VdrTimeoutSeconds", P::None, K::Number, R::NumberOr, D::Constant, "",
     10, 1, 600, "How long one wait for VDR may take, 1\\(en600 seconds."},
    // VDR's own margins for timers made from its guide; 0 switches a margin off.
    {S::VdrMarginBefore, "VdrMarginBefore", P::None, K::Number, R::NumberOr, D::Constant, "", 2, 0,
     600, "Minutes a VDR timer starts early, 0\\(en600."},
    {S::VdrMarginAfter, "VdrMarginAfter", P::None, K::Number, R::NumberOr, D::Constant, "", 10, 0,
     600, "Minutes a VDR timer ends late, 0\\(en600."},
    {S::VdrUseVps, "VdrUseVps", P::None, K::Number, R::NumberOr, D::Constant, "", 1, 0, 1,
     "1: a job with a VPS time gets a VPS timer."},
    // An empty folder is stored as such and means none, so it must not read as the default.
    {S::VdrFolder, "VdrFolder", P::None, K::Text, R::StoredText, D::Constant, "KovFerrit", 0, kMin,
     kMax, "The folder of the recordings in VDR (\\fB~\\fR separates its levels)."},
    {S::Notifications, "Notifications", P::None, K::Number, R::NumberOr, D::Constant, "", 1, 0, 1,
     "1: the desktop program shows a desktop notification for a sync that scheduled or deleted\n"
     "recordings and for one that failed; 0: none."},

    {S::Account, "Account", P::None, K::Text, R::Text, D::Constant, "", 0},
    {S::Protocol, "Protocol", P::None, K::Text, R::Text, D::Constant, "", 0},
    // 1: the password is in the desktop keyring, and Protocol holds nothing.
    {S::PasswordInKeyring, "PasswordInKeyring", P::None, K::Number, R::Number, D::Constant, "", 0,
     0, 1},
    {S::Server, "%1Server", P::Number, K::Text, R::Text, D::Constant, "", 0},
    {S::HaveServers, "HaveServers", P::None, K::Number, R::Number, D::Constant, "", 0, 0, 1},
    // A stored empty Path is used as it stands; only a missing one takes the default.
    {S::Path, "Path", P::None, K::Text, R::StoredText, D::Constant,
     "cgi-bin/WebObjects/Zorvyn.woa/wa/", 0},
    {S::DocType, "DocType", P::None, K::Text, R::Value, D::Constant, "csv", 0},
    {S::Product, "Product", P::None, K::Text, R::Value, D::Constant, "Velmora+Lumo", 0},
    {S::ExecutableName, "app.EXEName", P::None, K::Text, R::Value, D::ExecutableName, "", 0},
    {S::NextSync, "NextSync", P::None, K::Text, R::Text, D::Constant, "", 0},
    {S::NextChannelUpdate, "NextChannelUpdate", P::None, K::Text, R::Text, D::Constant, "", 0},
    // The last sync run's end, result, job counts and message, as one JSON object.
    {S::LastSync, "LastSync", P::None, K::Text, R::Text, D::Constant, "", 0},
    {S::HaveChannelDatabase, "HaveChannelDatabase", P::None, K::Number, R::Number, D::Constant, "",
     0, 0, 1},
    {S::LastQueryTime, "Last%1QueryTime", P::Function, K::Text, R::Text, D::Constant, "", 0},
    {S::LastQueryString, "Last%1QueryString", P::Function, K::Text, R::Text, D::Constant, "", 0},
    // Read after a failed request, which may have stored none: a missing reply is written empty.
    {S::LastReplyString, "Last%1ReplyString", P::Function, K::Text, R::Value, D::Constant, "", 0},
    {S::LastDocType, "Last%1DocType", P::Function, K::Text, R::NotRead, D::Constant, "", 0},
    {S::LastReplySerial, "Last%1Serial", P::Function, K::Number, R::NotRead, D::Constant, "", 0},
    {S::LastErrorCode, "Last%1ErrorCode", P::Function, K::Number, R::NotRead, D::Constant, "", 0},
    {S::LastContentLines, "Last%1ContentLines", P::Function, K::Number, R::NotRead, D::Constant, "",
     0},
    {S::LastSerial, "LastSerial", P::None, K::Number, R::Number, D::Constant, "", 0},
    {S::FieldCount, "NoDataFields_%1", P::Function, K::Number, R::Number, D::Constant, "", 0},
    // The header tokens are written with their default when found empty, so a reply can be
    // checked against them.
    {S::TokenJobs, "TokenJobs", P::None, K::Text, R::Text, D::Constant, "channel", 0},
    {S::TokenTarget, "TokenTarget", P::None, K::Text, R::Text, D::Constant, "target", 0},
    {S::TokenChannel, "TokenChannel", P::None, K::Text, R::Text, D::Constant, "isocode", 0},
    {S::NextLogNo, "NextLogNo", P::None, K::Number, R::NumberOr, D::Constant, "", 1},
    {S::ChannelListLeft, "ChLstLeft", P::None, K::Number, R::NumberOr, D::Caller, "", 0},
    {S::ChannelListTop, "ChLstTop", P::None, K::Number, R::NumberOr, D::Caller, "", 0},
    {S::ChannelListWidth, "ChLstWidth", P::None, K::Number, R::NotRead, D::Constant, "", 0},
    {S::ChannelListHeight, "ChLstHeight", P::None, K::Number, R::NotRead, D::Constant, "", 0},
    {S::ColumnWidth, "ChColW%1", P::Number, K::Number, R::NumberOr, D::Caller, "", 0},
    {S::GridFillMethod, "GridFillMethod", P::None, K::Number, R::Number, D::Constant, "", 0},
}};

constexpr bool rowsInEnumOrder()
{
    for (int i = 0; i < kov::kSettingCount; ++i) {
        if (static_cast<int>(kRows[i].key) != i)
            return false;
    }
    return true;
}
static_assert(kRows.size() == static_cast<std::size_t>(Setting::Count),
              "one row per Setting enumerator");
static_assert(rowsInEnumOrder(), "the rows follow the Setting enum, one for each enumerator");

bool isParameter(const QString& text, SettingParameter parameter)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        const bool fits = parameter == P::Number
                              ? (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
                              : ((c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
                                 (c >= QLatin1Char('A') && c <= QLatin1Char('Z')));
        if (!fits)
            return false;
    }
    return true;
}

// Whether a typed name is the row's name with some parameter in place of "%1".
bool matchesPattern(const SettingRow& row, const QString& name)
{
    const QString pattern = QLatin1String(row.name);
    const qsizetype at = pattern.indexOf(QLatin1String("%1"));
    const QString prefix = pattern.left(at);
    const QString suffix = pattern.mid(at + 2);
    if (name.size() <= prefix.size() + suffix.size() ||
        !name.startsWith(prefix, Qt::CaseInsensitive) ||
        !name.endsWith(suffix, Qt::CaseInsensitive))
        return false;
    return isParameter(name.mid(prefix.size(), name.size() - prefix.size() - suffix.size()),
                       row.parameter);
}
} // namespace

SettingKey::SettingKey(Setting setting)
    : m_setting(setting), m_name(QString::fromLatin1(kov::settingRow(setting).name))
{
    Q_ASSERT(kov::settingRow(setting).parameter == SettingParameter::None);
}

SettingKey::SettingKey(Setting setting, QuibFunction function)
    : m_setting(setting),
      m_name(QString::fromLatin1(kov::settingRow(setting).name).arg(kov::functionName(function)))
{
    Q_ASSERT(kov::settingRow(setting).parameter == SettingParameter::Function);
}

SettingKey::SettingKey(Setting setting, qint32 number)
    : m_setting(setting), m_name(QString::fromLatin1(kov::settingRow(setting).name).arg(number))
{
    Q_ASSERT(kov::settingRow(setting).parameter == SettingParameter::Number);
}

const SettingRow& kov::settingRow(Setting setting)
{
    return kRows[static_cast<std::size_t>(setting)];
}

const SettingRow* kov::findSetting(const QString& name)
{
    // Exact names first, so "LastSerial" is not taken for "Last%1Serial".
    for (const SettingRow& row : kRows) {
        if (row.parameter == P::None &&
            name.compare(QLatin1String(row.name), Qt::CaseInsensitive) == 0)
            return &row;
    }
    for (const SettingRow& row : kRows) {
        if (row.parameter != P::None && matchesPattern(row, name))
            return &row;
    }
    return nullptr;
}

QVariant kov::settingDefault(Setting setting)
{
    const SettingRow& row = kov::settingRow(setting);
    switch (row.source) {
    case SettingDefault::DefaultHost:
        return kov::defaultHost();
    case SettingDefault::ExecutableName:
        return kov::executableName();
    default:
        break;
    }
    if (row.kind == SettingKind::Number)
        return row.numberDefault;
    return QString::fromLatin1(row.textDefault);
}

QString kov::settingDefaultText(Setting setting)
{
    if (kov::settingRow(setting).source == SettingDefault::DefaultHost)
        return QStringLiteral("the build's default host");
    return kov::settingDefault(setting).toString();
}

QString kov::settingsManualEntries()
{
    QString entries;
    for (const SettingRow& row : kRows) {
        if (!row.description)
            continue;
        entries += QStringLiteral(".TP\n.BR %1 \" (\" %2 \", default \" \"%3\" )\n%4\n")
                       .arg(QString::fromLatin1(row.name),
                            row.kind == SettingKind::Number ? QStringLiteral("number")
                                                            : QStringLiteral("text"),
                            kov::settingDefaultText(row.key), QString::fromLatin1(row.description));
    }
    return entries;
}

QString kov::settingValueProblem(const QString& name, const QVariant& value)
{
    const SettingRow* row = kov::findSetting(name);
    if (!row)
        return QStringLiteral("%1 is not a setting of the program").arg(name);
    const bool number = value.typeId() == QMetaType::Int;
    if (number != (row->kind == SettingKind::Number))
        return QStringLiteral("%1 holds %2")
            .arg(name, number ? QStringLiteral("text") : QStringLiteral("a number"));
    if (number && (value.toInt() < row->minimum || value.toInt() > row->maximum))
        return QStringLiteral("%1 must be from %2 to %3")
            .arg(name, QString::number(row->minimum), QString::number(row->maximum));
    return QString();
}

QVariant kov::readSetting(SettingsStore& settings, const SettingKey& key, qint32 callerDefault)
{
    const SettingsReadScope read;
    const SettingRow& row = kov::settingRow(key.setting());
    const QString& name = key.name();
    const QVariant fallback = row.source == SettingDefault::Caller
                                  ? QVariant(callerDefault)
                                  : kov::settingDefault(key.setting());
    switch (row.read) {
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
    if (row.kind == SettingKind::Number)
        return settings.number(name);
    QString text = settings.text(name);
    const QString textDefault = QString::fromLatin1(row.textDefault);
    if (text.isEmpty() && !textDefault.isEmpty()) {
        settings.setText(name, textDefault);
        text = textDefault;
    }
    return text;
}

QString kov::text(SettingsStore& settings, const SettingKey& key)
{
    return kov::readSetting(settings, key).toString();
}

qint32 kov::number(SettingsStore& settings, const SettingKey& key, qint32 callerDefault)
{
    return kov::readSetting(settings, key, callerDefault).toInt();
}

QString kov::rawText(SettingsStore& settings, const SettingKey& key)
{
    return settings.text(key.name());
}

qint32 kov::rawNumber(SettingsStore& settings, const SettingKey& key)
{
    return settings.number(key.name());
}

bool kov::setText(SettingsStore& settings, const SettingKey& key, const QString& text)
{
    return settings.setText(key.name(), text);
}

bool kov::setNumber(SettingsStore& settings, const SettingKey& key, qint32 number)
{
    return settings.setNumber(key.name(), number);
}

bool kov::settingExists(SettingsStore& settings, const SettingKey& key)
{
    return settings.valueExists(key.name());
}

bool kov::deleteSetting(SettingsStore& settings, const SettingKey& key)
{
    return settings.deleteValue(key.name());
}

QString kov::defaultHost()
{
    return QStringLiteral(KOVFERRIT_DEFAULT_HOST);
}

QString kov::defaultPath()
{
    return kov::settingDefault(Setting::Path).toString();
}
