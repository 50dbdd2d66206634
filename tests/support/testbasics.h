#pragma once
// What the tests of every layer share: the test framework, the short form of a data table and
// whole-file reads and writes.
#include <QFile>
#include <QtTest>

#include <tuple>

using namespace Qt::StringLiterals;

/// The columns of a data table, declared once by their types: `using Cases = Columns<QString,
/// int>;`, `Cases::add()` in the _data function before its rows, and
/// `const auto [text, code] = Cases::fetch();` in the test function.
template <typename... T> class Columns
{
public:
    static void add() { add(std::index_sequence_for<T...>()); }
    static std::tuple<T...> fetch() { return fetch(std::index_sequence_for<T...>()); }

private:
    static constexpr const char* kNames[] = {"1", "2", "3", "4", "5", "6", "7", "8"};
    template <std::size_t... I> static void add(std::index_sequence<I...>)
    {
        (QTest::addColumn<T>(kNames[I]), ...);
    }
    template <std::size_t... I> static std::tuple<T...> fetch(std::index_sequence<I...>)
    {
        return {*static_cast<T*>(QTest::qData(kNames[I], qMetaTypeId<T>()))...};
    }
};

inline void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

inline QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
