#include "lcdtextbox.h"

#include <QLabel>
#include <QPlainTextEdit>

void PlainTextBox::setText(const QString& text)
{
    // The message area holds CR LF between its two lines; the widget wants LF.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_edit->setPlainText(shown);
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

void LabelTextBox::setText(const QString& text)
{
    m_label->setText(text);
}

QString LabelTextBox::text() const
{
    return m_label->text();
}

void LabelTextBox::repaintNow()
{
    m_label->repaint();
}
