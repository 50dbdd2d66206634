// Part 4.2 (and the window side of Part 4.3): start-up, tray, buttons, account fields.
#include "app/kovferritsupport.h"
#include "fakes.h"
#include "foundation/aes.h"
#include "foundation/kov_date.h"
#include "frmadvanced.h"
#include "frmkovferrit.h"
#include "frmlog.h"
#include "settings/ckovreg.h"
#include "settings/settings_catalogue.h"
#include "testsupport.h"
#include "twips.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

namespace {

/// A transfer that runs a check while the request is on its way.
class WatchedTransfer : public FakeTransfer
{
public:
    QString OpenURL(const QString& url) override
    {
        if (during)
            during();
        return FakeTransfer::OpenURL(url);
    }
    std::function<void()> during;
};

const QDateTime kNow(QDate(2026, 12, 6), QTime(12, 0, 30));
const QString kJobs = replyDocument(strings({"1,5,csv,0", "channel,title"}));
} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void firstStart();
    void setUpStartSyncsAndHides();
    void credentialsButNoDatabase();
    void haveChannelDatabaseTwo();
    void commandLine_data();
    void commandLine();
    void accountAndPassword();
    void passwordCheckFailureKeepsOld();
    void trayDoubleClick();
    void closeKeepsTrayExitRemovesIt();
    void syncButtonBusyFlag();
    void trayMenu();
    void advancedButton();
    void logButton();
    void timerTickCountsDown();
    void lcdLook();
    void noTrayStaysShown();
    void largeFonts();

private:
    /// Credentials, server list and channel database in place, the next sync an hour away.
    void setUpInstalled();
    std::unique_ptr<frmKovFerrit> make(const QStringList& args = {}, bool tray = true);
    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<FixedClock> m_clock;
    WatchedTransfer m_transfer;
};

void TestMainWindow::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_clock = std::make_unique<FixedClock>(kNow);
    kov_SetClock(m_clock.get());
    m_transfer = WatchedTransfer();
}

void TestMainWindow::cleanup()
{
    m_env.reset();
}

void TestMainWindow::setUpInstalled()
{
    storeCredentials(QStringLiteral("demo"), QStringLiteral("pw"));
    CKovReg reg = kov_Settings();
    reg.setLng(KovSetting::HaveServers, 1);
    reg.setLng(KovSetting::HaveChannelDatabase, 1);
    reg.setStr(KovSetting::NextSync, kov_DateText(kNow.addSecs(3600)));
}

std::unique_ptr<frmKovFerrit> TestMainWindow::make(const QStringList& args, bool tray)
{
    auto window = std::make_unique<frmKovFerrit>(&m_transfer, args, tray);
    window->startUp();
    return window;
}

void TestMainWindow::firstStart()
{
    auto w = make();
    QCOMPARE(w->txtMessage->toPlainText(),
             QStringLiteral("Specify your account and password,\nThen click 'Sync' to begin."));
    QCOMPARE(w->txtUpdate->text(), QStringLiteral("Version 1.0.0"));
    QVERIFY(!w->tmrMinutes->isActive());
    QCOMPARE(w->tmrMinutes->interval(), 60000);
    QCOMPARE(kov_Settings().Str(KovSetting::NextSync), kov_DateText(kNow.addDays(-1)));
    QVERIFY(w->isVisible());
    QVERIFY(w->trayIconAdded());
    QCOMPARE(w->windowTitle(), QStringLiteral("KOV Quib Ferrit"));
    QCOMPARE(w->lblAccount->text(), QStringLiteral("Account"));
    QCOMPARE(w->lblPassword->text(), QStringLiteral("Password"));
    QCOMPARE(w->boxInfo->title(), QStringLiteral("Account Information"));
    QCOMPARE(w->cmdGetJobs->text(), QStringLiteral("Sync"));
    QCOMPARE(w->cmdViewLog->text(), QStringLiteral("Log"));
    QCOMPARE(w->cmdGetJobs->toolTip(), QStringLiteral("Sync"));
    QCOMPARE(kov_Settings().Str(KovSetting::AppEXEName), QStringLiteral("kovferrit"));
    QVERIFY(!m_env->traced(QStringLiteral("Executables are inconsistent !")));
    kov_Settings().setStr(KovSetting::AppEXEName, QStringLiteral("renamed"));
    make();
    QVERIFY(m_env->traced(QStringLiteral("Executables are inconsistent !")));
    QCOMPARE(kov_Settings().Str(KovSetting::AppEXEName), QStringLiteral("renamed"));
    QVERIFY(m_transfer.urls.isEmpty());
}

