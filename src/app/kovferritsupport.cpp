#include "kovferritsupport.h"

#include "channels/cquibchannelmanager.h"
#include "foundation/aes.h"
#include "foundation/kov_paths.h"
#include "foundation/translate.h"
#include "platform/folderlock.h"
#include "platform/frontend.h"
#include "platform/httptransfer.h"
#include "platform/userinterface.h"
#include "protocol/cquibreply.h"
#include "protocol/cquibsession.h"
#include "replyrecords.h"
#include "settings/ckovreg.h"
#include "settings/settings_catalogue.h"

#include <QCoreApplication>
#include <QStringList>

#include <memory>

namespace {
struct SupportState
{
    HttpTransfer* transfer = nullptr;
    std::unique_ptr<CQuibSession> session;
    SyncReplyRecords records;
    ReplyRecordConsumer* consumer = nullptr;
    std::unique_ptr<CKovReg> settings;
    QStringList resultTexts;
    int runDepth = 0; // sync runs in progress
    // One sync per program folder, across processes: the desktop program's timer, tray menu
    // and Sync button and kovferrit-cli's sync, fetch, tick and daemon all read and write the
    // same reply file and settings. Held by the outermost run.
    std::unique_ptr<FolderLock> folderLock;
};

// How long a run waits for one of another process to end before it gives up.
constexpr int kFolderLockWaitMs = 3000;

SupportState& state()
{
    static SupportState s;
    return s;
}

void infoBox(const QString& text)
{
    kov_UserInterface().messageBox(text, MessageIcon::Information, kov_AppTitle());
}

// A failed exchange dropped the session's transfer component; a new run hands it over again.
void HandOverAgain()
{
    SupportState& s = state();
    if (s.session && !s.session->HasTransferComponent())
        s.session->Initialize(s.transfer);
}

// What the progress text calls the download of each function.
QString DownloadWord(QuibFunction function)
{
    switch (function) {
    case QuibFunction::GetTargetSystems:
        return Translate(QStringLiteral("Database"));
    case QuibFunction::GetJobs:
        break;
    case QuibFunction::ChannelGuide:
        return Translate(QStringLiteral("Channels"));
    }
    return Translate(QStringLiteral("Job List"));
}
} // namespace

void kov_SetTransferComponent(HttpTransfer* component)
{
    state().transfer = component;
}

void kov_SetRecordConsumer(ReplyRecordConsumer* consumer)
{
    state().consumer = consumer;
}

CQuibSession* kov_SharedSession()
{
    return state().session.get();
}

SyncRunScope::SyncRunScope()
{
    SupportState& s = state();
    if (s.runDepth == 0) {
        auto lock = std::make_unique<FolderLock>(QStringLiteral("sync.lock"), kFolderLockWaitMs);
        m_started = lock->held();
        if (!m_started)
            return;
        s.folderLock = std::move(lock);
        HandOverAgain();
    }
    ++s.runDepth;
}

SyncRunScope::~SyncRunScope()
{
    if (m_started && --state().runDepth == 0)
        state().folderLock.reset();
}

QString kov_SyncBusyText()
{
    return Translate(QStringLiteral("A sync is already running in this program folder."));
}

bool SyncRunScope::reportRecorder()
{
    const QString outage = kov::recorderOutage();
    if (outage.isEmpty())
        return true;
    infoBox(kov::missingRecorderMessage(outage) + kov_CrLf() +
            Translate(QStringLiteral("Jobs left unscheduled in this run:")) + QLatin1Char(' ') +
            QString::number(kov::jobsNotScheduled()));
    return false;
}

bool kov_SyncRunning()
{
    return state().runDepth > 0;
}

void kov_ResetSupport()
{
    kov_ClearStopRequest();
    kov::takeWriteFailure();
    state().session.reset();
    state().consumer = nullptr;
    state().settings.reset();
    state().resultTexts.clear();
    kov_ResetChannelManager();
}

CKovReg& GetSettings()
{
    if (!state().settings) {
        state().settings = std::make_unique<CKovReg>();
        state().settings->SetInfo(kov_SettingsKey(), QString());
    }
    return *state().settings;
}

