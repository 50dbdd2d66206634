#include "startup.h"

#include "foundation/kov_date.h"
#include "foundation/programname.h"
#include "foundation/trace.h"
#include "foundation/translate.h"
#include "platform/clock.h"
#include "resulttexts.h"
#include "sessioncontext.h"
#include "settings/ckovreg.h"
#include "settings/settings_catalogue.h"
#include "updatetimer.h"

#include <QRegularExpression>

void kov_PrepareSession(HttpTransfer* transfer)
{
    kov_SetTransferComponent(transfer);
    BuildResultTexts();
}

bool kov_AdminModeFromCommandLine(const QStringList& arguments, bool adminMode)
{
    const QStringList words =
        arguments.join(QLatin1Char(' '))
            .split(QRegularExpression(QStringLiteral("[ \\t]+")), Qt::SkipEmptyParts)
            .mid(0, 10);
    for (const QString& word : words) {
        if (word == QLatin1String("noadmin"))
            adminMode = false;
        else if (word == QLatin1String("admin"))
            adminMode = true;
    }
    return adminMode;
}

void kov_OpenStartUpSettings(CKovReg& settings)
{
    settings.SetInfo(kov_SettingsKey());
    if (kov_ReadText(settings, KovSetting::AppEXEName) != kov_ExecutableName())
        kov_DebugMessage(QStringLiteral("Executables are inconsistent !"));
}

StartUpPlan kov_PlanStartUp(CKovReg& settings, bool trayAvailable)
{
    const QString stored = settings.Str(KovSetting::NextSync);
    if (stored.isEmpty() || stored == kov_SyncSentinel())
        settings.setStr(KovSetting::NextSync, kov_DateText(kov_Now().addDays(-1)));

    StartUpPlan plan;
    const qint32 haveDatabase = settings.Lng(KovSetting::HaveChannelDatabase);
    if (haveDatabase != 0) {
        const QString next = settings.Str(KovSetting::NextSync);
        const QDateTime due = MakeDate(next);
        plan.syncNow = due < kov_Now();
        if (plan.syncNow)
            plan.updateText =
                Translate(QStringLiteral("Updating Now ...")) + QStringLiteral(" : ") + next;
        else
            plan.updateText = kov_CountdownText(kov_Now(), due);
    } else {
        plan.specifyAccount = true;
    }
    plan.startHidden = haveDatabase == 1 && trayAvailable;
    plan.timerRuns = haveDatabase != 0;
    return plan;
}
