// The main window: how it starts (shown or in the tray, the timer, a due sync), its tray icon
// and menu, its buttons and fields, and its layout on a large-font screen.
#include "advancedsettingswindow.h"
#include "app/syncrun.h"
#include "apptestsupport.h"
#include "foundation/passwordcipher.h"
#include "mainwindow.h"
#include "placement.h"
#include "recorders/recorderrunscope.h"
#include "settings/accountpassword.h"
#include "windowunits.h"

#include <QtWidgets>

class TestMainWindow : public EnvironmentTest
{
    Q_OBJECT
    bool m_trayDuringSync = false;
    bool m_shownDuringSync = false;

    std::unique_ptr<MainWindow> start(bool tray = true)
    {
        auto window = std::make_unique<MainWindow>(&transfer, QStringList(), tray);
        m_trayDuringSync = m_shownDuringSync = false;
        transfer.during = [this, w = window.get()] {
            m_trayDuringSync = w->trayIconAdded();
            m_shownDuringSync = w->isVisible();
        };
        window->startUp();
        return window;
    }
    /// Credentials, servers and channel database in place, the next sync `minutes` away.
    void installed(int database, int minutes)
    {
        storeCredentials();
        SettingsStore settings = kov::settings();
        kov::setNumber(settings, Setting::HaveServers, 1);
        kov::setNumber(settings, Setting::HaveChannelDatabase, database);
        kov::setText(settings, Setting::NextChannelUpdate, kov::dateText(kTestNow.addDays(20)));
        kov::setText(settings, Setting::NextSync, kov::dateText(kTestNow.addSecs(60 * minutes)));
        transfer.queue(replyDocument({u"1,5,csv,0"_s, u"channel,title"_s}));
    }
    /// Alpha TV as channel 7, and the next reply brings `count` jobs of `action` for 24 December
    /// 20:15, named F0, F1, ...
    void jobsNext(int count, const QString& action)
    {
        writeBytes(env->file(u"dbchannel.dat"_s), "7,Alpha TV\r\n");
        QStringList reply{u"0,5,csv,%1"_s.arg(count), u"channel"_s + u",f"_s.repeated(16)};
        for (int i = 0; i < count; ++i)
            reply << u"Alpha TV,101,%1,2026-12-24 20:15:00 +0100,2026-12-24 21:00:00 +0100,%2,F%1,"
                     u"0,1,0,2,1,n,f,,d,p"_s.arg(QString::number(i), action);
        transfer.answers.clear();
        transfer.queue(replyDocument(reply));
    }

private slots:
    void startUp_data()
    {
        // HaveChannelDatabase (-1: a first start), the next sync's minutes from now, a tray;
        // the window shown, the timer running, the requests made, the update line.
        Columns<int, int, bool, bool, bool, int, QString>::add();
        QTest::newRow("first start") << -1 << 0 << true << true << false << 0 << u"Version 1.0.0"_s;
        QTest::newRow("set up, sync due")
            << 1 << -60 << true << false << true << 1 << u"Next Update: "_s;
        QTest::newRow("set up") << 1 << 57 << true << false << true << 0
                                << u"Next Update: 58 Minutes."_s;
        QTest::newRow("database 2") << 2 << 57 << true << true << true << 0 << u"Next Update: 58"_s;
        QTest::newRow("no tray") << 1 << 57 << false << true << true << 0 << u"Next Update: 58"_s;
        QTest::newRow("no tray, sync due")
            << 1 << -60 << false << true << true << 1 << u"Next Update: "_s;
    }
    void startUp()
    {
        const auto [database, minutes, tray, shown, timer, requests, update] =
            Columns<int, int, bool, bool, bool, int, QString>::fetch();
        if (database >= 0)
            installed(database, minutes);
        auto w = start(tray);
        QCOMPARE(w->isVisible(), shown);
        QCOMPARE(w->minuteTimer->isActive(), timer);
        QCOMPARE(w->trayIconAdded(), tray);
        QCOMPARE(transfer.urls.size(), requests);
        // A due sync runs with the tray icon, or without a tray the window, already there.
        QCOMPARE(m_trayDuringSync, requests > 0 && tray);
        QCOMPARE(m_shownDuringSync, requests > 0 && shown);
        QVERIFY2(w->updateLine->text().startsWith(update), qPrintable(w->updateLine->text()));
        if (database < 0)
            QCOMPARE(w->messageDisplay->toPlainText(),
                     u"Specify your account and password,\nThen click 'Sync' to begin."_s);
        // Centred in the screen's free area, counting no frame: none is known before it shows.
        QCOMPARE(QRect(w->pos(), w->size()).center(), w->screen()->availableGeometry().center());
        w->show(); // the title bar's close button hides it to a tray, else ends the program
        QVERIFY(w->windowHandle()->close() != tray);
        QVERIFY(!w->isVisible() && w->exiting() != tray && w->trayIconAdded() == tray);
    }
    void exitDuringStartUpSync()
    {
        // The tray icon is there during the start-up's sync, so "E&xit" can end it: the timer
        // stays off and the sync stays due.
        installed(1, -60);
        auto w = std::make_unique<MainWindow>(&transfer, QStringList(), true);
        transfer.during = [&w] {
            QVERIFY(w->trayIconAdded());
            w->exitAction->trigger();
        };
        w->startUp();
        QVERIFY(w->exiting() && !w->trayIconAdded() && !w->minuteTimer->isActive());
        QCOMPARE(kov::text(testSettings(), Setting::NextSync),
                 kov::dateText(kTestNow.addSecs(-60 * 60)));
    }
    void centredFrameTopLeft()
    {
        // The frame, client area and margins, centred in the screen's free area; never above it.
        const QMargins frame(1, 20, 1, 1);
        QCOMPARE(kov::centredFrameTopLeft({0, 30, 1280, 994}, {405, 140}, frame), QPoint(436, 446));
        QCOMPARE(kov::centredFrameTopLeft({0, 30, 400, 120}, {405, 140}, frame), QPoint(0, 30));
    }
    void fieldsStoredWhenLeft()
    {
        auto w = start();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        w->accountField->setFocus();
        QTest::keyClicks(w->accountField, u"bob"_s);
        w->passwordField->setFocus();
        QCOMPARE(kov::text(testSettings(), Setting::Account), u"bob"_s);
        QTest::keyClicks(w->passwordField, u"s3cret"_s);
        QVERIFY(kov::text(testSettings(), Setting::Protocol).isEmpty());
        w->accountField->setFocus();
        QCOMPARE(PasswordCipher::decryptText(kov::text(testSettings(), Setting::Protocol),
                                             u"kovferrit"_s),
                 u"s3cret"_s);
        QCOMPARE(w->passwordField->displayText(), u"******"_s);
    }
    void passwordLeftAsLoaded_data()
    {
        // Where the password is, the keyring's state while the window runs; then whether it
        // ends in the keyring.
        Columns<QString, SecretStore::Outcome, bool>::add();
        using O = SecretStore::Outcome;
        QTest::newRow("kept in the folder: moves to the keyring") << u"folder"_s << O::Done << true;
        QTest::newRow("keyring locked: the empty field stores nothing")
            << u"keyring"_s << O::Locked << true;
        QTest::newRow("keyring refuses: said once, the folder keeps it")
            << u"folder"_s << O::Failed << false;
    }
    void passwordLeftAsLoaded()
    {
        const auto [place, state, inKeyring] =
            Columns<QString, SecretStore::Outcome, bool>::fetch();
        env->keyring.state = SecretStore::Outcome::Done;
        if (place == u"keyring"_s)
            QVERIFY(kov::writePassword(testSettings(), u"pw"_s).inKeyring);
        else
            storeCredentials(u"demo"_s, u"pw"_s);
        env->keyring.state = state;
        auto w = start();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QCOMPARE(w->passwordField->text(),
                 inKeyring && place == u"keyring"_s ? QString() : u"pw"_s);
        for (int pass = 0; pass < 2; ++pass) {
            w->passwordField->setFocus();
            w->accountField->setFocus();
        }
        const QString refused =
            u"The desktop keyring did not take the password: it gave no reason"_s;
        QCOMPARE(w->messageDisplay->toPlainText().count(refused), inKeyring ? 0 : 1);
        env->keyring.state = SecretStore::Outcome::Done;
        QCOMPARE(kov::readPassword(testSettings()).password, u"pw"_s);
        QCOMPARE(kov::rawNumber(testSettings(), Setting::PasswordInKeyring), inKeyring ? 1 : 0);
        QCOMPARE(kov::rawText(testSettings(), Setting::Protocol).isEmpty(), inKeyring);
    }
    void trayCloseAndExit()
    {
        installed(1, 60);
        auto w = start();
        for (const auto reason : {QSystemTrayIcon::Trigger, QSystemTrayIcon::MiddleClick,
                                  QSystemTrayIcon::Context, QSystemTrayIcon::Unknown})
            emit w->trayIcon->activated(reason);
        QVERIFY(!w->isVisible());
        emit w->trayIcon->activated(QSystemTrayIcon::DoubleClick);
        QVERIFY(w->isVisible() && w->windowShownFlag());
        w->hide(); // hidden another way: the flag stays, neither double-click nor Open shows it
        emit w->trayIcon->activated(QSystemTrayIcon::DoubleClick);
        w->openAction->trigger();
        QVERIFY(!w->isVisible());
        QTest::mouseClick(w->closeButton, Qt::LeftButton);
        w->openAction->trigger();
        QVERIFY(w->isVisible());
        w->minuteTimer->stop();
        w->move(w->x(), 0); // room below it for the whole advanced window
        QTest::mouseClick(w->advancedButton, Qt::LeftButton);
        QPointer<AdvancedSettingsWindow> advanced(w->advancedWindow());
        const QRect frame = w->frameGeometry();                               // it opens just below
        QCOMPARE(advanced->pos(), QPoint(frame.left(), frame.bottom() - 56)); // 835 twips up
        QVERIFY(w->minuteTimer->isActive());               // started even though it was off
        QTest::mouseClick(w->closeButton, Qt::LeftButton); // hides it with its side windows
        QVERIFY(!w->isVisible() && !w->windowShownFlag() && w->trayIconAdded());
        QTRY_VERIFY(advanced.isNull());
        const int cancels = transfer.cancels;
        w->exitAction->trigger();
        QVERIFY(w->exiting() && !w->trayIconAdded());
        QCOMPARE(transfer.cancels, cancels + 1);
    }
    void syncButtonAndMenu()
    {
        installed(1, 60);
        auto w = start(false);
        QPushButton* sync = w->syncButton;
        // A second click on Sync while the request runs: the window system holds it until the
        // run is over (a posted click stands for it), and then it must do nothing.
        bool clickAgain = true;
        transfer.during = [&] {
            const QPointF at = sync->rect().center();
            for (auto [type, buttons] : {std::pair(QEvent::MouseButtonPress, Qt::LeftButton),
                                         std::pair(QEvent::MouseButtonRelease, Qt::NoButton)})
                if (clickAgain)
                    QCoreApplication::postEvent(sync,
                                                new QMouseEvent(type, at, sync->mapToGlobal(at),
                                                                Qt::LeftButton, buttons, {}));
            clickAgain = false;
        };
        QTest::mouseClick(sync, Qt::LeftButton);
        QCoreApplication::processEvents();
        QCOMPARE(transfer.urls.size(), 1);
        QCOMPARE(w->messageDisplay->toPlainText().count(u"12:00:00:No New Data"_s), 1);
        clickAgain = true;
        w->syncAction->trigger(); // "&Sync Now": a manual run from serial 0
        QCoreApplication::processEvents();
        QCOMPARE(transfer.urls.size(), 2);
        QVERIFY(transfer.urls[1].contains(u"&initiator=0&target=localhost&serial=0&"_s));
    }
    void doubleClickOnSync_data()
    {
        // The double-click interval in ms, whether a timed run ends just before; the requests
        // that run and two quick clicks on Sync make.
        Columns<int, bool, int>::add();
        QTest::newRow("double click") << 60000 << false << 1;
        QTest::newRow("clicks further apart") << 0 << false << 2;
        QTest::newRow("double click after a timed run") << 60000 << true << 1;
        QTest::newRow("clicks apart after a timed run") << 0 << true << 3;
    }
    void doubleClickOnSync()
    {
        const auto [interval, timedRun, requests] = Columns<int, bool, int>::fetch();
        const int systemInterval = QApplication::doubleClickInterval();
        const auto restore =
            qScopeGuard([=] { QApplication::setDoubleClickInterval(systemInterval); });
        QApplication::setDoubleClickInterval(interval);
        installed(1, 60);
        auto w = start(false);
        if (timedRun) {
            kov::setText(testSettings(), Setting::NextSync, kov::dateText(kTestNow.addSecs(-60)));
            w->onMinuteTick();
        }
        QTest::mouseClick(w->syncButton, Qt::LeftButton);
        QTest::mouseClick(w->syncButton, Qt::LeftButton);
        QCOMPARE(transfer.urls.size(), requests);
    }
    void exitWhileAReplyIsRead()
    {
        installed(1, 60);
        RecordingScheduler::Log scheduled;
        const auto recorders = installRecordingScheduler(scheduled);
        auto w = start();
        jobsNext(300, u"rec"_s);
        QStringList shown;
        env->ui.onProgress = [&](int done, int total) {
            if (done == 3) { // a second run meanwhile is refused: "&Sync Now", Sync, a tick
                w->syncAction->trigger();
                w->onSyncClicked();
                w->onMinuteTick();
            }
            if (done == 30) // the user picks "E&xit" from the tray menu
                QTimer::singleShot(0, w->exitAction, &QAction::trigger);
            w->showProgress(done, total);
            shown << w->messageDisplay->toPlainText();
        };
        const QString due = kov::dateText(kTestNow.addSecs(-60));
        kov::setText(testSettings(), Setting::NextSync, due);
        w->onMinuteTick();
        QVERIFY(w->exiting() && !w->trayIconAdded());
        QCOMPARE(shown.mid(0, 2), (QStringList{u"3 of 300 jobs"_s, u"6 of 300 jobs"_s}));
        QCOMPARE(scheduled.count(u"create"_s), 30); // stopped between two jobs
        QCOMPARE(transfer.urls.size(), 1);
        QCOMPARE(kov::text(testSettings(), Setting::NextSync), due); // due again at the next start
    }
    void notices_data()
    {
        // The job's action (empty: no jobs; "failure": the request fails), whether the advanced
        // window switches notifications off, whether the main window is in front (it shows the
        // result itself); the notice's title and the start of its text.
        Columns<QString, bool, bool, QString, QString>::add();
        QTest::newRow("scheduled")
            << u"rec"_s << false << false << u"Recordings scheduled"_s << u"Jobs: 1 scheduled"_s;
        QTest::newRow("deleted") << u"delete"_s << false << false << u"Recordings deleted"_s
                                 << u"Jobs: 1 deleted"_s;
        QTest::newRow("nothing new") << QString() << false << false << QString() << QString();
        QTest::newRow("failed") << u"failure"_s << false << false << u"The sync failed"_s
                                << u"GetJobs FAILED -1"_s;
        QTest::newRow("switched off") << u"rec"_s << true << false << QString() << QString();
        QTest::newRow("window in front") << u"rec"_s << false << true << QString() << QString();
    }
    void notices()
    {
        const auto [action, switchedOff, inFront, title, text] =
            Columns<QString, bool, bool, QString, QString>::fetch();
        installed(1, 60);
        RecordingScheduler::Log scheduled;
        if (action == u"delete"_s)
            scheduled.existing << u"F0_2026-12-24_20_15_00"_s;
        const auto recorders = installRecordingScheduler(scheduled);
        auto w = start();
        if (!action.isEmpty()) // else the reply of no new data that installed() queued
            jobsNext(1, action);
        if (action == u"failure"_s) {
            transfer.answers.clear();
            transfer.queueFailure(u"connection refused"_s);
        }
        if (switchedOff) {
            QTest::mouseClick(w->advancedButton, Qt::LeftButton);
            QCheckBox* box = w->advancedWindow()->notificationsBox;
            QVERIFY(box->isChecked()); // on until switched off
            box->click();
        }
        if (inFront) {
            w->openAction->trigger();
            QVERIFY(QTest::qWaitForWindowActive(w.get()));
        }
        QSignalSpy notices(w.get(), &MainWindow::noticeShown);
        w->syncAction->trigger();
        QCOMPARE(notices.size(), title.isEmpty() ? 0 : 1);
        if (title.isEmpty())
            return;
        QCOMPARE(notices[0][0].toString(), title);
        QVERIFY2(notices[0][1].toString().startsWith(text), qPrintable(notices[0][1].toString()));
    }
    void messagesShowWhole_data()
    {
        // The two messages in the area, the newest below; false where the older one may give
        // way because together they need more lines than the area holds.
        Columns<QString, QString, bool>::add();
        QTest::newRow("specify account")
            << u"Specify your account and password,"_s << u"Then click 'Sync' to begin."_s << true;
        QTest::newRow("channel database")
            << u"Unable to retrieve channel database from the server."_s
            << u"Channel database has been received from the server."_s << true;
        QTest::newRow("failures") << u"GetJobs FAILED : Quib Error #2147483647"_s
                                  << u"GetJobs FAILED : Doc Type Unknown"_s << true;
        // A sync's summary at its longest: every count, channel names and other reasons.
        kov::JobTally jobs{1, 1, 2, 5, {u"Alpha TV"_s, u"Beta One"_s, u"Gamma"_s}, 2, 0};
        QTest::newRow("sync summary")
            << u"14:05:00:New Data Received"_s << kov::jobSummary(jobs, true) << false;
        QTest::newRow("word longer than a line")
            << u"Quib For PC is not active"_s
            << u"Kanaldatenbankaktualisierungsbenachrichtigungsfehlermeldungen"_s << true;
        QTest::newRow("too long together")
            << u"Die Kanaldatenbank konnte nicht vom Server abgerufen werden."_s
            << u"Die Kanaldatenbank wurde vom Server empfangen und gespeichert, alles ist "
               u"bereit."_s
            << false;
    }
    void messagesShowWhole()
    {
        const auto [previous, newest, both] = Columns<QString, QString, bool>::fetch();
        auto w = start(false);
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        w->showMessage(previous);
        w->showMessage(newest);
        QPlainTextEdit* area = w->messageDisplay;
        const QFontMetrics metrics(area->font());
        const QRect view = area->viewport()->rect();
        for (QTextBlock block = area->document()->begin(); block.isValid(); block = block.next()) {
            for (int i = 0; i < block.layout()->lineCount(); ++i) {
                const QTextLine line = block.layout()->lineAt(i);
                const QString text =
                    block.text().mid(line.textStart(), line.textLength()).trimmed();
                QTextCursor start(block);
                start.setPosition(block.position() + line.textStart());
                const QRect at = area->cursorRect(start); // where the line is drawn
                const QRect drawn(at.topLeft(),
                                  QSize(metrics.horizontalAdvance(text), at.height()));
                const bool whole = both || !block.next().isValid();
                QVERIFY2(whole ? view.contains(drawn) : drawn.right() <= view.right(),
                         qPrintable(text));
            }
        }
        // A grown area pushed the update line and the buttons down, still inside the window.
        QVERIFY(w->updateLine->y() > area->geometry().bottom() &&
                w->closeButton->geometry().bottom() < w->height());
    }
    void largeFonts()
    {
        auto normal = start();
        const QSize normalSize = normal->size();
        QCOMPARE(normalSize.width(), 405); // 6075 twips at 15 twips per pixel
        kov::setTwipsPerPixelOverride(12); // a 120-dpi screen
        MainWindow large(&transfer, {}, true);
        const QSize base = large.size();
        const QPoint label = large.titleLabel->pos();
        const QPoint advanced = large.advancedButton->pos();
        const int update = large.updateLine->y();
        large.startUp();
        kov::setTwipsPerPixelOverride(0);
        const int grown = large.updateLine->y() - update; // for the message area's lines
        QCOMPARE(large.size(), QSize(base.width(), base.height() + grown) * 1.25);
        QCOMPARE(large.titleLabel->pos(), QPoint(int(label.x() * 1.25), label.y()));
        QCOMPARE(large.advancedButton->pos(),
                 QPoint(advanced.x(), int((advanced.y() + grown) * 1.25)));
        QCOMPARE(large.findChild<QLabel*>(u"skin"_s)->size(), large.size());
        QCOMPARE(normal->size(), normalSize);
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_gui_mainwindow.moc"
