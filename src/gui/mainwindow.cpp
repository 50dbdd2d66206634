#include "mainwindow.h"

#include "advancedsettingswindow.h"
#include "app/account.h"
#include "app/lastsync.h"
#include "app/startup.h"
#include "app/syncrun.h"
#include "app/updatetimer.h"
#include "app/versiontext.h"
#include "artwork.h"
#include "channellistwindow.h"
#include "foundation/programname.h"
#include "foundation/translate.h"
#include "logviewer.h"
#include "placement.h"
#include "plaintextbox.h"
#include "platform/httptransfer.h"
#include "platform/userinterface.h"
#include "settings/settingscatalogue.h"
#include "windowkeys.h"
#include "windowunits.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPalette>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTextLayout>
#include <QTimer>
#include <QtMath>

namespace {
constexpr int kWidthTwips = 6075;
constexpr int kHeightTwips = 1995;
// The message area shows two messages, each wrapped to at most two lines at its width.
constexpr int kMessageLines = 4;

// The password box shows one "*" per character, whatever mask the desktop's style uses.
class StarPasswordStyle : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// Swallows the mouse, key and shortcut events it sees while installed on the application.
class InputSink : public QObject
{
protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
            return true;
        default:
            return false;
        }
    }
};

// A request takes no user input while it waits (it repaints only), so the window system holds
// the clicks and keys of that time and hands them over once the run is back in the event loop:
// a click on Sync made during the run would start a second one, whichever way the run began.
// They are delivered and dropped here, before the run counts as finished.
void dropInputHeldDuringRun()
{
    InputSink sink;
    QCoreApplication::instance()->installEventFilter(&sink);
    QCoreApplication::processEvents();
    QCoreApplication::instance()->removeEventFilter(&sink);
}
} // namespace

MainWindow::MainWindow(HttpTransfer* transfer, const QStringList& arguments, bool trayAvailable,
                       QWidget* parent)
    : QWidget(parent), m_transfer(transfer), m_arguments(arguments), m_trayAvailable(trayAvailable)
{
    buildControls();
}

MainWindow::~MainWindow()
{
    if (!m_shutDown)
        shutDown();
}

int MainWindow::px(int twips) const
{
    return kov::twipsToPixels(twips, this);
}

void MainWindow::buildControls()
{
    setWindowTitle(QStringLiteral("KOV Quib Ferrit"));
    setWindowIcon(Artwork::windowIcon());
    setFixedSize(px(kWidthTwips), px(kHeightTwips));
    // Creation order is stacking and tab order: the skin first, the buttons last.
    buildSkinAndTitle();
    buildDisplays();
    buildAccountBox();
    buildButtons();
    buildTimerAndTray();
    m_messageBox = std::make_unique<PlainTextBox>(messageDisplay);
    m_messageArea = std::make_unique<MessageArea>(*m_messageBox);
    connectHandlers();
    kov::useWindowKeys(this, kov::EscapeKey::Kept);
}

void MainWindow::buildSkinAndTitle()
{
    auto* background = new QLabel(this);
    background->setObjectName(QStringLiteral("skin"));
    background->setGeometry(rect());
    background->setPixmap(Artwork::background(size(), false));

    titleLabel = new QLabel(QStringLiteral("KOV Quib Sync"), this);
    titleLabel->setStyleSheet(QStringLiteral("color: rgb(230, 236, 240); font-weight: bold;"));
    titleLabel->setGeometry(px(600), px(75), px(2400), px(180));
    logoLabel = new QLabel(this);
    logoLabel->setGeometry(px(120), px(60), px(360), px(360));
    logoLabel->setPixmap(Artwork::decoration(logoLabel->size()));
}

void MainWindow::buildDisplays()
{
    messageDisplay = new QPlainTextEdit(this);
    messageDisplay->setObjectName(QStringLiteral("messageDisplay"));
    messageDisplay->setReadOnly(true);
    // Both displays only show; Tab passes them by, and the window's focus never starts there.
    messageDisplay->setFocusPolicy(Qt::NoFocus);
    messageDisplay->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    messageDisplay->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // A message longer than the area's width wraps at a space, or inside a word too long for
    // a line, rather than running past the area's right edge.
    messageDisplay->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    messageDisplay->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    QFont lcd = messageDisplay->font();
    lcd.setPointSizeF(lcd.pointSizeF() * 0.85);
    messageDisplay->setFont(lcd);
    messageDisplay->setGeometry(px(120), px(480), px(3000), px(620));
    updateLine = new QLineEdit(this);
    updateLine->setObjectName(QStringLiteral("updateLine"));
    updateLine->setReadOnly(true);
    updateLine->setFocusPolicy(Qt::NoFocus);
    updateLine->setGeometry(px(120), px(1160), px(3000), px(330));
}

