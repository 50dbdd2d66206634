#pragma once
// Shared pieces of the tests up to the settings layer: the test framework and settings store, a
// fresh program folder per test with a scripted user interface and a trace capture, and doubles
// for what the core lets vary (the HTTP transfer, the clock and the main window's front end).
// The recorder's double is in recordertestsupport.h, the pieces of the app layer in
// apptestsupport.h.
#include "foundation/datetext.h"
#include "platform/clock.h"
#include "platform/httptransfer.h"
#include "platform/secretstore.h"
#include "platform/syncfrontend.h"
#include "platform/textbox.h"
#include "platform/userinterface.h"
#include "settings/settingscatalogue.h"
#include "settings/settingsstore.h"

#include "testbasics.h"

#include <QTemporaryDir>

#include <memory>

Q_DECLARE_METATYPE(Setting)
Q_DECLARE_METATYPE(SettingKey)

/// A box's icon and buttons as tests compare them: "Information", "Question YesNo".
QString messageStyleText(MessageStyle style);

class ScriptedUserInterface : public UserInterface
{
public:
    MessageAnswer messageBox(const QString& text, MessageStyle style,
                             const QString& caption) override
    {
        boxes << text;
        boxFrames << messageStyleText(style) + u' ' + caption;
        return boxAnswers.isEmpty() ? MessageAnswer::Ok : boxAnswers.takeFirst();
    }
    int askChannelNumber(const QString& channelName, qint32 suggested) override
    {
        askedChannels << channelName;
        suggestions << suggested;
        return channelAnswers.isEmpty() ? 0 : channelAnswers.takeFirst();
    }
    void showProgress(int done, int total) override
    {
        progress << QString::number(done) + u'/' + QString::number(total);
        if (onProgress)
            onProgress(done, total);
    }
    QStringList boxes;                        // the texts of the message boxes shown
    QStringList boxFrames;                    // styles and captions: "Information KovFerrit"
    QStringList askedChannels;                // the channel names asked for
    QList<qint32> suggestions;                // the number offered with each question
    QList<int> channelAnswers;                // answered in order; 0 (cancel) when used up
    QList<MessageAnswer> boxAnswers;          // buttons pressed, in order; Ok when used up
    QStringList progress;                     // each progress report, as "done/total"
    std::function<void(int, int)> onProgress; // runs at each report
};

/// The desktop keyring in memory. `state` Done is a keyring that answers; the others answer
/// every call so. Starts with no keyring at all, as on a headless box.
class MemorySecretStore : public SecretStore
{
public:
    Result read(const QString& service, const QString& key) override;
    Result write(const QString& service, const QString& key, const QString& secret) override;
    Result remove(const QString& service, const QString& key) override;

    Outcome state = Outcome::Unavailable;
    QMap<QPair<QString, QString>, QString> items; // by (service, key)
};

/// A fresh program folder, the scripted interface, no keyring and a trace capture.
class TestEnvironment
{
public:
    TestEnvironment();
    ~TestEnvironment();
    TestEnvironment(const TestEnvironment&) = delete;
    TestEnvironment& operator=(const TestEnvironment&) = delete;

    QString folder() const { return m_dir.path(); }
    QString file(const QString& name) const { return m_dir.filePath(name); }
    bool traced(const QString& text) const { return trace.contains(text); }
    bool tracedPart(const QString& part) const { return !trace.filter(part).isEmpty(); }

    ScriptedUserInterface ui;
    MemorySecretStore keyring;
    QStringList trace;

    /// The layers above settings keep state of their own between test functions; a layer's
    /// test support registers here what resets it and hands it the test's transfer (nullptr
    /// when the test ends).
    using LayerReset = void (*)(HttpTransfer* transfer);
    static bool addLayerReset(LayerReset reset);
    static void resetLayers(HttpTransfer* transfer);

private:
    QTemporaryDir m_dir;
};

/// Answers openUrl from a script: each entry is a body, or a failure when `fails` is set.
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

    QString openUrl(const QString& url) override;
    void setRequestTimeout(qint32) override {}
    qint32 requestTimeout() const override { return 0; }
    bool isBusy() const override { return false; }
    void cancel() override { ++cancels; }
    /// The server functions asked for, in order.
    QStringList functions() const;

    QList<Answer> answers; // used in order; the last one repeats
    QStringList urls;
    std::function<void()> during; // runs while a request is on its way
    int cancels = 0;
};

/// A local port just freed, so that a connection to it is refused at once; 0 when none could be
/// had.
quint16 refusingPort();

/// A settings store at the program's key, for the typed accessors (kov::setNumber(testSettings(),
/// Setting::Port, 80)); every store object reads and writes the one settings database.
inline SettingsStore& testSettings()
{
    static SettingsStore settings = kov::settings();
    return settings;
}

/// The time every test starts at.
inline const QDateTime kTestNow(QDate(2026, 12, 6), QTime(12, 0, 30));

class FixedClock : public Clock
{
public:
    explicit FixedClock(const QDateTime& t) : time(t) {}
    QDateTime now() const override { return time; }
    QDateTime time;
};

/// The fixture of most test classes: for each test function a TestEnvironment, the clock
/// fixed at kTestNow and a scripted transfer installed; setUp() adds what a class needs.
class EnvironmentTest : public QObject
{
    Q_OBJECT
protected:
    virtual void setUp() {}
    std::unique_ptr<TestEnvironment> env;
    FixedClock clock{kTestNow};
    FakeTransfer transfer;

private slots:
    void init();
    void cleanup() { env.reset(); }
};

/// Stores the account and the password (encrypted under the process pass phrase).
void storeCredentials(const QString& account = u"demo"_s, const QString& password = u"pw"_s);
/// A reply document: the lines joined and ended with CR LF.
inline QString replyDocument(const QStringList& lines)
{
    return lines.join(u"\r\n"_s) + u"\r\n"_s;
}

class RecordingTextBox : public TextBox
{
public:
    void setText(const QString& text) override { history << (value = text); }
    QString text() const override { return value; }
    QString value;
    QStringList history;
};

class RecordingFrontEnd : public SyncFrontEnd
{
public:
    void showMessage(const QString& text) override { messages << text; }
    void showUpdateText(const QString& text) override { updates << text; }
    TextBox* messageArea() override { return &box; }
    void enableUpdateTimer() override { timerEnabled = true; }

    RecordingTextBox box;
    QStringList messages;
    QStringList updates;
    bool timerEnabled = false;
};