qint32 DoWork(QuibFunction Function, const QString& Account, const QString& EncryptedPassword,
              TextBox* OutputBox, bool ZeroSerial, bool Manually)
{
    if (state().runDepth == 0) {
        // Outside a sync run a call is a run of its own.
        SyncRunScope run;
        if (!run.started()) {
            infoBox(kov_SyncBusyText());
            return -1;
        }
        const qint32 code =
            DoWork(Function, Account, EncryptedPassword, OutputBox, ZeroSerial, Manually);
        run.reportRecorder();
        return code;
    }
    try {
        if (kov_StopRequested())
            return -1;
        const QString password = AES::DecryptText(EncryptedPassword, kov_ProcessPassPhrase());
        if (Account.isEmpty() || password.isEmpty()) {
            infoBox(Translate(QStringLiteral("Please specify an account and password.")));
            return -1;
        }
        SupportState& s = state();
        if (!s.session) {
            // Made once and never replaced; a later run initialises it again when this fails.
            s.session = std::make_unique<CQuibSession>();
            if (!s.session->Initialize(s.transfer))
                return -1;
        }
        if (OutputBox) {
            OutputBox->setText(QStringLiteral("WAIT ...."));
            OutputBox->repaintNow();
        }
        CKovReg& settings = GetSettings();
        settings.SetInfo(kov_SettingsKey(), QString());
        s.session->setTimeoutSeconds(kov_ReadNumber(settings, KovSetting::TimeoutSeconds));
        s.session->setLogReplies(kov_ReadNumber(settings, KovSetting::LogReplies) == 1);

        s.session->setRecordConsumer(s.consumer ? s.consumer : &s.records);
        const QString word = DownloadWord(Function);
        const bool ok = s.session->ServerFunction(Function, Manually, ZeroSerial);
        if (OutputBox) {
            OutputBox->setText(word + QLatin1Char(' ') + Translate(QStringLiteral("Download")) +
                               QLatin1Char(' ') +
                               Translate(ok ? QStringLiteral("OK") : QStringLiteral("FAILED")));
        }
        if (!ok || !s.session->Reply())
            return -1;
        const qint32 code = s.session->Reply()->ErrorCode();
        if (OutputBox && code != 0)
            OutputBox->setText(OutputBox->text() + QLatin1Char(' ') + QString::number(code));
        return code;
    } catch (const std::exception& e) {
        infoBox(QStringLiteral("manual GetJobs Error: ") + QString::fromLocal8Bit(e.what()));
        return -1;
    }
}

void BuildResultTexts()
{
    // Every text is a literal passed to Translate, so that the string files can list it.
    QStringList table{Translate(QStringLiteral("New Data Received")),
                      Translate(QStringLiteral("No New Data")),
                      Translate(QStringLiteral("Number Exceeded"))};
    for (int code = 3; code <= 9; ++code) // codes the service does not use
        table << Translate(QStringLiteral("Error")) + QString::number(code);
    table << Translate(QStringLiteral("Account Unknown"))
          << Translate(QStringLiteral("Bad Parameter"))
          << Translate(QStringLiteral("Product Unknown"))
          << Translate(QStringLiteral("Initiator Error"))
          << Translate(QStringLiteral("Target Unknown"))
          << Translate(QStringLiteral("Serial Invalid"))
          << Translate(QStringLiteral("Doc Type Unknown"));
    state().resultTexts = table;
}

QString ResultText(qint32 Code)
{
    const QStringList& table = state().resultTexts;
    if (Code >= 0 && Code < table.size())
        return table.at(Code);
    return Translate(QStringLiteral("Quib Error")) + QStringLiteral(" #") + QString::number(Code);
}

bool IsSuccessCode(qint32 Code)
{
    return Code == 0 || Code == 1;
}

QString kov_VersionText()
{
    return Translate(QStringLiteral("Version")) + QLatin1Char(' ') +
           QStringLiteral(KOVFERRIT_VERSION);
}
