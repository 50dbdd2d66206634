#pragma once
// Every persistent value of the program, in one table keyed by `Setting`: stored name, kind, the
// read its readers get, its default, the bounds a user may store and whether users may set it.
// Reads and writes go through the accessors below, so a name, its kind and its default are
// written down once, and adding a setting is one enumerator and one row.
#include "quibfunction.h"

#include <QString>
#include <QVariant>

#include <limits>

class SettingsStore;

/// The program's settings. The table in settingscatalogue.cpp has one row per enumerator, in this
/// order; the users' settings come first, in the order the manual lists them.
enum class Setting
{
    // Users may change these with `kovferrit-cli settings set`.
    Target,
    Port,
    UseHttps,
    TimeoutSeconds,
    OpenUrlRetries,
    UpdateFrequency,
    IgnoreOffset,
    LogReplies,
    ValidateHeaders,
    Recorder,
    VdrHost,
    VdrPort,
    VdrTimeoutSeconds,
    VdrMarginBefore,
    VdrMarginAfter,
    VdrUseVps,
    VdrFolder,
    Notifications,
    // The program's own.
    Account,
    Protocol,
    PasswordInKeyring,
    Server, // numbered from 1
    HaveServers,
    Path,
    DocType,
    Product,
    ExecutableName,
    NextSync,
    NextChannelUpdate,
    LastSync,
    HaveChannelDatabase,
    LastQueryTime, // per function, as are the six below
    LastQueryString,
    LastReplyString,
    LastDocType,
    LastReplySerial,
    LastErrorCode,
    LastContentLines,
    LastSerial,
    FieldCount, // per function
    TokenJobs,
    TokenTarget,
    TokenChannel,
    NextLogNo,
    ChannelListLeft,
    ChannelListTop,
    ChannelListWidth,
    ChannelListHeight,
    ColumnWidth, // per column
    GridFillMethod,
    Count // not a setting: the number of them; stays last
};

enum class SettingKind
{
    Text,
    Number
};
/// The SettingsStore read a setting goes through; it fixes whether a read of a missing value
/// creates it.
enum class SettingRead
{
    Text,     // SettingsStore::text; an empty text with a default is written with it
    Number,   // SettingsStore::number
    NumberOr, // SettingsStore::numberOr with the default
    Value,    // SettingsStore::value with the default
    // `value`, except that an empty text stays empty: only a missing value gives the default.
    StoredText,
    NotRead
};
/// Where a default that is not a constant comes from.
enum class SettingDefault
{
    Constant,
    DefaultHost,
    ExecutableName,
    Caller
};
/// What fills the "%1" of a stored name such as "Last%1QueryTime".
enum class SettingParameter
{
    None,
    Function, // a QuibFunction's name
    Number    // a server number or a column
};

struct SettingRow
{
    Setting key;
    const char* name; // the stored name; "%1" stands for the parameter
    SettingParameter parameter;
    SettingKind kind;
    SettingRead read;
    SettingDefault source;
    const char* textDefault;
    qint32 numberDefault;
    // The numbers a user may store (kovferrit-cli settings set); the program's own writes keep
    // their own rules.
    qint32 minimum = std::numeric_limits<qint32>::min();
    qint32 maximum = std::numeric_limits<qint32>::max();
    // For the settings users may change: its line in the manual (roff); nullptr for the others.
    const char* description = nullptr;
};

/// A setting with its parameter, if its row has one; it knows its stored name.
/// `{Setting::Server, 2}` is "2Server", `{Setting::LastQueryTime, QuibFunction::GetJobs}`
/// "LastgetjobsQueryTime".
class SettingKey
{
public:
    SettingKey(Setting setting); // NOLINT(google-explicit-constructor): a plain setting is a key
    SettingKey(Setting setting, QuibFunction function);
    SettingKey(Setting setting, qint32 number);

    Setting setting() const { return m_setting; }
    const QString& name() const { return m_name; }

private:
    Setting m_setting;
    QString m_name;
};

namespace kov {
inline constexpr int kSettingCount = static_cast<int>(Setting::Count);

const SettingRow& settingRow(Setting setting);
/// The row of a name a user typed, compared without case as the store does (a parameter name
/// such as "2Server" included), or nullptr for a name the program never uses.
const SettingRow* findSetting(const QString& name);
/// The default of a setting as a value (text or number).
QVariant settingDefault(Setting setting);
/// The default as the manual writes it ("80", "local", "the build's default host").
QString settingDefaultText(Setting setting);
/// The entries of the manual's SETTINGS section (roff): one per setting users may change, in table
/// order, with its kind, default and description.
QString settingsManualEntries();
/// Why a user may not store `value` (a QString or a qint32) under `name`: a name the program
/// never uses, the other kind, a number out of its bounds. Empty text when it may.
QString settingValueProblem(const QString& name, const QVariant& value);

/// Reads a setting as its row says, creating a missing value where the row's read does. A
/// setting whose default the caller gives (ChLstLeft, ChColW<n> ...) takes `callerDefault`.
QVariant readSetting(SettingsStore& settings, const SettingKey& key, qint32 callerDefault = 0);
QString text(SettingsStore& settings, const SettingKey& key);
qint32 number(SettingsStore& settings, const SettingKey& key, qint32 callerDefault = 0);
/// The stored text or number as it is, without a default and creating nothing: for the places
/// that must tell a missing or empty value from the default.
QString rawText(SettingsStore& settings, const SettingKey& key);
qint32 rawNumber(SettingsStore& settings, const SettingKey& key);

bool setText(SettingsStore& settings, const SettingKey& key, const QString& text);
bool setNumber(SettingsStore& settings, const SettingKey& key, qint32 number);
bool settingExists(SettingsStore& settings, const SettingKey& key);
bool deleteSetting(SettingsStore& settings, const SettingKey& key);

/// The service's default host (CMake cache variable KOVFERRIT_DEFAULT_HOST).
QString defaultHost();
/// The service's default request path.
QString defaultPath();
} // namespace kov
