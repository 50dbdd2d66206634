#pragma once
// Test doubles for what the core lets vary: the HTTP transfer, the clock, the recorder's
// scheduler and the main window's front end.
#include "platform/clock.h"
#include "platform/frontend.h"
#include "platform/httptransfer.h"
#include "platform/recorderscheduler.h"

#include <QList>
#include <QStringList>

/// Answers OpenURL from a script: each entry is a body, or a failure when `fails` is set.
class FakeTransfer : public HttpTransfer
{
public:
    struct Answer
    {
        QString body;
        bool fails = false;
    };
    void queue(const QString& body) { answers.append({body, false}); }
    void queueFailure(const QString& what) { answers.append({what, true}); }

    QString OpenURL(const QString& url) override;
    void setRequestTimeout(qint32 seconds) override { timeout = seconds; }
    qint32 RequestTimeout() const override { return timeout; }
    bool StillExecuting() const override { return executing; }
    void Cancel() override { ++cancels; }

    QList<Answer> answers; // used in order; the last one repeats
    QStringList urls;
    qint32 timeout = 0;
    bool executing = false;
    int cancels = 0;
};

class FixedClock : public Clock
{
public:
    explicit FixedClock(const QDateTime& t) : time(t) {}
    QDateTime now() const override { return time; }
    QDateTime time;
};

/// Records every call with its arguments; answers as configured.
class RecordingScheduler : public RecorderScheduler
{
public:
    struct Created
    {
        qint32 arg1;
        QString name;
        QDateTime start;
        QDateTime end;
        qint32 channel;
        qint32 arg6;
        QString fileName;
        QString tag;
        qint32 recurrence;
        bool arg10Omitted;
        bool arg11;
    };
    struct Log
    {
        QStringList existsAsked;
        QList<Created> created;
        QStringList deleted;
        QStringList existing; // names that DoesProgramExist reports
        qint32 createResult = 0;
        bool deleteResult = true;
        bool raises = false; // every call raises a failure instead of answering
    };
    explicit RecordingScheduler(Log& log) : m_log(log) {}

    bool DoesProgramExist(const QString& name) override;
    qint32 CreateProgram(qint32 arg1, const QString& name, const QDateTime& start,
                         const QDateTime& end, qint32 channel, qint32 arg6, const QString& fileName,
                         const QString& tag, qint32 recurrence, const QVariant& arg10,
                         bool arg11) override;
    bool DeleteProgram(const QString& name) override;
    QList<ScheduledProgram> Programs() override { return {}; }

private:
    Log& m_log;
};

/// Installs a factory that makes RecordingSchedulers over one log (or fails when `missing`).
void installRecordingScheduler(RecordingScheduler::Log& log, bool missing = false);

class RecordingTextBox : public TextBox
{
public:
    void setText(const QString& text) override
    {
        value = text;
        history << text;
    }
    QString text() const override { return value; }
    void repaintNow() override { repaints << value; }
    QString value;
    QStringList history;
    QStringList repaints;
};

class RecordingFrontEnd : public SyncFrontEnd
{
public:
    void ShowMessage(const QString& text) override
    {
        messages << text;
        area.ShowMessage(text);
    }
    void ShowUpdateText(const QString& text) override { updates << text; }
    TextBox* messageArea() override { return &box; }
    void enableUpdateTimer() override { timerEnabled = true; }

    RecordingTextBox box;
    MessageArea area{box};
    QStringList messages;
    QStringList updates;
    bool timerEnabled = false;
};

/// A reply document with CR LF line ends (and a final CR LF).
QString replyDocument(const QStringList& lines);
