// Part 3.4: the channel list editor and clsFlexGridEdit, driven through the real grid.
#include "clsflexgridedit.h"
#include "frmchannellist.h"
#include "settings/ckovreg.h"
#include "settings/settings_catalogue.h"
#include "testsupport.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

namespace {
const QByteArray kGuide =
    "0,3,csv,3\r\nisocode,name,id,country,category,language\r\n"
    "de,Alpha TV,101,DE,General,de\r\nde,Beta One,102,DE,News,de\r\nat,Gamma,103,AT,Culture,de\r\n";

QString cell(const frmChannelList& w, int row, int column)
{
    QTableWidgetItem* item = w.GRID->item(row, column);
    return item ? item->text() : QString();
}

/// Types `text` over the cell as a user would: select it, type, press `finish`.
void typeInto(frmChannelList& w, int row, int column, const QString& text,
              Qt::Key finish = Qt::Key_Return)
{
    w.GRID->setFocus();
    w.GRID->setCurrentCell(row, column);
    QTest::keyClicks(w.GRID, text.left(1));
    QLineEdit* box = w.editor()->editBox();
    QVERIFY(box->isVisible());
    QTest::keyClicks(box, text.mid(1));
    QTest::keyClick(box, finish);
}
} // namespace

class TestChannelListWindow : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void gridRows();
    void lastDuplicateShown();
    void clearAndSave();
    void answerNoSavesNothing();
    void closeWithoutChanges();
    void escapeKeepsOldText();
    void numberCleaning();
    void fillMethod1();
    void noGuideClosesAtOnce();
    void sortButtonsRefill();
    void editorKeys();
    void editBoxName();
    void positionFromSettings();

private:
    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<QWidget> m_main;
};

void TestChannelListWindow::init()
{
    m_env = std::make_unique<TestEnvironment>();
    writeBytes(m_env->file(QStringLiteral("kovquibcg.dat")), kGuide);
    m_main = std::make_unique<QWidget>();
    m_main->setGeometry(100, 100, 400, 130);
}

void TestChannelListWindow::cleanup()
{
    m_main.reset();
    m_env.reset();
}

void TestChannelListWindow::gridRows()
{
    frmChannelList w(m_main.get());
    w.setAttribute(Qt::WA_DeleteOnClose, false);
    QCOMPARE(w.GRID->rowCount() + 1, 4); // the header row and three channel rows
    QCOMPARE(w.GRID->horizontalHeaderItem(0)->text(), QStringLiteral("Name"));
    QCOMPARE(w.GRID->horizontalHeaderItem(1)->text(), QStringLiteral("Number"));
    QCOMPARE(cell(w, 0, 0), QStringLiteral("Alpha TV"));
    QCOMPARE(cell(w, 2, 0), QStringLiteral("Gamma"));
    QCOMPARE(w.GRID->item(0, 0)->textAlignment(), int(Qt::AlignLeft | Qt::AlignVCenter));
    QCOMPARE(w.lblCaption->text(), QStringLiteral("Channel Configuration"));
}

void TestChannelListWindow::lastDuplicateShown()
{
    writeBytes(m_env->file(QStringLiteral("dbchannel.dat")), "5,Beta One\r\n12,Beta One\r\n");
    frmChannelList w(m_main.get());
    w.setAttribute(Qt::WA_DeleteOnClose, false);
    QCOMPARE(cell(w, 1, 1), QStringLiteral("12"));
}

void TestChannelListWindow::clearAndSave()
{
    const QByteArray old = "7,Alpha TV\r\n8,Beta One\r\n";
    writeBytes(m_env->file(QStringLiteral("dbchannel.dat")), old);
    QPointer<frmChannelList> w = new frmChannelList(m_main.get());
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    w->GRID->setFocus();
    w->GRID->setCurrentCell(1, 1);
    QTest::keyClick(w->GRID, Qt::Key_F2);
    QLineEdit* box = w->editor()->editBox();
    box->clear();
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(cell(*w, 1, 1), QString());
    m_env->ui.boxAnswers = {6}; // Yes
    QTest::mouseClick(w->cmdClose, Qt::LeftButton);
    QTRY_VERIFY(w.isNull()); // closed and deleted
    QCOMPARE(m_env->ui.boxes.size(), 1);
    QCOMPARE(m_env->ui.boxes[0].text, QStringLiteral("Save Changes ?"));
    QCOMPARE(m_env->ui.boxes[0].caption, QStringLiteral("Channel Configuration"));
    QCOMPARE(m_env->ui.boxes[0].style, 36);
    QCOMPARE(readBytes(m_env->file(QStringLiteral("dbchannel.dat"))), QByteArray("7,Alpha TV\r\n"));
    QCOMPARE(readBytes(m_env->file(QStringLiteral("dbchannel_.dat"))), old);
}