void TestMainWindow::setUpStartSyncsAndHides()
{
    storeCredentials(QStringLiteral("demo"), QStringLiteral("pw"));
    CKovReg reg = kov_Settings();
    reg.setLng(KovSetting::HaveServers, 1);
    reg.setLng(KovSetting::HaveChannelDatabase, 1);
    reg.setStr(KovSetting::NextChannelUpdate, kov_DateText(kNow.addDays(20)));
    const QString old = kov_DateText(kNow.addSecs(-3600));
    reg.setStr(KovSetting::NextSync, old);
    m_transfer.queue(kJobs);
    bool trayDuringSync = true;
    frmKovFerrit window(&m_transfer, {}, true);
    m_transfer.during = [&] { trayDuringSync = window.trayIconAdded(); };
    QSignalSpy updates(window.txtUpdate, &QLineEdit::textChanged);
    window.startUp();
    QCOMPARE(m_transfer.urls.size(), 1);
    QVERIFY(!trayDuringSync); // the sync ran before the tray icon was added
    QVERIFY(window.trayIconAdded());
    QVERIFY(!window.isVisible());
    QVERIFY(window.tmrMinutes->isActive());
    QStringList shown;
    for (const QList<QVariant>& args : updates)
        shown << args.value(0).toString();
    QVERIFY2(shown.contains(QStringLiteral("Updating Now ... : ") + old),
             qPrintable(shown.join(QLatin1Char('|'))));
    QVERIFY(window.txtUpdate->text().startsWith(QLatin1String("Next Update: ")));
}

void TestMainWindow::credentialsButNoDatabase()
{
    storeCredentials(QStringLiteral("demo"), QStringLiteral("pw"));
    auto w = make();
    QCOMPARE(w->txtAccount->text(), QStringLiteral("demo"));
    QCOMPARE(w->txtPassword->text(), QStringLiteral("pw"));
    QCOMPARE(w->txtMessage->toPlainText(),
             QStringLiteral("Specify your account and password,\nThen click 'Sync' to begin."));
    QVERIFY(!w->tmrMinutes->isActive());
    QVERIFY(w->isVisible());
}

void TestMainWindow::haveChannelDatabaseTwo()
{
    CKovReg reg = kov_Settings();
    reg.setLng(KovSetting::HaveChannelDatabase, 2);
    reg.setStr(KovSetting::NextSync, kov_DateText(kNow.addSecs(57 * 60)));
    auto w = make();
    QVERIFY(w->isVisible());
    QVERIFY(w->tmrMinutes->isActive());
    QCOMPARE(w->txtUpdate->text(), QStringLiteral("Next Update: 58 Minutes."));
    QCOMPARE(w->txtMessage->toPlainText(), QStringLiteral("\nStatus: Idle"));
    QVERIFY(m_transfer.urls.isEmpty());
}

void TestMainWindow::commandLine_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("admin");
    QTest::newRow("admin noadmin") << strings({"admin", "noadmin"}) << false;
    QTest::newRow("noadmin admin") << strings({"noadmin", "admin"}) << true;
    QTest::newRow("ADMIN") << strings({"ADMIN"}) << false;
    QTest::newRow("tabs and blanks") << strings({"x\t\tadmin   y"}) << true;
    QTest::newRow("eleventh word ignored") << strings({"1 2 3 4 5 6 7 8 9 10 admin"}) << false;
    QTest::newRow("tenth word read") << strings({"1 2 3 4 5 6 7 8 9 admin"}) << true;
}

void TestMainWindow::commandLine()
{
    QFETCH(QStringList, args);
    QFETCH(bool, admin);
    auto w = make(args);
    QCOMPARE(w->adminMode(), admin);
}

void TestMainWindow::accountAndPassword()
{
    auto w = make();
    w->show();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    w->txtAccount->setFocus();
    QTest::keyClicks(w->txtAccount, QStringLiteral("bob"));
    w->txtPassword->setFocus(); // the account field is left
    QCOMPARE(kov_Settings().Str(KovSetting::Account), QStringLiteral("bob"));
    QTest::keyClicks(w->txtPassword, QStringLiteral("s3cret"));
    w->txtAccount->setFocus();
    const QString stored = kov_Settings().Str(KovSetting::Protocol);
    QCOMPARE(stored.size(), 64);
    QCOMPARE(AES::DecryptText(stored, QStringLiteral("kovferrit")), QStringLiteral("s3cret"));
    QCOMPARE(w->txtPassword->echoMode(), QLineEdit::Password);
}

