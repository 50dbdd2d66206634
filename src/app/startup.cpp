#include "startup.h"

#include "foundation/datetext.h"
#include "foundation/programname.h"
#include "foundation/trace.h"
#include "foundation/translate.h"
#include "platform/clock.h"
#include "resulttexts.h"
#include "sessioncontext.h"
#include "settings/settingscatalogue.h"
#include "settings/settingsstore.h"
#include "updatetimer.h"

#include <QRegularExpression>

void kov::prepareSession(HttpTransfer* transfer)
{
    kov::setSharedTransfer(transfer);
    kov::buildResultTexts();
}

bool kov::adminModeFromCommandLine(const QStringList& arguments, bool adminMode)
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

void kov::openStartUpSettings(SettingsStore& settings)
{
    settings.setKey(kov::settingsKey());
    if (kov::text(settings, Setting::ExecutableName) != kov::executableName())
        kov::trace(QStringLiteral("Executables are inconsistent !"));
}

StartUpPlan kov::planStartUp(SettingsStore& settings, bool trayAvailable)
{
    const QString stored = kov::text(settings, Setting::NextSync);
    if (stored.isEmpty() || stored == kov::syncSentinel())
        kov::setText(settings, Setting::NextSync, kov::dateText(kov::now().addDays(-1)));

    StartUpPlan plan;
    const qint32 haveDatabase = kov::number(settings, Setting::HaveChannelDatabase);
    if (haveDatabase != 0) {
        const QString next = kov::text(settings, Setting::NextSync);
        const QDateTime due = kov::dateOrZero(next);
        plan.syncNow = due < kov::now();
        if (plan.syncNow)
            plan.updateText =
                kov::translate(QStringLiteral("Updating Now ...")) + QStringLiteral(" : ") + next;
        else
            plan.updateText = kov::countdownText(kov::now(), due);
    } else {
        plan.specifyAccount = true;
    }
    plan.startHidden = haveDatabase == 1 && trayAvailable;
    plan.timerRuns = haveDatabase != 0;
    return plan;
}