void TestChannelListWindow::answerNoSavesNothing()
{
    writeBytes(m_env->file(QStringLiteral("dbchannel.dat")), "7,Alpha TV\r\n");
    frmChannelList w(m_main.get());
    w.setAttribute(Qt::WA_DeleteOnClose, false);
    w.show();
    typeInto(w, 2, 1, QStringLiteral("44"));
    m_env->ui.boxAnswers = {7}; // No
    w.close();
    QCOMPARE(m_env->ui.boxes.size(), 1);
    QCOMPARE(readBytes(m_env->file(QStringLiteral("dbchannel.dat"))), QByteArray("7,Alpha TV\r\n"));
}

void TestChannelListWindow::closeWithoutChanges()
{
    writeBytes(m_env->file(QStringLiteral("dbchannel.dat")), "7,Alpha TV\r\n");
    frmChannelList w(m_main.get());
    w.setAttribute(Qt::WA_DeleteOnClose, false);
    w.show();
    w.close();
    QVERIFY(m_env->ui.boxes.isEmpty());
    CKovReg reg = kov_Settings();
    for (const QString& name :
         strings({"ChColW0", "ChColW1", "ChLstWidth", "ChLstHeight", "ChLstLeft", "ChLstTop"}))
        QVERIFY2(reg.ValueExists(name), qPrintable(name));
    QVERIFY(!QFile::exists(m_env->file(QStringLiteral("dbchannel_.dat"))));
    QCOMPARE(readBytes(m_env->file(QStringLiteral("dbchannel.dat"))), QByteArray("7,Alpha TV\r\n"));
}

void TestChannelListWindow::escapeKeepsOldText()
{
    writeBytes(m_env->file(QStringLiteral("dbchannel.dat")), "7,Alpha TV\r\n");
    frmChannelList w(m_main.get());
    w.setAttribute(Qt::WA_DeleteOnClose, false);
    w.show();
    typeInto(w, 0, 1, QStringLiteral("99"), Qt::Key_Escape);
    QVERIFY(!w.editor()->isEditing());
    QCOMPARE(cell(w, 0, 1), QStringLiteral("7"));
    w.close();
    QVERIFY(m_env->ui.boxes.isEmpty());
}

void TestChannelListWindow::numberCleaning()
{
    frmChannelList w(m_main.get());
    w.setAttribute(Qt::WA_DeleteOnClose, false);
    w.show();
    typeInto(w, 0, 1, QStringLiteral("12abc"));
    QCOMPARE(cell(w, 0, 1), QStringLiteral("12"));
    typeInto(w, 1, 1, QStringLiteral("abc"));
    QCOMPARE(cell(w, 1, 1), QStringLiteral("0"));
    typeInto(w, 2, 0, QStringLiteral("Renamed 1x")); // the Name column is not cleaned
    QCOMPARE(cell(w, 2, 0), QStringLiteral("Renamed 1x"));
    m_env->ui.boxAnswers = {6};
    w.close();
    QCOMPARE(readBytes(m_env->file(QStringLiteral("dbchannel.dat"))),
             QByteArray("12,Alpha TV\r\n0,Beta One\r\n"));
}

void TestChannelListWindow::fillMethod1()
{
    kov_Settings().setLng(KovSetting::GridFillMethod, 1);
    frmChannelList w(m_main.get());
    w.setAttribute(Qt::WA_DeleteOnClose, false);
    QCOMPARE(w.fillMethod(), 1);
    QCOMPARE(w.GRID->columnCount(), 6);
    QCOMPARE(w.GRID->horizontalHeaderItem(0)->text(), QStringLiteral("isocode"));
    QCOMPARE(cell(w, 1, 2), QStringLiteral("102"));
    w.show();
    typeInto(w, 0, 1, QStringLiteral("5"));
    w.close();
    QVERIFY(!QFile::exists(m_env->file(QStringLiteral("dbchannel.dat"))));
    QVERIFY(m_env->ui.boxes.isEmpty());
}

void TestChannelListWindow::noGuideClosesAtOnce()
{
    QFile::remove(m_env->file(QStringLiteral("kovquibcg.dat")));
    kov_Settings().setLng(KovSetting::HaveChannelDatabase, 1);
    QPointer<frmChannelList> w = new frmChannelList(m_main.get());
    QVERIFY(w->noGuide());
    QCOMPARE(m_env->ui.boxes.size(), 1);
    QCOMPARE(m_env->ui.boxes[0].style, 16);
    QCOMPARE(kov_Settings().Lng(KovSetting::HaveChannelDatabase), 0);
    w->show();
    QTRY_VERIFY(w.isNull());
    QCOMPARE(m_env->ui.boxes.size(), 1); // no save question
    QVERIFY(
        !kov_Settings().ValueExists(QStringLiteral("ChLstWidth"))); // the closing steps did not run
}

