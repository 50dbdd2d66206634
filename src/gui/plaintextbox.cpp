#include "plaintextbox.h"

#include <QPlainTextEdit>
#include <QScrollBar>

void PlainTextBox::setText(const QString& text)
{
    // The message area holds CR LF between its two lines; the widget wants LF.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_edit->setPlainText(shown);
    // Should a translation wrap to more lines than the area holds, the newest message stays in
    // sight and the older one gives way at the top.
    m_edit->verticalScrollBar()->setValue(m_edit->verticalScrollBar()->maximum());
}

QString PlainTextBox::text() const
{
    QString text = m_edit->toPlainText();
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return text;
}

void PlainTextBox::repaintNow()
{
    m_edit->viewport()->repaint();
}
