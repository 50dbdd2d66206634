#include "labeltextbox.h"

#include <QLabel>

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
