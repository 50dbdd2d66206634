// The channel list window: the grid's editor and its keys, numbers cleaned as typed, the save
// question on closing and its box, a missing guide, and where it opens.
#include "apptestsupport.h"
#include "channellistwindow.h"
#include "gridcelleditor.h"
#include "placement.h"
#include "widgetuserinterface.h"

#include <QtWidgets>
class TestChannelListWindow : public EnvironmentTest
{
    Q_OBJECT
    QWidget m_main; // the main window, which the list opens next to

    void setUp() override
    {
        writeBytes(env->file(u"kovquibcg.dat"_s),
                   "0,3,csv,3\r\nisocode,name,id\r\nde,Alpha TV,101\r\n"
                   "de,Beta One,102\r\nat,Gamma,103\r\n");
        writeBytes(env->file(u"dbchannel.dat"_s), "7,Alpha TV\r\n8,Beta One\r\n");
        m_main.setGeometry(100, 100, 200, 130);
    }
    std::unique_ptr<ChannelListWindow> open()
    {
        auto w = std::make_unique<ChannelListWindow>(&m_main);
        w->setAttribute(Qt::WA_DeleteOnClose, false);
        w->show();
        return w;
    }
    /// Types over a cell as a user does: the first key opens the editor, `finish` ends it.
    void type(ChannelListWindow& w, int row, int column, const QString& text,
              Qt::Key finish = Qt::Key_Return)
    {
        w.grid->setFocus();
        w.grid->setCurrentCell(row, column);
        QTest::keyClicks(w.grid, text.left(1));
        QVERIFY(w.editor()->editBox()->isVisible());
        QTest::keyClicks(w.editor()->editBox(), text.mid(1));
        QTest::keyClick(w.editor()->editBox(), finish);
    }
    QString cell(const ChannelListWindow& w, int row, int column)
    {
        return w.grid->item(row, column) ? w.grid->item(row, column)->text() : QString();
    }

private slots:
    void editorKeys()
    {
        auto w = open();
        GridCellEditor* editor = w->editor();
        type(*w, 0, 1, u"4"_s, Qt::Key_Down);
        QCOMPARE(w->grid->currentRow(), 1);
        type(*w, 1, 1, u"6"_s, Qt::Key_Up);
        QCOMPARE(w->grid->currentRow(), 0);
        QCOMPARE(cell(*w, 1, 1), u"6"_s);
        editor->setEnterKeyBehaviour(GridCellEditor::KeyBehaviour::MoveRight);
        type(*w, 1, 1, u"8"_s); // past the row's end: the next row's first cell
        QCOMPARE(QPoint(w->grid->currentColumn(), w->grid->currentRow()), QPoint(0, 2));
        editor->setTabKeyBehaviour(GridCellEditor::KeyBehaviour::MoveDown);
        QCOMPARE(w->closeButton->focusPolicy(),
                 Qt::ClickFocus);            // other controls leave the tab order
        type(*w, 2, 1, u"9"_s, Qt::Key_Tab); // past the bottom: the first row
        QCOMPARE(w->grid->currentRow(), 0);
        editor->setTabKeyBehaviour(GridCellEditor::KeyBehaviour::CloseEditor);
        QVERIFY(w->closeButton->focusPolicy() & Qt::TabFocus);
        type(*w, 0, 1, u"99"_s, Qt::Key_Escape); // drops the edit; the window stays open
        QVERIFY(!editor->isEditing() && w->isVisible());
        QCOMPARE(cell(*w, 0, 1), u"4"_s);
        env->ui.boxAnswers = {MessageAnswer::No}; // nothing saved
        w->close();
        QCOMPARE(env->ui.boxes, QStringList{u"Save Changes ?"_s});
        QCOMPARE(readBytes(env->file(u"dbchannel.dat"_s)), "7,Alpha TV\r\n8,Beta One\r\n");
    }
    void gridKeys_data()
    {
        // a key pressed on Alpha TV's number 7; the edit box's text then (none: still closed)
        Columns<int, QString>::add();
        for (const int key : {Qt::Key_Space, Qt::Key_Backspace, Qt::Key_Return, Qt::Key_Enter,
                              Qt::Key_Escape, Qt::Key_F2})
            QTest::addRow("%s", qPrintable(QKeySequence(key).toString())) << key << u"7"_s;
        QTest::newRow("a digit replaces") << int(Qt::Key_5) << u"5"_s;
        QTest::newRow("tab moves on") << int(Qt::Key_Tab) << QString();
    }
    void gridKeys()
    {
        const auto [key, text] = Columns<int, QString>::fetch();
        auto w = open();
        w->grid->setCurrentCell(0, 1);
        QTest::keyClick(w->grid, Qt::Key(key));
        QCOMPARE(w->editor()->isEditing() ? w->editor()->editBox()->text() : QString(), text);
        QVERIFY(w->isVisible()); // Escape included: the grid keeps it from the window
    }
    void sortButtons_data()
    {
        // sort column (0 by name, 1 by channel), numbers typed as "row=number"; rows shown
        Columns<int, QString, QString>::add();
        QTest::newRow("name, ignoring case") // the number typed for Alpha TV is stored: lost
            << 0 << u"0=10 3=3"_s << u"alpha|,Alpha TV|7,Beta One|8,Gamma|,Zeta|10"_s;
        QTest::newRow("channel, none first")
            << 1 << u"0=9 2=5 4=10"_s << u"alpha|,Alpha TV|7,Beta One|8,Zeta|9,Gamma|10"_s;
    }
    void sortButtons()
    {
        const auto [column, typed, shown] = Columns<int, QString, QString>::fetch();
        writeBytes(env->file(u"kovquibcg.dat"_s),
                   "0,3,csv,3\r\nisocode,name,id\r\nde,Zeta,1\r\nde,alpha,2\r\nde,Beta One,3\r\n"
                   "de,Alpha TV,4\r\nde,Gamma,5\r\n");
        auto w = open();
        for (const QString& edit : typed.split(u' '))
            type(*w, edit.section(u'=', 0, 0).toInt(), 1, edit.section(u'=', 1));
        QTest::mouseClick(column == 0 ? w->sortByNameButton : w->sortByChannelButton,
                          Qt::LeftButton);
        QStringList got;
        for (int r = 0; r < w->grid->rowCount(); ++r)
            got << cell(*w, r, 0) + u'|' + cell(*w, r, 1);
        QCOMPARE(got.join(u','), shown);
    }
    void typedNumbersCleanedAndSaved()
    {
        auto w = open();
        type(*w, 0, 1, u"012 "_s);
        type(*w, 1, 1, u"1.5"_s);        // refused: the cell keeps its number
        type(*w, 2, 1, u"1000"_s);       // refused: the cell stays empty
        type(*w, 2, 0, u"Renamed 1x"_s); // names are not cleaned
        QCOMPARE(cell(*w, 0, 1) + u'|' + cell(*w, 1, 1) + u'|' + cell(*w, 2, 1) + u'|' +
                     cell(*w, 2, 0),
                 u"12|8||Renamed 1x"_s);
        w->grid->setCurrentCell(1, 1);
        QTest::keyClick(w->grid, Qt::Key_F2);
        w->editor()->editBox()->clear();
        QTest::keyClick(w->editor()->editBox(), Qt::Key_Return);
        env->ui.boxAnswers = {MessageAnswer::Yes};
        QTest::mouseClick(w->closeButton, Qt::LeftButton);
        QCOMPARE(readBytes(env->file(u"dbchannel.dat"_s)), "12,Alpha TV\r\n");
        for (const QString& name : {u"ChColW1"_s, u"ChLstWidth"_s, u"ChLstLeft"_s, u"ChLstTop"_s})
            QVERIFY2(kov::settings().valueExists(name), qPrintable(name));
    }
    void refusedNumberSaysWhy_data()
    {
        Columns<QString, QString, QString>::add(); // typed over Alpha TV's 7; the cell, the status
        QTest::newRow("letters after digits")
            << u"12abc"_s << u"7"_s << u"12abc ist keine ganze Zahl."_s;
        QTest::newRow("exponent") << u"1e2"_s << u"7"_s << u"1e2 ist keine ganze Zahl."_s;
        QTest::newRow("too large") << u"1000"_s << u"7"_s
                                   << u"1000 liegt außerhalb des Bereichs: Kanalnummern sind 1 "
                                      u"bis 999."_s;
        QTest::newRow("taken") << u"12"_s << u"12"_s << QString();
    }
    void refusedNumberSaysWhy()
    {
        const auto [typed, shown, status] = Columns<QString, QString, QString>::fetch();
        QLocale::setDefault(QLocale(u"de_DE"_s)); // the reason is a translated text
        const auto reset = qScopeGuard([] { QLocale::setDefault(QLocale::c()); });
        auto w = open();
        type(*w, 0, 1, typed);
        QCOMPARE(cell(*w, 0, 1), shown);
        QCOMPARE(w->statusLine->isVisible() ? w->statusLine->text() : QString(), status);
        type(*w, 1, 1, u"9"_s); // a number taken clears the reason
        QVERIFY(w->statusLine->text().isEmpty() && !w->statusLine->isVisible());
    }
    void missingGuideClosesAtOnce()
    {
        QFile::remove(env->file(u"kovquibcg.dat"_s));
        QPointer<ChannelListWindow> w = new ChannelListWindow(&m_main);
        w->show();
        QTRY_VERIFY(w.isNull());
        QCOMPARE(env->ui.boxes.size(), 1); // that the guide is missing; no save question
    }
    void placesAndStoresTheFrame_data()
    {
        Columns<QMargins, QPoint, QPoint>::add(); // frame, stored place (twips), client place
        const QMargins titleBar(1, 20, 1, 1);
        // The main window's client area is at (100, 100), 200 pixels wide.
        QTest::newRow("beside the main window") << QMargins() << QPoint() << QPoint(301, 100);
        QTest::newRow("framed: top edges level") << titleBar << QPoint() << QPoint(303, 100);
        QTest::newRow("framed, stored") << titleBar << QPoint(3000, 1500) << QPoint(201, 120);
    }
    void placesAndStoresTheFrame()
    {
        const auto [frame, stored, client] = Columns<QMargins, QPoint, QPoint>::fetch();
        kov::setFrameMarginsOverride(frame);
        const auto reset = qScopeGuard([] { kov::setFrameMarginsOverride(std::nullopt); });
        SettingsStore settings = kov::settings();
        if (!stored.isNull()) {
            kov::setNumber(settings, Setting::ChannelListLeft, stored.x());
            kov::setNumber(settings, Setting::ChannelListTop, stored.y());
        }
        for (int opened = 0; opened < 3; ++opened) { // it stays where it was closed
            auto w = open();
            QCOMPARE(w->geometry().topLeft(), client);
            w->close();
            QCOMPARE(QPoint(kov::number(settings, Setting::ChannelListLeft),
                            kov::number(settings, Setting::ChannelListTop)) /
                         15,
                     client - QPoint(frame.left(), frame.top()));
        }
    }
    void saveQuestionBoxShowsItsCaption()
    {
        WidgetUserInterface widgets;
        kov::setUserInterface(&widgets);
        const auto restore = qScopeGuard([this] { kov::setUserInterface(&env->ui); });
        auto w = open();
        type(*w, 2, 1, u"5"_s);
        QString seen; // the box is closed before anything is checked
        QTimer::singleShot(0, [&seen] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                const bool yesNoQuestion =
                    box->icon() == QMessageBox::Question &&
                    box->standardButtons() == (QMessageBox::Yes | QMessageBox::No);
                seen = box->windowTitle() +
                       (box->windowIcon().isNull() ? u", no icon"_s : QString()) +
                       (box->width() < kov::captionWidth(box) ? u", too narrow"_s : QString()) +
                       (yesNoQuestion ? QString() : u", not a yes/no question"_s);
                box->reject();
            }
        });
        w->close();
        QCOMPARE(seen, u"Channel Configuration"_s);
    }
};

QTEST_MAIN(TestChannelListWindow)
#include "tst_gui_channellist.moc"
