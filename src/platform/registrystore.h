#pragma once
// The system-registry stand-in: a typed value store in one SQLite file
// (settings.db in the program folder). It speaks in registry terms (roots, key paths, value
// types, raw bytes, Windows result codes) so that the layers above keep the registry's rules.
#include "sqlconnection.h"

#include <QByteArray>
#include <QHash>
#include <QString>

namespace RegCode {
constexpr qint32 Success = 0;
constexpr qint32 NotFound = 2;       // ERROR_FILE_NOT_FOUND
constexpr qint32 AccessDenied = 5;   // ERROR_ACCESS_DENIED
constexpr qint32 MoreData = 234;     // ERROR_MORE_DATA
constexpr qint32 NoMoreItems = 259;  // ERROR_NO_MORE_ITEMS
constexpr qint32 BadDatabase = 1009; // ERROR_BADDB
constexpr qint32 CantWrite = 1013;   // ERROR_CANTWRITE
constexpr qint32 KeyHasChildren = 1020;
} // namespace RegCode

namespace RegType {
constexpr qint32 None = 0;
constexpr qint32 Text = 1;   // REG_SZ
constexpr qint32 Binary = 3; // REG_BINARY
constexpr qint32 Number = 4; // REG_DWORD
} // namespace RegType

constexpr qint32 kHKeyClassesRoot = static_cast<qint32>(0x80000000u);
constexpr qint32 kHKeyLocalMachine = static_cast<qint32>(0x80000002u);

class RegistryStore
{
public:
    /// The store of the current program folder (reopened when the folder changes).
    static RegistryStore& instance();

    explicit RegistryStore(const QString& databasePath);
    ~RegistryStore();
    RegistryStore(const RegistryStore&) = delete;
    RegistryStore& operator=(const RegistryStore&) = delete;

    QString path() const { return m_path; }
    /// Why the store cannot be opened, or empty text when it can.
    QString problem();

    /// Opens (or, with create, creates with its parents) a key; Success, NotFound or a failure.
    qint32 openKey(qint32 root, const QString& key, bool create);
    /// Reads a value: type and raw bytes.
    qint32 queryValue(qint32 root, const QString& key, const QString& name, qint32* type,
                      QByteArray* data);
    /// Stores a value under an existing key; an existing value keeps its place and name.
    qint32 setValue(qint32 root, const QString& key, const QString& name, qint32 type,
                    const QByteArray& data);
    /// Name of value number index in creation order; NoMoreItems past the last.
    qint32 enumValue(qint32 root, const QString& key, qint32 index, QString* name, qint32* type);
    qint32 deleteValue(qint32 root, const QString& key, const QString& name);
    /// Removes a key without subkeys, with its values.
    qint32 deleteKey(qint32 root, const QString& key);

    /// See RegistryRead.
    void beginRead();
    void endRead();

private:
    bool ensureOpen();
    /// Notes the failed write with SQLite's and the system's reason; CantWrite.
    qint32 writeFailed();
    qint32 keyId(qint32 root, const QString& key, qint64* id);
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
        qint32 code = 0;
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
/// type, its size, its data). While a RegistryRead lives they are all answered from one look
/// at what other processes have committed, taken at its first question.
class RegistryRead
{
public:
    // The store is replaced only when the program folder changes, never within one read.
    RegistryRead() : m_store(RegistryStore::instance()) { m_store.beginRead(); }
    ~RegistryRead() { m_store.endRead(); }
    RegistryRead(const RegistryRead&) = delete;
    RegistryRead& operator=(const RegistryRead&) = delete;

private:
    RegistryStore& m_store;
};

/// Normalises a key path: no leading or trailing "\", single separators.
QString kov_NormaliseKey(const QString& key);
