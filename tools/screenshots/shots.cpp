// Saves a screenshot of each window of the desktop program, filled with demo data, to the
// folder given on the command line. scripts/screenshots.sh runs it under Xvfb.
#include "advancedsettingswindow.h"
#include "app/account.h"
#include "app/resulttexts.h"
#include "app/updatetimer.h"
#include "channellistwindow.h"
#include "channelnumberprompt.h"
#include "foundation/datetext.h"
#include "foundation/programfolder.h"
#include "foundation/translate.h"
#include "logviewer.h"
#include "mainwindow.h"
#include "platform/clock.h"
#include "platform/qthttptransfer.h"
#include "settings/settingscatalogue.h"
#include "settings/settingsstore.h"
#include "widgetuserinterface.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTimer>

namespace {
void save(QWidget* w, const QString& folder, const QString& name)
{
    w->show();
    w->raise();
    QApplication::processEvents();
    QTimer::singleShot(0, [] {});
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    w->grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
}

void write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}
} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QString out =
        QDir(app.arguments().value(1, QStringLiteral("docs/screenshots"))).absolutePath();
    QDir().mkpath(out);
    QTemporaryDir home;
    kov::setProgramFolder(home.path());
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit()); // "Start at login" shows off
    WidgetUserInterface ui;
    kov::setUserInterface(&ui);

    kov::storeAccount(QStringLiteral("demo"));
    kov::storePassword(QStringLiteral("demo-password"));
    SettingsStore settings = kov::settings();
    kov::setText(settings, {Setting::Server, 1}, QStringLiteral("quib1.example,Quib Europe"));
    kov::setText(settings, {Setting::Server, 2}, QStringLiteral("quib2.example,Quib America"));
    kov::setText(settings, Setting::Target, QStringLiteral("quib1.example"));
    write(home.filePath(QStringLiteral("kovquibcg.dat")),
          "0,17,csv,4\r\nisocode,name,id,country,category,language\r\nde,Alpha "
          "TV,101,DE,General,de\r\n"
          "de,Beta One,102,DE,News,de\r\nat,Gamma Kultur,103,AT,Culture,de\r\nch,Delta "
          "Sport,104,CH,Sport,de\r\n");
    write(home.filePath(QStringLiteral("dbchannel.dat")), "7,Alpha TV\r\n8,Beta One\r\n");

    QtHttpTransfer transfer;
    MainWindow main(&transfer, {}, false);
    main.startUp();
    // A long message first: it wraps in the message area.
    main.showMessage(
        kov::translate(QStringLiteral("Channel database has been received from the server.")));
    main.showMessage(QStringLiteral("14:05:00:") + kov::resultText(0));
    const QDateTime now = QDateTime::currentDateTime();
    main.showUpdateText(kov::countdownText(now, now.addSecs(57 * 60)));
    // A German user's run shows the main window in German beside the English ones.
    if (QLocale().language() == QLocale::German) {
        save(&main, out, QStringLiteral("main-window-de"));
        return 0;
    }
    save(&main, out, QStringLiteral("main-window"));

    AdvancedSettingsWindow advanced(&transfer, &main);
    save(&advanced, out, QStringLiteral("advanced-settings"));

    auto* list = new ChannelListWindow(&main);
    save(list, out, QStringLiteral("channel-list"));

    LogViewer log(&main);
    save(&log, out, QStringLiteral("log-viewer"));

    ChannelNumberPrompt prompt(QStringLiteral("Gamma Kultur"));
    save(&prompt, out, QStringLiteral("missing-channel-prompt"));
    return 0;
}
