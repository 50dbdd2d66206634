#pragma once
// The settings database: a typed value store in one SQLite file (settings.db in the program
// folder). A value lives under a key, a backslash-separated path below a root number, and
// holds a type and raw bytes; every operation answers with a StoreResult.
#include "sqlconnection.h"

#include <QByteArray>
#include <QHash>
#include <QString>

/// What an operation of the store came to. The numbers appear in trace messages, so each keeps
/// the value it has always printed as.
enum class StoreResult : qint32
{
    Success = 0,
    NotFound = 2, ///< no such key, or no such value under it
    AccessDenied = 5,
    MoreData = 234,        ///< the value is larger than the reader allowed for
    NoMoreItems = 259,     ///< an enumeration index past the last entry
    BadDatabase = 1009,    ///< the database cannot be opened or read
    CantWrite = 1013,      ///< a change could not be written (see kov::noteWriteFailure)
    KeyHasChildren = 1020, ///< a key with keys below it cannot be deleted
};

namespace kov {
/// The number a trace message shows for a result.
constexpr qint32 resultNumber(StoreResult result)
{
    return static_cast<qint32>(result);
}
} // namespace kov

// The type of a value, stored with it in the database, so the numbers stay.
namespace StoredType {
constexpr qint32 None = 0;   // no such value
constexpr qint32 Text = 1;   // code-page bytes and a NUL; no bytes for the empty text
constexpr qint32 Binary = 3; // bytes as they are
constexpr qint32 Number = 4; // four bytes, little-endian
} // namespace StoredType

// The roots a key path lies under; the settings lie under kMachineRoot.
constexpr qint32 kClassesRoot = static_cast<qint32>(0x80000000u);
constexpr qint32 kMachineRoot = static_cast<qint32>(0x80000002u);

class SettingsDatabase
{
public:
    /// The store of the current program folder (reopened when the folder changes).
    static SettingsDatabase& instance();

    explicit SettingsDatabase(const QString& databasePath);
    ~SettingsDatabase();
    SettingsDatabase(const SettingsDatabase&) = delete;
    SettingsDatabase& operator=(const SettingsDatabase&) = delete;

    QString path() const { return m_path; }
    /// Why the store cannot be opened, or empty text when it can.
    QString problem();

    /// Opens (or, with create, creates with its parents) a key; Success, NotFound or a failure.
    StoreResult openKey(qint32 root, const QString& key, bool create);
    /// Reads a value: type and raw bytes.
    StoreResult queryValue(qint32 root, const QString& key, const QString& name, qint32* type,
                           QByteArray* data);
    /// Stores a value under an existing key; an existing value keeps its place and name.
    StoreResult setValue(qint32 root, const QString& key, const QString& name, qint32 type,
                         const QByteArray& data);
    /// The name of value number `index` in creation order; NoMoreItems past the last.
    StoreResult enumValue(qint32 root, const QString& key, qint32 index, QString* name,
                          qint32* type);
    StoreResult deleteValue(qint32 root, const QString& key, const QString& name);
    /// Removes a key without subkeys, with its values.
    StoreResult deleteKey(qint32 root, const QString& key);

    /// See SettingsReadScope.
    void beginRead();
    void endRead();

private:
    bool ensureOpen();
    /// Notes the failed write with SQLite's and the system's reason; CantWrite.
    StoreResult writeFailed();
    StoreResult keyId(qint32 root, const QString& key, qint64* id);
    /// The folded form of a key path; the last one is kept, as nearly every call names the
    /// settings key.
    const QString& foldedKey(const QString& key);
    /// Drops the remembered answers when any other connection has committed since they were
    /// read, so a read still sees the last write of every process.
    void dropStaleAnswers();
    /// Drops them after a change of this connection's own, which data_version does not count.
    void forgetAnswers();
    /// The key of the remembered answers about `key` under `root`.
    QString answerKey(qint32 root, const QString& key);

    struct Answer
    {
        StoreResult code = StoreResult::Success;
        qint32 type = 0;
        QByteArray data;
    };

    QString m_path;
    QString m_folder; ///< the program folder m_path lies in
    SqlConnection m_db{"kovreg"};
    QString m_problem;
    bool m_open = false;
    QString m_lastKey;
    QString m_lastFolded;
    // Reads repeat the same few values for every job of a sync; the answers are kept while
    // SQLite's data_version shows no commit of another connection.
    QHash<QString, Answer> m_values;
    QHash<QString, qint64> m_keys; // key id, or -1 for a key that does not exist
    qint64 m_dataVersion = -1;
    int m_readDepth = 0;
    bool m_checkedInRead = false;
};

/// One read of a setting asks the store several questions (does the key exist, the value's
/// type, its size, its data). While a SettingsReadScope lives they are all answered from one look
/// at what other processes have committed, taken at its first question.
class SettingsReadScope
{
public:
    // The store is replaced only when the program folder changes, never within one read.
    SettingsReadScope() : m_store(SettingsDatabase::instance()) { m_store.beginRead(); }
    ~SettingsReadScope() { m_store.endRead(); }
    SettingsReadScope(const SettingsReadScope&) = delete;
    SettingsReadScope& operator=(const SettingsReadScope&) = delete;

private:
    SettingsDatabase& m_store;
};

namespace kov {
/// Normalises a key path: no leading or trailing "\", single separators.
QString normaliseKey(const QString& key);
} // namespace kov
