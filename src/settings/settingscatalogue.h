#pragma once
// Every persistent value of the program, in one table: name, kind, the accessor its
// readers use and the default a read of a missing value gives. Readers go through
// kov::readSetting so that a name, its kind and its default are written down once.
#include "quibfunction.h"

#include <QLatin1String>
#include <QList>
#include <QString>
#include <QVariant>

#include <limits>

class SettingsStore;

enum class SettingKind
{
    Text,
    Number
};
/// The SettingsStore read a setting goes through; it fixes whether a read of a missing value
/// creates it.
enum class SettingRead
{
    Text,     // SettingsStore::text
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

struct SettingDef
{
    QLatin1String name; // exact name; a pattern holds "<f>" or "<n>" for the variable part
    SettingKind kind;
    SettingRead read;
    SettingDefault source;
    QLatin1String textDefault;
    qint32 numberDefault;
    // The numbers a user may store (kovferrit-cli settings set); the program's own writes
    // keep their own rules.
    qint32 minimum = std::numeric_limits<qint32>::min();
    qint32 maximum = std::numeric_limits<qint32>::max();
};

namespace kov {
/// The catalogue, in the order the log viewer lists it.
const QList<SettingDef>& settingsCatalogue();
/// The entry for a value name (patterns resolved), or nullptr for a name the program never uses.
const SettingDef* findSetting(const QString& name, Qt::CaseSensitivity cs = Qt::CaseSensitive);
/// The catalogue default of a name as a value (text or number).
QVariant settingDefault(const SettingDef& def);
/// Why a user may not store `value` (a QString or a qint32) under `name`: a name the program
/// never uses, the other kind, a number out of its bounds. Empty text when it may.
QString settingValueProblem(const QString& name, const QVariant& value);

/// Reads a setting with the accessor and default of its catalogue entry. A name with a
/// caller-supplied default (ChLstLeft, ChColW<n> ...) takes `callerDefault`.
QVariant readSetting(SettingsStore& settings, const QString& name, qint32 callerDefault = 0);
QString readText(SettingsStore& settings, const QString& name);
qint32 readNumber(SettingsStore& settings, const QString& name, qint32 callerDefault = 0);

/// The service's default host (CMake cache variable KOVFERRIT_DEFAULT_HOST).
QString defaultHost();
/// The service's default request path.
QString defaultPath();
} // namespace kov

namespace KovSetting {
inline const QLatin1String Account{"Account"};
inline const QLatin1String Protocol{"Protocol"};
inline const QLatin1String Target{"Target"};
inline const QLatin1String HaveServers{"HaveServers"};
inline const QLatin1String Port{"Port"};
inline const QLatin1String Path{"Path"};
inline const QLatin1String DocType{"DocType"};
inline const QLatin1String Product{"Product"};
inline const QLatin1String OpenURLRetries{"OpenURLRetries"};
inline const QLatin1String TimeoutSeconds{"TimeoutSeconds"};
inline const QLatin1String LogReplies{"LogReplies"};
inline const QLatin1String AppEXEName{"app.EXEName"};
inline const QLatin1String UpdateFrequency{"UpdateFrequency"};
inline const QLatin1String IgnoreOffset{"IgnoreOffset"};
inline const QLatin1String NextSync{"NextSync"};
inline const QLatin1String NextChannelUpdate{"NextChannelUpdate"};
inline const QLatin1String LastSync{"LastSync"};
inline const QLatin1String HaveChannelDatabase{"HaveChannelDatabase"};
inline const QLatin1String LastSerial{"LastSerial"};
inline const QLatin1String TokenJobs{"TokenJobs"};
inline const QLatin1String TokenTarget{"TokenTarget"};
inline const QLatin1String TokenChannel{"TokenChannel"};
inline const QLatin1String ValidateHeaders{"ValidateHeaders"};
inline const QLatin1String NextLogNo{"NextLogNo"};
inline const QLatin1String ChLstLeft{"ChLstLeft"};
inline const QLatin1String ChLstTop{"ChLstTop"};
inline const QLatin1String ChLstWidth{"ChLstWidth"};
inline const QLatin1String ChLstHeight{"ChLstHeight"};
inline const QLatin1String GridFillMethod{"GridFillMethod"};
inline const QLatin1String Recorder{"Recorder"};
inline const QLatin1String VdrHost{"VdrHost"};
inline const QLatin1String VdrPort{"VdrPort"};
inline const QLatin1String VdrTimeoutSeconds{"VdrTimeoutSeconds"};
inline const QLatin1String VdrMarginBefore{"VdrMarginBefore"};
inline const QLatin1String VdrMarginAfter{"VdrMarginAfter"};
inline const QLatin1String VdrUseVps{"VdrUseVps"};
inline const QLatin1String VdrFolder{"VdrFolder"};
inline const QLatin1String Notifications{"Notifications"};

/// "1Server", "2Server", ...
QString server(qint32 n);
/// "Last" + function name + suffix, e.g. "LastgetjobsQueryTime".
QString last(QuibFunction function, const QString& suffix);
/// "NoDataFields_" + function.
QString noDataFields(QuibFunction function);
/// "ChColW" + column.
QString columnWidth(qint32 column);
} // namespace KovSetting
