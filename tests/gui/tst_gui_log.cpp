// The log window: the listing it shows (access strings hidden), saved to numbered files and
// copied on closing, and the text area following the window's size.
#include "apptestsupport.h"
#include "logviewer.h"

#include <QtWidgets>

class TestLogWindow : public EnvironmentTest
{
    Q_OBJECT
private slots:
    void saveCopyAndSize()
    {
        kov::setText(testSettings(), Setting::Account, u"demo"_s);
        QDir(env->folder()).mkdir(u"log2.txt"_s); // a save that fails keeps the number
        LogViewer log;
        log.show();
        log.listingView->moveCursor(QTextCursor::End);
        QTest::keyClicks(log.listingView, u"typed"_s);
        log.saveAction->trigger();
        log.saveAction->trigger();
        QCOMPARE(env->ui.boxes, QStringList{env->folder() + u"/log1.txt"_s});
        QCOMPARE(env->ui.boxFrames, QStringList{u"Information SAVE"_s});
        QCOMPARE(readBytes(env->file(u"log1.txt"_s)), "Account : demo\r\n\r\n"); // not the edit
        QCOMPARE(kov::rawNumber(testSettings(), Setting::NextLogNo), 2);
        for (const QSize size : {QSize(600, 400), QSize(900, 300)}) {
            log.resize(size); // the text box fills the window under the menu
            QCOMPARE(log.listingView->geometry(), QRect(0, log.menuBar->height(), size.width(),
                                                        size.height() - log.menuBar->height()));
        }
        log.copyAndCloseAction->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), u"Account : demo\ntyped"_s);
        QVERIFY(!log.isVisible());
    }
    void hidesAccessString()
    {
        // Shown and saved for troubleshooting: the URL stays, its access string would log in.
        testSettings().setText(
            u"LastgetjobsQueryString"_s,
            u"http://localhost:80/getjobs?serial=42&access=1JJdzE1Wo9Dvmu1%3D"_s);
        LogViewer log;
        log.saveAction->trigger();
        const QString shown = u"LastgetjobsQueryString : http://localhost:80/getjobs?serial=42"
                              u"&access=(hidden)"_s;
        QCOMPARE(log.listingView->toPlainText(), shown + u"\n"_s);
        QCOMPARE(readBytes(env->file(u"log1.txt"_s)), (shown + u"\r\n\r\n"_s).toLatin1());
    }
};

QTEST_MAIN(TestLogWindow)
#include "tst_gui_log.moc"
