// The windows worked from the keyboard: the main window's Tab order and where its focus starts,
// drawn focus, Enter in the password box and on the buttons, and Escape in the side windows.
#include "advancedsettingswindow.h"
#include "apptestsupport.h"
#include "channellistwindow.h"
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
                   "0,3,csv,1\r\nisocode,name,id\r\nde,Alpha TV,101\r\n");
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
        // the control with the focus once "pw" is typed into the empty password box; what Enter
        // does there (every button takes it as a click)
        Columns<QString, QString>::add();
        QTest::newRow("password box") << u"passwordField"_s << u"sync"_s;
        QTest::newRow("Sync") << u"syncButton"_s << u"sync"_s;
        QTest::newRow("Log") << u"logButton"_s << u"log"_s;
    }
    void enterActs()
    {
        const auto [name, done] = Columns<QString, QString>::fetch();
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
        QTest::keyClick(focused, Qt::Key_Return);
        if (!transfer.urls.isEmpty())
            happened << u"sync"_s;
        QCOMPARE(happened.join(u' '), done);
    }
    void escapeCloses_data()
    {
        // the window, the control with the focus (in the channel list's grid and cell editor
        // Escape opens and drops an edit instead)
        Columns<QString, QString>::add();
        QTest::newRow("advanced, a field") << u"advanced"_s << u"timeoutField"_s;
        QTest::newRow("advanced, the server list") << u"advanced"_s << u"serverList"_s;
        QTest::newRow("channel list, a button") << u"list"_s << u"sortByNameButton"_s;
        QTest::newRow("log") << u"log"_s << u"listingView"_s;
    }
    void escapeCloses()
    {
        const auto [which, name] = Columns<QString, QString>::fetch();
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
        window->findChild<QWidget*>(name)->setFocus();
        QTest::keyClick(window->focusWidget(), Qt::Key_Escape);
        QVERIFY(!window->isVisible());
    }
};

QTEST_MAIN(TestKeyboard)
#include "tst_gui_keyboard.moc"
