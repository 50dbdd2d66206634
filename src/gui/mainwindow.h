#pragma once
// The main window, the program's only permanent one: its start-up, tray icon and buttons. The
// sync run reports through it (SyncFrontEnd), and it owns the update timer `minuteTimer`.
#include "platform/messagearea.h"
#include "platform/syncfrontend.h"
#include "platform/textbox.h"
#include "settings/settingsstore.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QWidget>

#include <memory>

class HttpTransfer;
class QMargins;
class QPoint;
class QRect;
class QSize;
class PlainTextBox;
class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class AdvancedSettingsWindow;
struct StartUpPlan;

class MainWindow : public QWidget, public SyncFrontEnd
{
    Q_OBJECT
public:
    /// `transfer` carries the shared session's requests; `arguments` is the command line
    /// without the program name; `trayAvailable` whether the desktop has a tray (without one
    /// the window stays shown).
    MainWindow(HttpTransfer* transfer, const QStringList& arguments, bool trayAvailable,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    /// Starts the window up: prepares the shared session, fills the fields from the settings,
    /// shows the status and the update line, shows the window or leaves it hidden in the tray
    /// (hidden once the first sync has brought the channel database), adds the tray icon, then
    /// runs a due sync and, once a channel database has arrived, starts the update timer. A
    /// failure shows a message box and skips the steps after it.
    void startUp();

    // SyncFrontEnd
    void showMessage(const QString& text) override;
    void showUpdateText(const QString& text) override;
    TextBox* messageArea() override;
    void enableUpdateTimer() override;
    void runEnding() override;
    /// A run that scheduled or deleted something, or failed, shows a desktop notification
    /// through the tray icon, unless the setting `Notifications` is 0.
    void runFinished(bool succeeded, const QString& counts) override;

    /// The progress of a long reply in the message area. The window's events are handled
    /// meanwhile, so the tray menu works: "E&xit" stops the sync before its next record.
    void showProgress(int done, int total);

    /// Sets admin mode from the command-line words "admin" and "noadmin" (the last one wins).
    void readCommandLine(const QStringList& arguments);
    bool adminMode() const { return m_adminMode; }
    bool windowShownFlag() const { return m_shownFlag; }
    bool trayIconAdded() const { return m_trayAdded; }
    bool exiting() const { return m_shutDown; }
    /// The program ends when this window closes for good (set by main; tests keep their own
    /// loop).
    void setQuitOnClose(bool on) { m_quitOnClose = on; }

signals:
    /// A desktop notification went out.
    void noticeShown(const QString& title, const QString& text);

public slots:
    /// Sync: a manual run, ignored while one started here is still going and within the
    /// double-click interval after a run ended.
    void onSyncClicked();
    /// Enter in the password box: stores the account and the password, then syncs as Sync does.
    void onPasswordEntered();
    /// Close (and the title bar's close with a tray icon): hides the window and its side
    /// windows; the program keeps running in the tray.
    void onCloseClicked();
    void onViewLogClicked();
    /// Opens the advanced settings below the window and restarts the minute timer.
    void onAdvancedClicked();
    void onOpenTriggered();
    /// Another start in this program folder ended in favour of this copy: shows the window.
    void onAnotherStart();
    void onSyncTriggered();
    /// "E&xit": ends the program, stopping a running sync between two jobs.
    void onExitTriggered();
    /// The update timer's minute: a sync when one is due, then the countdown to the next.
    void onMinuteTick();

public:
    QLineEdit* updateLine;
    QPlainTextEdit* messageDisplay;
    QGroupBox* accountBox;
    QLabel* accountLabel;
    QLineEdit* accountField;
    QLabel* passwordLabel;
    QLineEdit* passwordField;
    QPushButton* syncButton;
    QPushButton* logButton;
    QPushButton* advancedButton;
    QPushButton* closeButton;
    QLabel* titleLabel;
    QLabel* logoLabel;
    QTimer* minuteTimer;
    QMenu* trayMenu;
    QAction* openAction;
    QAction* syncAction;
    QAction* exitAction;
    QSystemTrayIcon* trayIcon;
    AdvancedSettingsWindow* advancedWindow() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private slots:
    /// A double-click on the tray icon shows the window. The right button's menu is the icon's
    /// context menu, which Qt pops up itself; other clicks do nothing.
    void onTrayActivated(QSystemTrayIcon::ActivationReason reason);

private:
    int px(int twips) const;
    void buildControls();
    void buildSkinAndTitle();
    void buildDisplays();
    void buildAccountBox();
    void buildButtons();
    void buildTimerAndTray();
    void connectHandlers();
    void loadAccountFields();
    /// Stores the password field unless the keyring holds it already or it stayed empty, saying
    /// where it went when that needs saying.
    void storePasswordField();
    void setCaptionsAndLcdLook();
    void fitMessageArea();
    void showTimerStatus();
    /// The update line, or the request for account and password.
    void showUpdateState(const StartUpPlan& plan);
    void enlargeForLargeFonts();
    /// Centres the window's frame in the free area of its screen.
    void placeInScreenCentre();
    void addTrayIcon();
    void setButtonFaces();
    /// Winds the program down as the window closes for good: the side windows close, a running
    /// sync and request stop, the tray icon and the update timer go.
    void shutDown();
    /// Closes the channel list editor and the advanced settings window, where open.
    void closeSideWindows();
    void showFromTray();

    HttpTransfer* m_transfer;
    QStringList m_arguments;
    bool m_trayAvailable;
    SettingsStore m_settings;
    std::unique_ptr<PlainTextBox> m_messageBox;
    std::unique_ptr<MessageArea> m_messageArea;
    QPointer<AdvancedSettingsWindow> m_advanced;
    bool m_shownFlag = false;
    bool m_busy = false;
    bool m_adminMode = false;
    bool m_trayAdded = false;
    bool m_shutDown = false;
    bool m_exitChosen = false; // "E&xit": the close that follows ends the program
    bool m_quitOnClose = false;
    QElapsedTimer m_runEnded;      // since the last sync run ended
    QString m_passwordAtLoad;      // the stored password, as the field was filled or last stored
    bool m_keyringRefused = false; // the keyring refused that password
};
