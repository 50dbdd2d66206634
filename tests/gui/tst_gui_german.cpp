// Under a German locale every text a user meets is German: the program's own through its
// string files, Qt's standard buttons through Qt's translation.
#include "apptestsupport.h"
#include "channellistwindow.h"
#include "mainwindow.h"
#include "qttranslation.h"

#include <QtWidgets>

class TestGerman : public EnvironmentTest
{
    Q_OBJECT
    bool m_qtTranslated = false;

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        m_qtTranslated = kov::installQtTranslation();
    }
    void windowTexts()
    {
        writeBytes(env->file(u"kovquibcg.dat"_s),
                   "0,3,csv,1\r\nisocode,name,id\r\nde,Alpha TV,101\r\n");
        MainWindow main(&transfer, QStringList(), true);
        ChannelListWindow list(&main);
        list.setAttribute(Qt::WA_DeleteOnClose, false);
        const QStringList shown{
            main.advancedButton->toolTip(), main.closeButton->toolTip(),
            main.openAction->text(),        main.syncAction->text(),
            main.exitAction->text(),        list.grid->horizontalHeaderItem(1)->text()};
        QCOMPARE(shown, (QStringList{u"Erweitert"_s, u"Schließen"_s, u"Ö&ffnen"_s,
                                     u"Jetzt &abgleichen"_s, u"&Beenden"_s, u"Nummer"_s}));
    }
    void standardButtons_data()
    {
        Columns<int, QString>::add(); // the button, its text
        QTest::newRow("Yes") << int(QMessageBox::Yes) << u"&Ja"_s;
        QTest::newRow("No") << int(QMessageBox::No) << u"&Nein"_s;
        QTest::newRow("Cancel") << int(QMessageBox::Cancel) << u"Abbrechen"_s;
    }
    void standardButtons()
    {
        if (!m_qtTranslated)
            QSKIP("Qt's German translation is missing: install qt6-translations-l10n");
        const auto [button, text] = Columns<int, QString>::fetch();
        QMessageBox box;
        box.setStandardButtons(QMessageBox::StandardButton(button));
        QCOMPARE(box.button(QMessageBox::StandardButton(button))->text(), text);
    }
};

QTEST_MAIN(TestGerman)
#include "tst_gui_german.moc"
