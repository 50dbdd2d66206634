#include "frmlog.h"

#include "app/settings_listing.h"
#include "artwork.h"
#include "foundation/filewriters.h"
#include "foundation/programfolder.h"
#include "foundation/texttools.h"
#include "foundation/translate.h"
#include "placement.h"
#include "platform/userinterface.h"
#include "settings/settings_catalogue.h"
#include "twips.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QVBoxLayout>

frmLog::frmLog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(Translate(QStringLiteral("Log")));
    setWindowIcon(Artwork::windowIcon());
    setModal(true);
    m_reg.SetInfo(kov_SettingsKey());
    m_listing = kov_SettingsListing();

    menuBar = new QMenuBar(this);
    QMenu* fileMenu = menuBar->addMenu(Translate(QStringLiteral("&File")));
    saveAction = fileMenu->addAction(Translate(QStringLiteral("&Save")));
    copyAndCloseAction = fileMenu->addAction(Translate(QStringLiteral("&Copy and Close")));
    exitAction = fileMenu->addAction(Translate(QStringLiteral("E&xit")));
    connect(saveAction, &QAction::triggered, this, &frmLog::save);
    connect(copyAndCloseAction, &QAction::triggered, this, &frmLog::copyAndClose);
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
    resize(kov_TwipsToPixels(9105, this),
           kov_TwipsToPixels(5115, this) + menuBar->sizeHint().height());
    if (parent) { // centred on the window that opened it, frame on frame
        const QMargins frame = kov_FrameMargins(this, parent);
        QRect outer(QPoint(), size().grownBy(frame));
        outer.moveCenter(kov_FrameRect(parent, kov_FrameMargins(parent)).center());
        kov_MoveFrameTo(this, outer.topLeft(), frame);
    }
}

void frmLog::save()
{
    const qint32 n = kov_ReadNumber(m_reg, KovSetting::NextLogNo);
    const QString path =
        kov_ProgramFolder() + QStringLiteral("/log") + QString::number(n) + QStringLiteral(".txt");
    // A failure ends the command silently and leaves the counter as it was. The listing holds
    // the account, its enciphered password and the last access strings.
    if (!kov_WritePrivateFile(path, m_listing + kov_CrLf()))
        return;
    kov_UserInterface().messageBox(path, MessageIcon::Information,
                                   Translate(QStringLiteral("SAVE")));
    m_reg.setLng(KovSetting::NextLogNo, n + 1);
}

void frmLog::copyAndClose()
{
    QGuiApplication::clipboard()->setText(listingView->toPlainText());
    close();
}
