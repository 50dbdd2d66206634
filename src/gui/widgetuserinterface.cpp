#include "widgetuserinterface.h"

#include "artwork.h"
#include "needchannelform.h"

#include <QApplication>
#include <QGridLayout>
#include <QMessageBox>
#include <QStyle>

int kov_CaptionWidth(const QWidget* window)
{
    // Title bars show the caption in bold, between the window icon and the three buttons
    // (minimise, maximise, close), each about as wide as the bar is high.
    QFont font = window->font();
    font.setBold(true);
    const int bar = window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window);
    return QFontMetrics(font).horizontalAdvance(window->windowTitle()) + 4 * bar;
}

int WidgetUserInterface::messageBox(const QString& text, int style, const QString& caption)
{
    // Without an active window (the main window in the tray) the box has no parent to take
    // the program's icon from, so it carries its own.
    QMessageBox box(QApplication::activeWindow());
    box.setWindowIcon(Artwork::windowIcon());
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    box.setText(shown);
    box.setWindowTitle(caption);
    switch (style & 0x70) {
    case 16:
        box.setIcon(QMessageBox::Critical);
        break;
    case 32:
        box.setIcon(QMessageBox::Question);
        break;
    case 48:
        box.setIcon(QMessageBox::Warning);
        break;
    case 64:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        box.setIcon(QMessageBox::NoIcon);
    }
    switch (style & 0x7) {
    case 1:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case 3:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    case 4:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    default:
        box.setStandardButtons(QMessageBox::Ok);
    }
    // QMessageBox sizes itself to its text and buttons and leaves too little room for a
    // caption longer than they are: the title bar then shortens it ("Chan… ation"). A spacer
    // under the buttons keeps the box wide enough.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(kov_CaptionWidth(&box), 0), grid->rowCount(), 0, 1,
                      grid->columnCount());
    switch (box.exec()) {
    case QMessageBox::Yes:
        return MsgResult::Yes;
    case QMessageBox::No:
        return MsgResult::No;
    case QMessageBox::Cancel:
        return MsgResult::Cancel;
    default:
        return MsgResult::Ok;
    }
}

int WidgetUserInterface::askChannelNumber(const QString& channelName, qint32 suggested)
{
    return NeedChannelForm::ask(channelName, suggested, QApplication::activeWindow());
}

void WidgetUserInterface::showProgress(int done, int total)
{
    if (m_progressDisplay)
        m_progressDisplay(done, total);
}
