// The windows worked from the keyboard: the main window's Tab order and where its focus starts,
// drawn focus, Enter in the password box and on the buttons, and Escape in the side windows.
#include "advancedsettingswindow.h"
#include "apptestsupport.h"
#include "channellistwindow.h"
#include "gridcelleditor.h"
#include "logviewer.h"
#include "mainwindow.h"

#include <QtWidgets>

class TestKeyboard : public EnvironmentTest
{
    Q_OBJECT
    void setUp() override
    {
        storeCredentials();
        SettingsStore settings = kov::settings();
        kov::setNumber(settings, Setting::HaveServers, 1);
        kov::setNumber(settings, Setting::HaveChannelDatabase, 1);
        kov::setText(settings, Setting::NextChannelUpdate, kov::dateText(kTestNow.addDays(20)));
        kov::setText(settings, Setting::NextSync, kov::dateText(kTestNow.addSecs(3600)));
        transfer.queue(replyDocument({u"1,5,csv,0"_s, u"channel,title"_s}));
        writeBytes(env->file(u"kovquibcg.dat"_s),
                   "0,3,csv,1\r\nisocode,name,id,country,category,language\r\nde,Alpha TV,101,DE,"
                   "General,de\r\n");
        writeBytes(env->file(u"dbchannel.dat"_s), "7,Alpha TV\r\n");
    }

private slots:
    void tabOrderFromTheTray()
    {
        MainWindow w(&transfer, {}, true);
        w.startUp(); // set up: it starts in the tray
        QVERIFY(!w.isVisible());
        w.openAction->trigger();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QCOMPARE(w.focusWidget(), w.accountField); // not the message area
        const QList<QWidget*> order{w.passwordField,  w.syncButton,  w.logButton,
                                    w.advancedButton, w.closeButton, w.accountField};
        for (QWidget* next : order) {
            QWidget* focused = w.focusWidget();
            const QImage withFocus = focused->grab().toImage();
            QTest::keyClick(focused, Qt::Key_Tab);
            QCOMPARE(w.focusWidget()->objectName(), next->objectName());
            // The focus is drawn: the control looks different once it has lost it.
            QVERIFY2(focused->grab().toImage() != withFocus, qPrintable(focused->objectName()));
        }
    }
    void enterActs_data()
    {
        // the control with the focus once "pw" is typed into the empty password box, the key,
        // what it does
        Columns<QString, int, QString>::add();
        QTest::newRow("Enter in the password box")
            << u"passwordField"_s << int(Qt::Key_Return) << u"sync"_s;
        QTest::newRow("Enter on Sync") << u"syncButton"_s << int(Qt::Key_Return) << u"sync"_s;
        QTest::newRow("keypad Enter on Sync") << u"syncButton"_s << int(Qt::Key_Enter) << u"sync"_s;
        QTest::newRow("Space on Sync") << u"syncButton"_s << int(Qt::Key_Space) << u"sync"_s;
        QTest::newRow("Enter on Log") << u"logButton"_s << int(Qt::Key_Return) << u"log"_s;
        QTest::newRow("Enter on Advanced")
            << u"advancedButton"_s << int(Qt::Key_Return) << u"advanced"_s;
        QTest::newRow("Enter on Close") << u"closeButton"_s << int(Qt::Key_Return) << u"hidden"_s;
    }
    void enterActs()
    {
        const auto [name, key, done] = Columns<QString, int, QString>::fetch();
        kov::deleteSetting(testSettings(), Setting::Protocol);
        MainWindow w(&transfer, {}, false);
        w.startUp();
        QVERIFY(QTest::qWaitForWindowActive(&w) && w.passwordField->text().isEmpty());
        QStringList happened;
        QTimer::singleShot(0, &w, [&happened] { // the log is modal
            if (auto* log = qobject_cast<LogViewer*>(QApplication::activeModalWidget())) {
                happened << u"log"_s;
                log->close();
            }
        });
        w.passwordField->setFocus();
        QTest::keyClicks(w.passwordField, u"pw"_s);
        auto* focused = w.findChild<QWidget*>(name);
        focused->setFocus();
        QTest::keyClick(focused, Qt::Key(key));
        if (!transfer.urls.isEmpty())
            happened << u"sync"_s;
        if (w.advancedWindow() && w.advancedWindow()->isVisible())
            happened << u"advanced"_s;
        if (!w.isVisible())
            happened << u"hidden"_s;
        QCOMPARE(happened.join(u' '), done);
    }
    void escapeCloses_data()
    {
        // the window, the control with the focus, Escape pressed so often, the window still open
        Columns<QString, QString, int, bool>::add();
        QTest::newRow("advanced, a field") << u"advanced"_s << u"timeoutField"_s << 1 << false;
        QTest::newRow("advanced, the server list")
            << u"advanced"_s << u"serverList"_s << 1 << false;
        QTest::newRow("channel list, a button") << u"list"_s << u"sortByNameButton"_s << 1 << false;
        // In the grid Escape opens the cell editor, as the keys of code 32 or below do; in the
        // editor it drops the edit.
        QTest::newRow("channel list, the grid") << u"list"_s << u"grid"_s << 1 << true;
        QTest::newRow("channel list, a cell edited") << u"list"_s << u"editBox"_s << 1 << true;
        QTest::newRow("log") << u"log"_s << u"listingView"_s << 1 << false;
    }
    void escapeCloses()
    {
        const auto [which, name, presses, open] = Columns<QString, QString, int, bool>::fetch();
        std::unique_ptr<QWidget> window;
        if (which == u"advanced"_s)
            window = std::make_unique<AdvancedSettingsWindow>(&transfer);
        else if (which == u"list"_s)
            window = std::make_unique<ChannelListWindow>(nullptr);
        else
            window = std::make_unique<LogViewer>();
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        auto* list = qobject_cast<ChannelListWindow*>(window.get());
        if (name == u"editBox"_s) {
            list->grid->setFocus();
            list->grid->setCurrentCell(0, 1);
            QTest::keyClick(list->grid, Qt::Key_5);
            QVERIFY(list->editor()->isEditing());
        } else {
            window->findChild<QWidget*>(name)->setFocus();
        }
        for (int i = 0; i < presses; ++i)
            QTest::keyClick(window->focusWidget(), Qt::Key_Escape);
        QCOMPARE(window->isVisible(), open);
        if (list) // the edit is dropped, not stored
            QCOMPARE(list->grid->item(0, 1)->text(), u"7"_s);
    }
};

QTEST_MAIN(TestKeyboard)
#include "tst_gui_keyboard.moc"
