#include "artwork.h"
#include "foundation/datetext.h"
#include "foundation/programfolder.h"
#include "foundation/programname.h"
#include "foundation/translate.h"
#include "mainwindow.h"
#include "platform/qthttptransfer.h"
#include "platform/settingsdatabase.h"
#include "platform/singleinstance.h"
#include "qttranslation.h"
#include "settings/settingscatalogue.h"
#include "widgetuserinterface.h"

#include <QApplication>
#include <QFileInfo>
#include <QSystemTrayIcon>

#include <cstdio>
#include <cstring>

namespace {
// --help and --version are answered before the window system is opened: they need no display.
bool answeredWithoutWindow(int argc, char* argv[])
{
    const char* word = argc == 2 ? argv[1] : "";
    if (!std::strcmp(word, "-v") || !std::strcmp(word, "--version")) {
        std::puts("kovferrit " KOVFERRIT_VERSION);
        return true;
    }
    if (!std::strcmp(word, "-h") || !std::strcmp(word, "--help")) {
        std::fputs(
            "usage: kovferrit [--home DIR] [admin | noadmin]\n"
            "The KovFerrit tray program: downloads recording jobs from the Quib service and\n"
            "schedules them into the recorder. kovferrit-cli does the same without a window.\n\n"
            "  --home DIR       keep settings and files in DIR (default: $KOVFERRIT_HOME,\n"
            "                   else ~/.local/share/KovFerrit)\n"
            "  admin, noadmin   start in or out of administrator mode\n"
            "  -h, --help       show this help\n"
            "  -v, --version    show the version\n",
            stdout);
        return true;
    }
    return false;
}

// Takes "--home DIR" or "--home=DIR" out of `arguments` and makes DIR the program folder, as
// kovferrit-cli does. False when the option names no folder.
bool takeHomeOption(QStringList& arguments)
{
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        QString folder;
        if (arguments.at(i) == QLatin1String("--home")) {
            folder = arguments.value(i + 1);
            arguments.remove(i, qMin<qsizetype>(2, arguments.size() - i));
        } else if (arguments.at(i).startsWith(QLatin1String("--home="))) {
            folder = arguments.at(i).mid(7);
            arguments.remove(i);
        } else {
            continue;
        }
        // An empty value (an unset variable in "--home=$DIR") would fall back to the default
        // folder, which is not what the user asked for.
        if (folder.isEmpty())
            return false;
        kov::setProgramFolder(folder);
        --i;
    }
    return true;
}
} // namespace

int main(int argc, char* argv[])
{
    if (answeredWithoutWindow(argc, argv))
        return 0;
    kov::cacheLocalTimeRules(); // before any thread starts: it sets TZ
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KovFerrit"));
    QApplication::setApplicationVersion(QStringLiteral(KOVFERRIT_VERSION));
    QApplication::setWindowIcon(Artwork::windowIcon()); // for any window without its own
    kov::installQtTranslation(); // "Ja", "Nein", "Abbrechen" on message boxes under de_DE
    // The tray keeps the program alive while the window is hidden.
    QApplication::setQuitOnLastWindowClosed(false);
    kov::setExecutableName(QFileInfo(QApplication::applicationFilePath()).completeBaseName());
    QStringList arguments = QApplication::arguments().mid(1);
    if (!takeHomeOption(arguments)) {
        std::fputs("kovferrit: --home needs a folder\nTry 'kovferrit --help'.\n", stderr);
        return 2;
    }

    WidgetUserInterface ui;
    kov::setUserInterface(&ui);
    // Settings, channel database and logs live in the program folder; without it nothing the
    // user enters would be kept.
    if (const QString problem = kov::programFolderProblem(); !problem.isEmpty()) {
        ui.messageBox(kov::translate(QStringLiteral("The program folder cannot be used")) +
                          QStringLiteral(": ") + kov::programFolder() + QStringLiteral(" (") +
                          problem + QLatin1Char(')'),
                      MessageIcon::Critical, kov::appTitle());
        return 1;
    }
    // One copy per program folder: a second start shows the running copy's window instead.
    SingleInstance instance;
    switch (instance.claim()) {
    case SingleInstance::Claim::First:
        break;
    case SingleInstance::Claim::HandedOver:
        return 0;
    case SingleInstance::Claim::NoAnswer:
        ui.messageBox(kov::translate(QStringLiteral(
                          "KovFerrit already runs for this program folder but does not answer")) +
                          QStringLiteral(": ") + kov::programFolder(),
                      MessageIcon::Critical, kov::appTitle());
        return 1;
    }
    // Without its settings the program would run on defaults and keep nothing the user sets.
    if (const QString problem = SettingsDatabase::instance().problem(); !problem.isEmpty()) {
        const QString text = kov::translate(QStringLiteral("The settings store cannot be opened")) +
                             QStringLiteral(": ") + SettingsDatabase::instance().path() +
                             QStringLiteral(" (") + problem + QLatin1Char(')');
        std::fprintf(stderr, "kovferrit: %s\n", text.toLocal8Bit().constData());
        ui.messageBox(text, MessageIcon::Critical, kov::appTitle());
        return 1;
    }
    QtHttpTransfer transfer;
    MainWindow window(&transfer, arguments, QSystemTrayIcon::isSystemTrayAvailable());
    window.setQuitOnClose(true);
    QObject::connect(&instance, &SingleInstance::anotherStart, &window,
                     &MainWindow::onAnotherStart);
    instance.listen(); // a start meanwhile has waited for this
    ui.setProgressDisplay([&window](int done, int total) { window.showProgress(done, total); });
    window.startUp();
    if (window.exiting()) // "E&xit" was chosen during the start-up's sync, before the loop ran
        return 0;
    return QApplication::exec();
}
