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
    void standardButtons()
    {
        if (!m_qtTranslated)
            QSKIP("Qt's German translation is missing: install qt6-translations-l10n");
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QStringList texts;
        for (const auto button : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel})
            texts << box.button(button)->text();
        QCOMPARE(texts, (QStringList{u"&Ja"_s, u"&Nein"_s, u"Abbrechen"_s}));
    }
};

QTEST_MAIN(TestGerman)
#include "tst_gui_german.moc"