void TestMainWindow::passwordCheckFailureKeepsOld()
{
    storeCredentials(QStringLiteral("demo"), QStringLiteral("old"));
    const QString before = kov_Settings().Str(KovSetting::Protocol);
    auto w = make();
    w->show();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    w->txtPassword->setFocus();
    // A lone surrogate does not survive the round trip through the cipher's text form.
    w->txtPassword->setText(QString(QChar(0xD800)));
    w->txtAccount->setFocus();
    const QString after = kov_Settings().Str(KovSetting::Protocol);
    if (AES::DecryptText(AES::EncryptText(QString(QChar(0xD800)), QStringLiteral("kovferrit")),
                         QStringLiteral("kovferrit")) != QString(QChar(0xD800))) {
        QCOMPARE(after, before);
        QVERIFY(m_env->traced(QStringLiteral("Encrypt -> Decrypt IDE ERROR !")));
    } else {
        QVERIFY(after != before); // the cipher kept it: it was stored
    }
    QVERIFY(m_env->ui.boxes.isEmpty());
}

void TestMainWindow::trayDoubleClick()
{
    kov_Settings().setLng(KovSetting::HaveChannelDatabase, 1);
    kov_Settings().setStr(KovSetting::NextSync, kov_DateText(kNow.addSecs(3600)));
    auto w = make();
    QVERIFY(!w->isVisible());
    w->trayMessage(512);
    w->trayMessage(513);
    w->trayMessage(514);
    QVERIFY(!w->isVisible());
    w->trayMessage(515);
    QVERIFY(w->isVisible());
    QVERIFY(w->windowShownFlag());
    w->hide(); // hidden some other way: the flag stays, so a double-click does nothing
    w->trayMessage(515);
    QVERIFY(!w->isVisible());
    w->mnuOpen->trigger(); // "&Open" does nothing either while the flag is set
    QVERIFY(!w->isVisible());
    QTest::mouseClick(w->cmdClose, Qt::LeftButton);
    QVERIFY(!w->windowShownFlag());
    w->mnuOpen->trigger();
    QVERIFY(w->isVisible());
}

void TestMainWindow::closeKeepsTrayExitRemovesIt()
{
    kov_Settings().setLng(KovSetting::HaveChannelDatabase, 1);
    kov_Settings().setStr(KovSetting::NextSync, kov_DateText(kNow.addSecs(3600)));
    auto w = make();
    w->trayMessage(515);
    auto* advanced = new frmAdvanced(&m_transfer);
    advanced->show();
    QPointer<frmAdvanced> watch(advanced);
    w->cmdAdvanced_Click();
    QPointer<frmAdvanced> opened(w->advancedWindow());
    QVERIFY(opened);
    QTest::mouseClick(w->cmdClose, Qt::LeftButton);
    QVERIFY(!w->isVisible());
    QVERIFY(w->trayIconAdded());
    QVERIFY(w->tmrMinutes->isActive());
    QTRY_VERIFY(opened.isNull()); // the advanced window was closed
    const int cancelsBefore = m_transfer.cancels;
    w->mnuExit->trigger();
    QVERIFY(w->exiting());
    QVERIFY(!w->trayIconAdded());
    QCOMPARE(m_transfer.cancels, cancelsBefore + 1);
    advanced->close();
}

void TestMainWindow::syncButtonBusyFlag()
{
    setUpInstalled();
    auto w = make();
    m_transfer.queue(kJobs);
    int nested = 0;
    m_transfer.during = [&] {
        if (nested++ == 0)
            w->cmdGetJobs_Click(); // a second click while the first run waits
    };
    QTest::mouseClick(w->cmdGetJobs, Qt::LeftButton);
    QCOMPARE(m_transfer.urls.size(), 1);
    QVERIFY(w->txtMessage->toPlainText().endsWith(QLatin1String("12:00:00:No New Data")));
}

void TestMainWindow::trayMenu()
{
    setUpInstalled();
    auto w = make();
    QCOMPARE(w->mnuOpen->text(), QStringLiteral("&Open"));
    QCOMPARE(w->mnuSync->text(), QStringLiteral("&Sync Now"));
    QCOMPARE(w->mnuExit->text(), QStringLiteral("E&xit"));
    m_transfer.queue(kJobs);
    w->mnuSync->trigger();
    QCOMPARE(m_transfer.urls.size(), 1);
    // "&Sync Now" is a manual run with serial 0.
    QVERIFY(m_transfer.urls[0].contains(QLatin1String("&initiator=0&")));
    QVERIFY(m_transfer.urls[0].contains(QLatin1String("&serial=0&")));
}

