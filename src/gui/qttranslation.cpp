#include "qttranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool kov::installQtTranslation(const QLocale& locale)
{
    // qtbase_de.qm holds the texts of QtCore, QtGui and QtWidgets; "de-AT" finds qtbase_de.qm
    // when there is no qtbase_de_AT.qm.
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
        QCoreApplication::installTranslator(translator))
        return true;
    delete translator;
    return false;
}
