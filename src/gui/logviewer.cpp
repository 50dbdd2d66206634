#include "logviewer.h"

#include "app/settingslisting.h"
#include "artwork.h"
#include "foundation/filewriters.h"
#include "foundation/programfolder.h"
#include "foundation/texttools.h"
#include "foundation/translate.h"
#include "placement.h"
#include "platform/userinterface.h"
#include "settings/settingscatalogue.h"
#include "windowunits.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QVBoxLayout>

LogViewer::LogViewer(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(kov::translate(QStringLiteral("Log")));
    setWindowIcon(Artwork::windowIcon());
    setModal(true);
    m_settings.setKey(kov::settingsKey());
    // Shown, saved and copied for troubleshooting, so without what would log in as the account.
    m_listing = kov::settingsListing(kov::Secrets::Hidden);

    menuBar = new QMenuBar(this);
    QMenu* fileMenu = menuBar->addMenu(kov::translate(QStringLiteral("&File")));
    saveAction = fileMenu->addAction(kov::translate(QStringLiteral("&Save")));
    copyAndCloseAction = fileMenu->addAction(kov::translate(QStringLiteral("&Copy and Close")));
    exitAction = fileMenu->addAction(kov::translate(QStringLiteral("E&xit")));
    connect(saveAction, &QAction::triggered, this, &LogViewer::save);
    connect(copyAndCloseAction, &QAction::triggered, this, &LogViewer::copyAndClose);
    connect(exitAction, &QAction::triggered, this, &QDialog::close);

    listingView = new QPlainTextEdit(this);
    listingView->setObjectName(QStringLiteral("listingView"));
    listingView->setLineWrapMode(QPlainTextEdit::NoWrap);
    QString shown = m_listing;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    listingView->setPlainText(shown);
    // The text box fills the client area under the menu, at any size of the window.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(menuBar);
    layout->addWidget(listingView);
    resize(kov::twipsToPixels(9105, this),
           kov::twipsToPixels(5115, this) + menuBar->sizeHint().height());
    if (parent) { // centred on the window that opened it, frame on frame
        const QMargins frame = kov::frameMargins(this, parent);
        QRect outer(QPoint(), size().grownBy(frame));
        outer.moveCenter(kov::frameRect(parent, kov::frameMargins(parent)).center());
        kov::moveFrameTo(this, outer.topLeft(), frame);
        kov::keepOnScreen(this, frame); // a main window near an edge would push it past it
    }
    kov::keepOnScreenWhenFramed(this);
}

void LogViewer::save()
{
    const qint32 n = kov::number(m_settings, Setting::NextLogNo);
    const QString path =
        kov::programFolder() + QStringLiteral("/log") + QString::number(n) + QStringLiteral(".txt");
    // A failure ends the command silently and leaves the counter as it was. The listing holds
    // the account and the service's addresses, so it is the owner's alone.
    if (!kov::writePrivateFile(path, m_listing + kov::crLf()))
        return;
    kov::userInterface().messageBox(path, MessageIcon::Information,
                                    kov::translate(QStringLiteral("SAVE")));
    kov::setNumber(m_settings, Setting::NextLogNo, n + 1);
}

void LogViewer::copyAndClose()
{
    QGuiApplication::clipboard()->setText(listingView->toPlainText());
    close();
}
