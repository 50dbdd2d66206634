#include "widgetuserinterface.h"

#include "needchannelform.h"

#include <QApplication>
#include <QMessageBox>

int WidgetUserInterface::messageBox(const QString& text, int style, const QString& caption)
{
    QMessageBox box(QApplication::activeWindow());
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
