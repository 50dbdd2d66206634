#include "serverfunction.h"

#include "foundation/aes.h"
#include "foundation/programname.h"
#include "foundation/translate.h"
#include "platform/frontend.h"
#include "platform/userinterface.h"
#include "protocol/cquibreply.h"
#include "protocol/cquibsession.h"
#include "sessioncontext.h"
#include "settings/ckovreg.h"
#include "settings/settings_catalogue.h"
#include "syncrunscope.h"

#include <exception>

namespace {
void infoBox(const QString& text)
{
    kov_UserInterface().messageBox(text, MessageIcon::Information, kov_AppTitle());
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

qint32 DoWork(QuibFunction Function, const QString& Account, const QString& EncryptedPassword,
              TextBox* OutputBox, bool ZeroSerial, bool Manually)
{
    if (!kov_SyncRunning()) {
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
        CQuibSession* session = kov::openSharedSession();
        if (!session)
            return -1;
        if (OutputBox) {
            OutputBox->setText(QStringLiteral("WAIT ...."));
            OutputBox->repaintNow();
        }
        CKovReg& settings = GetSettings();
        settings.SetInfo(kov_SettingsKey(), QString());
        session->setTimeoutSeconds(kov_ReadNumber(settings, KovSetting::TimeoutSeconds));
        session->setLogReplies(kov_ReadNumber(settings, KovSetting::LogReplies) == 1);

        session->setRecordConsumer(kov::recordConsumer());
        const QString word = DownloadWord(Function);
        const bool ok = session->ServerFunction(Function, Manually, ZeroSerial);
        if (OutputBox) {
            OutputBox->setText(word + QLatin1Char(' ') + Translate(QStringLiteral("Download")) +
                               QLatin1Char(' ') +
                               Translate(ok ? QStringLiteral("OK") : QStringLiteral("FAILED")));
        }
        if (!ok || !session->Reply())
            return -1;
        const qint32 code = session->Reply()->ErrorCode();
        if (OutputBox && code != 0)
            OutputBox->setText(OutputBox->text() + QLatin1Char(' ') + QString::number(code));
        return code;
    } catch (const std::exception& e) {
        infoBox(QStringLiteral("manual GetJobs Error: ") + QString::fromLocal8Bit(e.what()));
        return -1;
    }
}