void TestChannelListWindow::sortButtonsRefill()
{
    writeBytes(m_env->file(QStringLiteral("dbchannel.dat")), "7,Alpha TV\r\n");
    frmChannelList w(m_main.get());
    w.setAttribute(Qt::WA_DeleteOnClose, false);
    w.show();
    typeInto(w, 0, 1, QStringLiteral("3"));
    QTest::mouseClick(w.cmdSortName, Qt::LeftButton);
    QCOMPARE(cell(w, 0, 1), QStringLiteral("7")); // the refill shows the stored number again
    QCOMPARE(cell(w, 0, 0), QStringLiteral("Alpha TV"));
    QTest::mouseClick(w.cmdSortChannel, Qt::LeftButton);
    QCOMPARE(w.GRID->rowCount(), 3);
    w.close();
}

void TestChannelListWindow::editorKeys()
{
    frmChannelList w(m_main.get());
    w.setAttribute(Qt::WA_DeleteOnClose, false);
    w.show();
    clsFlexGridEdit* editor = w.editor();
    QCOMPARE(editor->EnterKeyBehaviour(), 0);
    QCOMPARE(editor->TabKeyBehaviour(), 0);
    typeInto(w, 0, 1, QStringLiteral("4"), Qt::Key_Down);
    QCOMPARE(w.GRID->currentRow(), 1);
    typeInto(w, 1, 1, QStringLiteral("6"), Qt::Key_Up);
    QCOMPARE(w.GRID->currentRow(), 0);
    QCOMPARE(cell(w, 1, 1), QStringLiteral("6"));
    editor->setEnterKeyBehaviour(clsFlexGridEdit::MoveRight);
    typeInto(w, 1, 1, QStringLiteral("8"));
    QCOMPARE(w.GRID->currentRow(), 2); // past the row's end: the next row's first cell
    QCOMPARE(w.GRID->currentColumn(), 0);
    editor->setTabKeyBehaviour(clsFlexGridEdit::MoveDown);
    QCOMPARE(w.cmdClose->focusPolicy(), Qt::ClickFocus); // other controls leave the tab order
    typeInto(w, 2, 1, QStringLiteral("9"), Qt::Key_Tab);
    QCOMPARE(w.GRID->currentRow(), 0); // past the bottom: the first row, next column
    editor->setTabKeyBehaviour(clsFlexGridEdit::CloseEditor);
    QVERIFY(w.cmdClose->focusPolicy() & Qt::TabFocus);
    // A space opens the editor with the cell's present text.
    w.GRID->setCurrentCell(1, 1);
    QTest::keyClick(w.GRID, Qt::Key_Space);
    QCOMPARE(editor->editBox()->text(), QStringLiteral("8"));
    QTest::keyClick(editor->editBox(), Qt::Key_Escape);
    w.close();
}

void TestChannelListWindow::editBoxName()
{
    frmChannelList w(m_main.get());
    w.setAttribute(Qt::WA_DeleteOnClose, false);
    QCOMPARE(w.editor()->editBox()->objectName(), QStringLiteral("tbFgEdit"));
    QVERIFY(!w.editor()->editBox()->isVisible());
    QCOMPARE(w.editor()->editBox()->focusPolicy(), Qt::ClickFocus);
    clsFlexGridEdit second;
    second.setFlexGridControl(w.GRID);
    QCOMPARE(second.editBox()->objectName(), QStringLiteral("tbFgEdit1"));
    clsFlexGridEdit third;
    third.setFlexGridControl(w.GRID);
    QCOMPARE(third.editBox()->objectName(), QStringLiteral("tbFgEdit11"));
    w.close();
}

void TestChannelListWindow::positionFromSettings()
{
    CKovReg reg = kov_Settings();
    reg.setLng(KovSetting::ChLstLeft, 1500);
    reg.setLng(KovSetting::ChLstTop, 3000);
    frmChannelList w(m_main.get());
    w.setAttribute(Qt::WA_DeleteOnClose, false);
    w.show();
    QCOMPARE(w.pos(), QPoint(100, 200)); // 15 twips per pixel
    w.close();
}

QTEST_MAIN(TestChannelListWindow)
#include "tst_gui_channellist.moc"
