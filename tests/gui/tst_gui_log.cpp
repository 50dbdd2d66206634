// Part 4.5: the log viewer.
#include "frmlog.h"
#include "settings/ckovreg.h"
#include "settings/settings_catalogue.h"
#include "testsupport.h"
#include "twips.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QtTest>

class TestLogWindow : public QObject
{
    Q_OBJECT
private slots:
    void listing();
    void saveNumbersFiles();
    void saveWritesListingNotEdits();
    void emptyListing();
    void failedSaveKeepsCounter();
    void resizeRule();
};

void TestLogWindow::listing()
{
    TestEnvironment env;
    CKovReg reg = kov_Settings();
    reg.setStr(KovSetting::Account, QStringLiteral("demo"));
    reg.setLng(KovSetting::HaveServers, 1);
    frmLog log;
    QCOMPARE(log.windowTitle(), QStringLiteral("Log"));
    QCOMPARE(log.listing(), QStringLiteral("Account : demo\r\nHaveServers : 1\r\n"));
    QCOMPARE(log.Text1->toPlainText(), QStringLiteral("Account : demo\nHaveServers : 1\n"));
    QCOMPARE(log.mnuFileSave->text(), QStringLiteral("&Save"));
    QCOMPARE(log.mnuFileCopyClose->text(), QStringLiteral("&Copy and Close"));
    QCOMPARE(log.mnuFileExit->text(), QStringLiteral("E&xit"));
    QCOMPARE(log.menuBar->actions().value(0)->text(), QStringLiteral("&File"));
}

void TestLogWindow::saveNumbersFiles()
{
    TestEnvironment env;
    kov_Settings().setStr(KovSetting::Account, QStringLiteral("demo"));
    frmLog log;
    log.mnuFileSave->trigger();
    QCOMPARE(env.ui.boxes.size(), 1);
    QCOMPARE(env.ui.boxes[0].text, env.folder() + QStringLiteral("/log1.txt"));
    QCOMPARE(env.ui.boxes[0].caption, QStringLiteral("SAVE"));
    QCOMPARE(env.ui.boxes[0].style, 64);
    QCOMPARE(kov_Settings().Lng(KovSetting::NextLogNo), 2);
    QCOMPARE(readBytes(env.file(QStringLiteral("log1.txt"))), QByteArray("Account : demo\r\n\r\n"));
    frmLog again;
    again.mnuFileSave->trigger();
    QVERIFY(QFile::exists(env.file(QStringLiteral("log2.txt"))));
    QCOMPARE(kov_Settings().Lng(KovSetting::NextLogNo), 3);
}

void TestLogWindow::saveWritesListingNotEdits()
{
    TestEnvironment env;
    kov_Settings().setStr(KovSetting::Account, QStringLiteral("demo"));
    frmLog log;
    log.show();
    log.Text1->moveCursor(QTextCursor::End);
    QTest::keyClicks(log.Text1, QStringLiteral("typed by the user"));
    log.mnuFileSave->trigger();
    QVERIFY(!readBytes(env.file(QStringLiteral("log1.txt"))).contains("typed by the user"));
    log.mnuFileCopyClose->trigger();
    QVERIFY(QGuiApplication::clipboard()->text().contains(QLatin1String("typed by the user")));
    QVERIFY(QGuiApplication::clipboard()->text().startsWith(QLatin1String("Account : demo")));
    QVERIFY(!log.isVisible());
}

void TestLogWindow::emptyListing()
{
    TestEnvironment env;
    frmLog log;
    QCOMPARE(log.listing(), QString());
    log.save();
    // NextLogNo was created by the read: the listing was taken before it existed.
    QCOMPARE(readBytes(env.file(QStringLiteral("log1.txt"))), QByteArray("\r\n"));
}

void TestLogWindow::failedSaveKeepsCounter()
{
    TestEnvironment env;
    QDir(env.folder()).mkdir(QStringLiteral("log1.txt"));
    frmLog log;
    log.save();
    QVERIFY(env.ui.boxes.isEmpty());
    QCOMPARE(kov_Settings().Lng(KovSetting::NextLogNo), 1);
}

void TestLogWindow::resizeRule()
{
    TestEnvironment env;
    frmLog log;
    log.show();
    for (const QSize size : {QSize(600, 400), QSize(900, 300)}) {
        log.resize(size);
        QCoreApplication::processEvents();
        QCOMPARE(log.Text1->width(), log.width() - kov_TwipsToPixels(150, &log));
        QCOMPARE(log.Text1->height(), log.height() - kov_TwipsToPixels(690, &log));
    }
}

QTEST_MAIN(TestLogWindow)
#include "tst_gui_log.moc"