void MainWindow::buildAccountBox()
{
    accountBox = new QGroupBox(this);
    accountBox->setGeometry(px(3240), px(60), px(2715), px(1430));
    accountBox->setStyleSheet(QStringLiteral(
        "QGroupBox { color: rgb(230, 236, 240); } QLabel { color: rgb(230, 236, 240); }"));
    accountLabel = new QLabel(accountBox);
    accountLabel->setGeometry(px(120), px(270), px(900), px(300));
    accountField = new QLineEdit(accountBox);
    accountField->setObjectName(QStringLiteral("accountField"));
    accountField->setGeometry(px(1050), px(250), px(1560), px(330));
    passwordLabel = new QLabel(accountBox);
    passwordLabel->setGeometry(px(120), px(700), px(900), px(300));
    passwordField = new QLineEdit(accountBox);
    passwordField->setObjectName(QStringLiteral("passwordField"));
    passwordField->setEchoMode(QLineEdit::Password);
    // The window owns the style; it is deleted after the account box and its fields.
    auto* stars = new StarPasswordStyle;
    stars->setParent(this);
    passwordField->setStyle(stars);
    passwordField->setGeometry(px(1050), px(680), px(1560), px(330));
    syncButton = new QPushButton(accountBox);
    syncButton->setObjectName(QStringLiteral("syncButton"));
    syncButton->setGeometry(px(1050), px(1060), px(1560), px(300));
}