void TestMainWindow::advancedButton()
{
    auto w = make();
    QVERIFY(!w->tmrMinutes->isActive());
    w->show();
    QTest::mouseClick(w->cmdAdvanced, Qt::LeftButton);
    frmAdvanced* advanced = w->advancedWindow();
    QVERIFY(advanced);
    QVERIFY(advanced->isVisible());
    QCOMPARE(advanced->x(), w->frameGeometry().left());
    QCOMPARE(advanced->y(), w->frameGeometry().bottom() - kov_TwipsToPixels(835, w.get()));
    QVERIFY(w->tmrMinutes->isActive()); // enabled again, even though it was off
    advanced->close();
}

void TestMainWindow::logButton()
{
    kov_Settings().setStr(KovSetting::Account, QStringLiteral("demo"));
    auto w = make();
    bool sawLog = false;
    QTimer::singleShot(0, [&] {
        auto* log = qobject_cast<frmLog*>(QApplication::activeModalWidget());
        sawLog = log && log->listing().startsWith(QLatin1String("Account : demo\r\n"));
        if (log)
            log->close();
    });
    QTest::mouseClick(w->cmdViewLog, Qt::LeftButton);
    QVERIFY(sawLog);
}

void TestMainWindow::timerTickCountsDown()
{
    CKovReg reg = kov_Settings();
    reg.setLng(KovSetting::HaveChannelDatabase, 1);
    reg.setStr(KovSetting::NextSync, kov_DateText(kNow.addSecs(10 * 60)));
    auto w = make();
    QCOMPARE(w->txtUpdate->text(), QStringLiteral("Next Update: 11 Minutes."));
    m_clock->time = kNow.addSecs(5 * 60);
    w->tmrMinutes_Timer();
    QCOMPARE(w->txtUpdate->text(), QStringLiteral("Next Update: 6 Minutes."));
    QVERIFY(m_transfer.urls.isEmpty());
}

void TestMainWindow::lcdLook()
{
    auto w = make();
    QVERIFY(w->txtMessage->styleSheet().contains(QLatin1String("rgb(116, 150, 91)")));
    QVERIFY(w->txtUpdate->styleSheet().contains(QLatin1String("rgb(116, 150, 91)")));
    QCOMPARE(w->Label1->text(), QStringLiteral("KOV Quib Sync"));
    QVERIFY(!w->windowIcon().isNull());
}

void TestMainWindow::noTrayStaysShown()
{
    kov_Settings().setLng(KovSetting::HaveChannelDatabase, 1);
    kov_Settings().setStr(KovSetting::NextSync, kov_DateText(kNow.addSecs(3600)));
    auto w = make({}, false);
    QVERIFY(w->isVisible()); // no tray to live in: the window stays
    QVERIFY(!w->trayIconAdded());
    QVERIFY(w->tmrMinutes->isActive());
}

void TestMainWindow::largeFonts()
{
    auto normal = make();
    QVERIFY(!kov_LargeFonts(normal.get()));
    QCOMPARE(normal->size(), QSize(405, 133)); // 6075 x 1995 twips at 15 twips per pixel
    const QPoint label = normal->Label1->pos();
    const QPoint advanced = normal->cmdAdvanced->pos();
    kov_SetTwipsPerPixelOverride(12); // a 120-dpi screen
    frmKovFerrit large(&m_transfer, {}, true);
    const QSize base = large.size();
    const int labelLeft = large.Label1->x();
    const int advancedTop = large.cmdAdvanced->y();
    large.startUp();
    kov_SetTwipsPerPixelOverride(0);
    QCOMPARE(large.size(), base * 1.25);
    QCOMPARE(large.Label1->x(), static_cast<int>(labelLeft * 1.25));
    QCOMPARE(large.cmdAdvanced->y(), static_cast<int>(advancedTop * 1.25));
    QCOMPARE(normal->Label1->pos(), label);
    QCOMPARE(normal->cmdAdvanced->pos(), advanced);
    auto* skin = large.findChild<QLabel*>(QStringLiteral("QzForm1"));
    QVERIFY(skin);
    QCOMPARE(skin->size(), large.size());
}

QTEST_MAIN(TestMainWindow)
#include "tst_gui_mainwindow.moc"
