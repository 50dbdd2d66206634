#include "serverfunction.h"

#include "foundation/programname.h"
#include "foundation/translate.h"
#include "platform/textbox.h"
#include "platform/userinterface.h"
#include "protocol/quibsession.h"
#include "protocol/replyparser.h"
#include "sessioncontext.h"
#include "settings/accountpassword.h"
#include "settings/settingscatalogue.h"
#include "settings/settingsstore.h"
#include "syncrunscope.h"

#include <exception>

namespace {
void infoBox(const QString& text)
{
    kov::userInterface().messageBox(text, MessageIcon::Information, kov::appTitle());
}

// What the progress text calls the download of each function.
QString downloadWord(QuibFunction function)
{
    switch (function) {
    case QuibFunction::GetTargetSystems:
        return kov::translate(QStringLiteral("Database"));
    case QuibFunction::GetJobs:
        break;
    case QuibFunction::ChannelGuide:
        return kov::translate(QStringLiteral("Channels"));
    }
    return kov::translate(QStringLiteral("Job List"));
}
} // namespace

qint32 kov::runServerFunction(QuibFunction function, const QString& account, TextBox* output,
                              bool zeroSerial, bool manually)
{
    if (!kov::syncRunning()) {
        // Outside a sync run a call is a run of its own.
        SyncRunScope run;
        if (!run.started()) {
            infoBox(kov::syncBusyText());
            return -1;
        }
        const qint32 code = kov::runServerFunction(function, account, output, zeroSerial, manually);
        run.reportRecorder();
        return code;
    }
    try {
        if (kov::stopRequested())
            return -1;
        const PasswordRead password = kov::readPassword(kov::sharedSettings());
        if (password.problem != PasswordRead::Problem::None) {
            infoBox(kov::passwordProblemText(password));
            return -1;
        }
        if (account.isEmpty() || password.password.isEmpty()) {
            infoBox(kov::translate(QStringLiteral("Please specify an account and password.")));
            return -1;
        }
        QuibSession* session = kov::openSharedSession();
        if (!session)
            return -1;
        if (output) {
            output->setText(QStringLiteral("WAIT ...."));
            output->repaintNow();
        }
        SettingsStore& settings = kov::sharedSettings();
        settings.setKey(kov::settingsKey(), QString());
        session->setTimeoutSeconds(kov::number(settings, Setting::TimeoutSeconds));
        session->setLogReplies(kov::number(settings, Setting::LogReplies) == 1);

        session->setRecordConsumer(kov::recordConsumer());
        const QString word = downloadWord(function);
        const bool ok = session->runServerFunction(function, manually, zeroSerial);
        if (output) {
            output->setText(word + QLatin1Char(' ') + kov::translate(QStringLiteral("Download")) +
                            QLatin1Char(' ') +
                            kov::translate(ok ? QStringLiteral("OK") : QStringLiteral("FAILED")));
        }
        if (!ok || !session->reply())
            return -1;
        const qint32 code = session->reply()->errorCode();
        if (output && code != 0)
            output->setText(output->text() + QLatin1Char(' ') + QString::number(code));
        return code;
    } catch (const std::exception& e) {
        infoBox(QStringLiteral("manual GetJobs Error: ") + QString::fromLocal8Bit(e.what()));
        return -1;
    }
}
