#include "fuzzsupport.h"

#include "app/sessioncontext.h"
#include "apptestsupport.h"
#include "channels/channelcatalog.h"
#include "foundation/codepage.h"
#include "foundation/programfolder.h"

#include <QCoreApplication>
#include <QFile>

namespace {
struct Harness
{
    int argc = 1;
    char name[12] = "kovferrit";
    char* argv[2] = {name, nullptr};
    QCoreApplication app{argc, argv};
    TestEnvironment env;
    RecordingScheduler::Log recorder;
    std::unique_ptr<RecordingSchedulerInstalled> installed;
};

Harness* harness = nullptr;

void tearDown()
{
    delete harness;
    harness = nullptr;
}
} // namespace

void fuzzSetUp()
{
    if (harness)
        return;
    harness = new Harness;
    harness->installed = installRecordingScheduler(harness->recorder);
    // An unknown channel is answered with 7, so the answer is appended to the channel database
    // and later lookups read it back.
    harness->env.ui.channelAnswers = {7};
    // libFuzzer ends the process with exit(). The settings store is opened first so that Qt's
    // own statics exist before the handler is registered: it then runs before they go, and
    // the application object closes the store while Qt SQL is still there.
    kov::sharedSettings().text(QStringLiteral("Account"));
    atexit(tearDown);
}

void fuzzReset()
{
    harness->recorder.calls.clear();
    harness->env.ui.boxes.clear();
    harness->env.ui.boxFrames.clear();
    harness->env.ui.askedChannels.clear();
    harness->env.ui.suggestions.clear();
    harness->env.ui.channelAnswers = {7};
    harness->env.trace.clear();
    kov::resetChannelCatalog();
    QFile::remove(kov::programFile(QStringLiteral("dbchannel.dat")));
}

QString fuzzText(const uint8_t* data, size_t size)
{
    return kov::fromCodePage(
        QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
}

QString fuzzFile(const QString& name, const uint8_t* data, size_t size)
{
    const QString path = kov::programFile(name);
    writeBytes(path, QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    return path;
}
