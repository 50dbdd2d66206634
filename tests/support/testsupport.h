#pragma once
// Shared pieces of the tests: a fresh program folder per test, a scripted user interface
// that records every message box, and a capture of the trace channel.
#include "platform/userinterface.h"

#include <QList>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

struct ShownBox
{
    QString text;
    int style;
    QString caption;
};

class ScriptedUserInterface : public UserInterface
{
public:
    int messageBox(const QString& text, int style, const QString& caption) override;
    int askChannelNumber(const QString& channelName, qint32 suggested) override;

    QList<ShownBox> boxes;
    QStringList askedChannels;
    QList<qint32> suggestions; // the number offered with each question
    QList<int> channelAnswers; // answered in order; 0 (cancel) when used up
    QList<int> boxAnswers;     // buttons pressed, in order; OK (1) when used up
};

/// A fresh program folder, the scripted interface and a trace capture, for one test function.
class TestEnvironment
{
public:
    TestEnvironment();
    ~TestEnvironment();
    TestEnvironment(const TestEnvironment&) = delete;
    TestEnvironment& operator=(const TestEnvironment&) = delete;

    QString folder() const { return m_dir.path(); }
    QString file(const QString& name) const { return m_dir.filePath(name); }
    /// Whether a trace line equal to `text` was sent.
    bool traced(const QString& text) const { return trace.contains(text); }
    /// Whether any trace line begins with `prefix`.
    bool tracedPrefix(const QString& prefix) const;

    ScriptedUserInterface ui;
    QStringList trace;

private:
    QTemporaryDir m_dir;
};

/// Writes raw bytes to a file (test fixtures).
void writeBytes(const QString& path, const QByteArray& bytes);
QByteArray readBytes(const QString& path);

/// A QStringList from UTF-8 literals (the project forbids implicit casts from char*).
QStringList strings(std::initializer_list<const char*> items);

/// Stores the account and the password (encrypted under the process pass phrase).
void storeCredentials(const QString& account, const QString& password);
/// Base64 MD5 access string of Part 1.1, computed independently of the program's code.
QString expectedAccess(const QString& account, const QString& password);
