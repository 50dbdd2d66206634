#include "widgetuserinterface.h"

#include "artwork.h"
#include "channelnumberprompt.h"

#include <QApplication>
#include <QGridLayout>
#include <QMessageBox>
#include <QStyle>

int kov::captionWidth(const QWidget* window)
{
    // Title bars show the caption in bold, between the window icon and the three buttons
    // (minimise, maximise, close), each about as wide as the bar is high.
    QFont font = window->font();
    font.setBold(true);
    const int bar = window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window);
    return QFontMetrics(font).horizontalAdvance(window->windowTitle()) + 4 * bar;
}

namespace {
QMessageBox::Icon boxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons boxButtons(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::Ok:
        break;
    }
    return QMessageBox::Ok;
}
} // namespace

MessageAnswer WidgetUserInterface::messageBox(const QString& text, MessageStyle style,
                                              const QString& caption)
{
    // Without an active window (the main window in the tray) the box has no parent to take
    // the program's icon from, so it carries its own.
    QMessageBox box(QApplication::activeWindow());
    box.setWindowIcon(Artwork::windowIcon());
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    box.setText(shown);
    box.setWindowTitle(caption);
    box.setIcon(boxIcon(style.icon));
    box.setStandardButtons(boxButtons(style.buttons));
    // QMessageBox sizes itself to its text and buttons and leaves too little room for a
    // caption longer than they are: the title bar then shortens it ("Chan… ation"). A spacer
    // under the buttons keeps the box wide enough.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(kov::captionWidth(&box), 0), grid->rowCount(), 0, 1,
                      grid->columnCount());
    // Escape and the title bar's close button answer No to a Yes/No box.
    switch (box.exec()) {
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    default:
        return MessageAnswer::Ok;
    }
}

int WidgetUserInterface::askChannelNumber(const QString& channelName, qint32 suggested)
{
    return ChannelNumberPrompt::ask(channelName, suggested, QApplication::activeWindow());
}

void WidgetUserInterface::showProgress(int done, int total)
{
    if (m_progressDisplay)
        m_progressDisplay(done, total);
}