void MainWindow::buildButtons()
{
    logButton = new QPushButton(this);
    logButton->setObjectName(QStringLiteral("logButton"));
    logButton->setGeometry(px(120), px(1560), px(900), px(330));
    advancedButton = new QPushButton(QStringLiteral("\u2699"), this);
    advancedButton->setObjectName(QStringLiteral("advancedButton"));
    advancedButton->setToolTip(kov::translate(QStringLiteral("Advanced")));
    advancedButton->setGeometry(px(1080), px(1560), px(420), px(330));
    closeButton = new QPushButton(QStringLiteral("\u2715"), this);
    closeButton->setObjectName(QStringLiteral("closeButton"));
    closeButton->setToolTip(kov::translate(QStringLiteral("Close")));
    closeButton->setGeometry(px(5520), px(1560), px(420), px(330));
    // Tab follows the window's reading order: the account, then the buttons.
    const QList<QWidget*> tabOrder{accountField, passwordField,  syncButton,
                                   logButton,    advancedButton, closeButton};
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

void MainWindow::buildTimerAndTray()
{
    minuteTimer = new QTimer(this);
    minuteTimer->setInterval(60000);
    trayMenu = new QMenu(this);
    openAction = trayMenu->addAction(kov::translate(QStringLiteral("&Open")));
    syncAction = trayMenu->addAction(kov::translate(QStringLiteral("&Sync Now")));
    exitAction = trayMenu->addAction(kov::translate(QStringLiteral("E&xit")));
    trayIcon = new QSystemTrayIcon(Artwork::windowIcon(), this);
    trayIcon->setToolTip(QStringLiteral("KOVFerrit"));
    trayIcon->setContextMenu(trayMenu);
}

void MainWindow::connectHandlers()
{
    connect(syncButton, &QPushButton::clicked, this, &MainWindow::onSyncClicked);
    connect(passwordField, &QLineEdit::returnPressed, this, &MainWindow::onPasswordEntered);
    connect(closeButton, &QPushButton::clicked, this, &MainWindow::onCloseClicked);
    connect(logButton, &QPushButton::clicked, this, &MainWindow::onViewLogClicked);
    connect(advancedButton, &QPushButton::clicked, this, &MainWindow::onAdvancedClicked);
    connect(openAction, &QAction::triggered, this, &MainWindow::onOpenTriggered);
    connect(syncAction, &QAction::triggered, this, &MainWindow::onSyncTriggered);
    connect(exitAction, &QAction::triggered, this, &MainWindow::onExitTriggered);
    connect(minuteTimer, &QTimer::timeout, this, &MainWindow::onMinuteTick);
    connect(trayIcon, &QSystemTrayIcon::activated, this, &MainWindow::onTrayActivated);
    // Leaving a field stores it.
    accountField->installEventFilter(this);
    passwordField->installEventFilter(this);
}

void MainWindow::startUp()
{
    try {
        kov::prepareSession(m_transfer);
        readCommandLine(m_arguments);
        kov::openStartUpSettings(m_settings);
        showUpdateText(kov::versionText());
        loadAccountFields();
        setCaptionsAndLcdLook();
        showTimerStatus();
        const StartUpPlan plan = kov::planStartUp(m_settings, m_trayAvailable);
        showUpdateState(plan);
        if (kov::largeFonts(this))
            enlargeForLargeFonts();
        placeInScreenCentre();
        setVisible(!plan.startHidden);
        addTrayIcon();
        setButtonFaces();
        // A due sync may take minutes: it runs once the tray icon (or, without a tray, the
        // window) is there, so that its progress shows and "E&xit" can stop it.
        if (plan.syncNow)
            onMinuteTick();
        if (plan.timerRuns && !m_shutDown) // "E&xit" during that sync ends the program
            minuteTimer->start();
    } catch (const std::exception& e) {
        // The steps after the failing one (tray icon, timer) do not happen.
        kov::userInterface().messageBox(QStringLiteral("The specific error is: \r\n") +
                                            QString::fromLocal8Bit(e.what()),
                                        MessageIcon::Information, kov::appTitle());
    }
}

void MainWindow::loadAccountFields()
{
    accountLabel->setText(kov::translate(QStringLiteral("Account")));
    passwordLabel->setText(kov::translate(QStringLiteral("Password")));
    // A stored password that does not decrypt, or a keyring that is locked, leaves the field
    // empty; leaving it so then stores nothing (storePasswordField).
    m_passwordAtLoad = kov::readPassword(m_settings).password;
    passwordField->setText(m_passwordAtLoad);
    accountField->setText(kov::text(m_settings, Setting::Account));
}

void MainWindow::setCaptionsAndLcdLook()
{
    accountBox->setTitle(kov::translate(QStringLiteral("Account Information")));
    syncButton->setText(kov::translate(QStringLiteral("Sync")));
    logButton->setText(kov::translate(QStringLiteral("Log")));
    messageDisplay->setStyleSheet(Artwork::lcdStyleSheet());
    updateLine->setStyleSheet(Artwork::lcdStyleSheet());
    fitMessageArea();
}

void MainWindow::fitMessageArea()
{
    // The LCD font is known only once the style sheet applies. When its lines need more height
    // than the drawn area has, the area grows and everything below it moves down with the
    // window's bottom edge; the account box keeps its button level with the update line.
    messageDisplay->ensurePolished();
    const int frame = messageDisplay->height() - messageDisplay->contentsRect().height();
    const int margins = 2 * qCeil(messageDisplay->document()->documentMargin());
    // A line as the text layout sets it, which may be taller than the font's line spacing.
    QTextLayout probe(QStringLiteral("X"), messageDisplay->font());
    probe.beginLayout();
    QTextLine line = probe.createLine();
    line.setLeadingIncluded(true);
    line.setLineWidth(messageDisplay->width());
    const qreal lineHeight = line.height();
    probe.endLayout();
    // The edit counts its last line as shown only with a pixel to spare below it.
    const int needed = frame + margins + qCeil(kMessageLines * lineHeight) + 1;
    const int extra = needed - messageDisplay->height();
    if (extra <= 0)
        return;
    messageDisplay->resize(messageDisplay->width(), needed);
    const QList<QWidget*> below{updateLine, logButton, advancedButton, closeButton, syncButton};
    for (QWidget* control : below)
        control->move(control->x(), control->y() + extra);
    accountBox->resize(accountBox->width(), accountBox->height() + extra);
    setFixedSize(width(), height() + extra);
    if (auto* skin = findChild<QLabel*>(QStringLiteral("skin"))) {
        skin->setGeometry(rect());
        skin->setPixmap(Artwork::background(size(), false));
    }
}

void MainWindow::showTimerStatus()
{
    // The timer is still off here, so start-up shows "Status: Idle".
    showMessage(kov::translate(QStringLiteral("Status")) + QStringLiteral(": ") +
                kov::translate(minuteTimer->isActive() ? QStringLiteral("Active")
                                                       : QStringLiteral("Idle")));
}

void MainWindow::showUpdateState(const StartUpPlan& plan)
{
    if (plan.specifyAccount) {
        kov::showAccountNeeded(*this);
        return;
    }
    showUpdateText(plan.updateText);
}

void MainWindow::enlargeForLargeFonts()
{
    // The window grows by a quarter on screens that are not 96 dpi; the skin is redrawn for
    // the new size from the large-font background.
    setFixedSize(size() * 1.25);
    if (auto* skin = findChild<QLabel*>(QStringLiteral("skin"))) {
        skin->setGeometry(rect());
        skin->setPixmap(Artwork::background(size(), true));
    }
    titleLabel->move(static_cast<int>(titleLabel->x() * 1.25), titleLabel->y());
    advancedButton->move(advancedButton->x(), static_cast<int>(advancedButton->y() * 1.25));
}

void MainWindow::placeInScreenCentre()
{
    // Before the window is first shown its frame is not known yet and counts as none.
    if (const QScreen* on = screen())
        move(kov::centredFrameTopLeft(on->availableGeometry(), size(), kov::frameMargins(this)));
}

void MainWindow::addTrayIcon()
{
    if (!m_trayAvailable)
        return;
    trayIcon->show();
    m_trayAdded = true;
}

void MainWindow::setButtonFaces()
{
    // Both buttons wear the same face, sunken while the mouse is over them.
    QIcon face(Artwork::buttonFace(false, QSize(16, 16)));
    face.addPixmap(Artwork::buttonFace(true, QSize(16, 16)), QIcon::Active);
    logButton->setIcon(face);
    syncButton->setIcon(face);
    logButton->setToolTip(logButton->text());
    syncButton->setToolTip(syncButton->text());
}

void MainWindow::readCommandLine(const QStringList& arguments)
{
    m_adminMode = kov::adminModeFromCommandLine(arguments, m_adminMode);
}

void MainWindow::showMessage(const QString& text)
{
    m_messageArea->showMessage(text);
}

void MainWindow::showUpdateText(const QString& text)
{
    updateLine->setText(text);
}

TextBox* MainWindow::messageArea()
{
    return m_messageBox.get();
}

void MainWindow::enableUpdateTimer()
{
    minuteTimer->start();
}

void MainWindow::runEnding()
{
    dropInputHeldDuringRun();
    m_runEnded.start();
}

void MainWindow::runFinished(bool succeeded, const QString& counts)
{
    Q_UNUSED(succeeded);
    // A run refused because another one holds the folder, and one cut short by "E&xit", did
    // not sync; the notification service is reached through the tray icon; a window in front
    // shows the result itself.
    if (counts.isEmpty() || kov::stopRequested() || !m_trayAdded || isActiveWindow() ||
        kov::number(m_settings, Setting::Notifications) == 0)
        return;
    // The record the run just stored has its counts and, for a failure, why.
    const kov::SyncNotice notice = kov::syncNotice(kov::lastSyncOutcome());
    if (notice.isEmpty())
        return;
    trayIcon->showMessage(notice.title, notice.text,
                          notice.failed ? QSystemTrayIcon::Warning : QSystemTrayIcon::Information);
    emit noticeShown(notice.title, notice.text);
}

void MainWindow::showProgress(int done, int total)
{
    m_messageBox->setText(kov::progressText(done, total));
    QCoreApplication::processEvents();
}

void MainWindow::onMinuteTick()
{
    kov::runMinuteTick(*this, m_adminMode);
}

void MainWindow::showFromTray()
{
    if (m_shownFlag)
        return;
    m_shownFlag = true;
    show();
    // Dragged partly off the screen, or left on a screen since made smaller, it comes back whole.
    kov::keepOnScreen(this, kov::frameMargins(this));
    raise();
    activateWindow();
}

void MainWindow::onTrayActivated(QSystemTrayIcon::ActivationReason reason)
{
    if (reason == QSystemTrayIcon::DoubleClick)
        showFromTray();
}

void MainWindow::onSyncClicked()
{
    // A quick run ends before a double click's second click comes: that click is the same
    // request, not a new one.
    if (m_busy ||
        (m_runEnded.isValid() && m_runEnded.elapsed() < QApplication::doubleClickInterval()))
        return;
    m_busy = true;
    kov::runSync(*this, kov::JobsAsked::All,
                 kov::SyncStart::ByUser); // held input is dropped at its end, while still busy
    m_busy = false;
}

void MainWindow::onPasswordEntered()
{
    // The sync reads the stored account and password; the focus stays in the box, so nothing
    // has stored them yet.
    kov::storeAccount(accountField->text());
    storePasswordField();
    onSyncClicked();
}

void MainWindow::onCloseClicked()
{
    hide();
    m_shownFlag = false;
    closeSideWindows();
}

void MainWindow::closeSideWindows()
{
    if (ChannelListWindow* list = ChannelListWindow::openInstance())
        list->close();
    if (m_advanced)
        m_advanced->close();
}

void MainWindow::onViewLogClicked()
{
    LogViewer log(this);
    log.exec();
}

void MainWindow::onAdvancedClicked()
{
    if (!m_advanced)
        m_advanced = new AdvancedSettingsWindow(m_transfer, this);
    m_advanced->placeFrameAt(
        QPoint(frameGeometry().left(), frameGeometry().bottom() - kov::twipsToPixels(835, this)));
    minuteTimer->stop();
    m_advanced->show();
    m_advanced->raise();
    minuteTimer->start(); // restarts the minute, and enables the timer even if it was off
}

void MainWindow::onOpenTriggered()
{
    showFromTray();
}

void MainWindow::onAnotherStart()
{
    // The user started the program again to reach it: the window comes up even when it was
    // shown before and has since gone behind others or been minimised.
    m_shownFlag = true;
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void MainWindow::onSyncTriggered()
{
    kov::runSync(*this, kov::JobsAsked::All, kov::SyncStart::ByUser);
}

void MainWindow::onExitTriggered()
{
    m_exitChosen = true;
    close(); // the shut-down closes the advanced settings window first
    if (m_quitOnClose)
        QApplication::quit();
}

void MainWindow::shutDown()
{
    m_shutDown = true;
    closeSideWindows();
    kov::requestStop(); // a sync still reading a reply ends before its next record
    if (m_transfer)
        m_transfer->cancel();
    trayIcon->hide();
    m_trayAdded = false;
    minuteTimer->stop();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // With a tray icon, closing the window from its title bar hides it there like Close does;
    // only "E&xit", or the session ending, ends the program. Without one the close ends it,
    // as nothing would be left to bring the window back.
    if (m_trayAdded && !m_exitChosen && !qApp->isSavingSession()) {
        event->ignore();
        onCloseClicked();
        return;
    }
    if (!m_shutDown)
        shutDown();
    event->accept();
    if (m_quitOnClose) // the only permanent window: closing it ends the program
        QApplication::quit();
}

void MainWindow::storePasswordField()
{
    // A password the keyring holds already, or an empty field (a keyring that was locked when
    // the window filled it), is not stored again while the user merely passes the field; one
    // kept in the program folder is, so that it moves to the keyring.
    const QString password = passwordField->text();
    if (password == m_passwordAtLoad &&
        (password.isEmpty() || m_keyringRefused || kov::passwordInKeyring(m_settings)))
        return;
    const PasswordStored stored = kov::storePassword(password);
    m_keyringRefused = !stored.problem.isEmpty(); // said once, not at every pass through the field
    m_passwordAtLoad = password;
    if (!stored.problem.isEmpty())
        showMessage(stored.problem);
    else if (const QString notice = kov::keyringNotice(stored); !notice.isEmpty())
        showMessage(notice);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        if (watched == accountField)
            kov::storeAccount(accountField->text());
        else if (watched == passwordField)
            storePasswordField();
    }
    return QWidget::eventFilter(watched, event);
}

AdvancedSettingsWindow* MainWindow::advancedWindow() const
{
    return m_advanced.data();
}
