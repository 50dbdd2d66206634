// Every window opens whole inside the screen's free area, also beside or below a main window
// that stands in the screen's bottom right corner, and a click on the advanced window's
// background keeps it there.
#include "advancedsettingswindow.h"
#include "apptestsupport.h"
#include "channellistwindow.h"
#include "channelnumberprompt.h"
#include "logviewer.h"
#include "mainwindow.h"
#include "placement.h"

#include <QtWidgets>

class TestOnScreen : public EnvironmentTest
{
    Q_OBJECT
    const QMargins m_frame{1, 20, 1, 1}; // framed as by a window manager

    void setUp() override
    {
        writeBytes(env->file(u"kovquibcg.dat"_s),
                   "0,3,csv,1\r\nisocode,name,id\r\nde,Alpha TV,101\r\n");
        writeBytes(env->file(u"dbchannel.dat"_s), "7,Alpha TV\r\n");
    }
    static void verifyInside(const QWidget* window, const QRect& available, const QMargins& frame)
    {
        const QRect outer = kov::frameRect(window, frame);
        QVERIFY2(available.contains(outer),
                 qPrintable(QDebug::toString(window) + u' ' + QDebug::toString(outer)));
    }

private slots:
    void framesInsideTheScreen_data()
    {
        // the window, a stored place in twips (channel list), the frame the window manager gives
        // the window once it is shown (a resizable one may get a thicker bottom edge)
        Columns<QString, QPoint, QMargins>::add();
        const QMargins grip(1, 20, 1, 5);
        QTest::newRow("advanced below the main window") << u"advanced"_s << QPoint() << m_frame;
        QTest::newRow("advanced, with a grip") << u"advanced"_s << QPoint() << grip;
        QTest::newRow("channel list beside it") << u"list"_s << QPoint() << m_frame;
        QTest::newRow("channel list, with a grip") << u"list"_s << QPoint(0, 20000) << grip;
        QTest::newRow("channel list stored far away")
            << u"list"_s << QPoint(30000, 20000) << m_frame;
        QTest::newRow("channel list stored above") << u"list"_s << QPoint(-3000, -3000) << m_frame;
        QTest::newRow("log viewer centred on it") << u"log"_s << QPoint() << m_frame;
        QTest::newRow("log viewer, with a grip") << u"log"_s << QPoint() << grip;
        QTest::newRow("channel number prompt") << u"prompt"_s << QPoint() << m_frame;
        QTest::newRow("main window from the tray") << u"main"_s << QPoint() << m_frame;
    }
    void framesInsideTheScreen()
    {
        const auto [which, stored, ownFrame] = Columns<QString, QPoint, QMargins>::fetch();
        kov::setFrameMarginsOverride(m_frame);
        const auto reset = qScopeGuard([] { kov::setFrameMarginsOverride(std::nullopt); });
        if (!stored.isNull()) {
            SettingsStore settings = kov::settings();
            kov::setNumber(settings, Setting::ChannelListLeft, stored.x());
            kov::setNumber(settings, Setting::ChannelListTop, stored.y());
        }
        MainWindow main(&transfer, {}, true);
        main.startUp(); // a first start: shown
        QVERIFY(main.isVisible());
        const QRect available = main.screen()->availableGeometry();
        QRect corner(QPoint(), main.size().grownBy(m_frame));
        corner.moveBottomRight(available.bottomRight());
        kov::moveFrameTo(&main, corner.topLeft(), m_frame);
        verifyInside(&main, available, m_frame);

        std::unique_ptr<QWidget> owned;
        QWidget* window = &main;
        if (which == u"advanced"_s) {
            main.onAdvancedClicked();
            window = main.advancedWindow();
        } else if (which == u"list"_s) {
            window = new ChannelListWindow(&main); // closed with the main window's side windows
            window->show();
        } else if (which == u"log"_s) {
            owned = std::make_unique<LogViewer>(&main);
        } else if (which == u"prompt"_s) {
            owned = std::make_unique<ChannelNumberPrompt>(u"Alpha TV"_s, 0, &main);
        } else {
            main.onCloseClicked();
            kov::moveFrameTo(&main, corner.topLeft() + QPoint(200, 100), m_frame); // dragged off
            main.onOpenTriggered();
        }
        if (owned) {
            window = owned.get();
            window->show();
        }
        QVERIFY(window->isVisible());
        kov::setFrameMarginsOverride(ownFrame); // framed now, and active
        QVERIFY(QTest::qWaitForWindowActive(window));
        verifyInside(window, available, ownFrame);
        QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(2, 2)); // the background
        verifyInside(window, available, ownFrame);
        if (which == u"advanced"_s) { // placed again while open: still inside
            main.advancedWindow()->placeFrameAt(available.bottomRight());
            verifyInside(window, available, ownFrame);
        }
    }
    void frameInside_data()
    {
        Columns<QRect, QRect>::add(); // the frame, where it goes in a 1280x770 area below a panel
        QTest::newRow("inside stays") << QRect(100, 100, 400, 300) << QRect(100, 100, 400, 300);
        QTest::newRow("past the bottom") << QRect(0, 700, 400, 300) << QRect(0, 500, 400, 300);
        QTest::newRow("past the right") << QRect(1000, 40, 400, 300) << QRect(880, 40, 400, 300);
        QTest::newRow("above the panel") << QRect(-50, 0, 400, 300) << QRect(0, 30, 400, 300);
        QTest::newRow("larger than the area")
            << QRect(500, 500, 1400, 900) << QRect(0, 30, 1400, 900);
    }
    void frameInside()
    {
        const auto [outer, inside] = Columns<QRect, QRect>::fetch();
        QCOMPARE(kov::frameInside(outer, QRect(0, 30, 1280, 770)), inside);
    }
};

QTEST_MAIN(TestOnScreen)
#include "tst_gui_onscreen.moc"
