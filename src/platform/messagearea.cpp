#include "messagearea.h"

#include "textbox.h"

void MessageArea::showMessage(const QString& text)
{
    m_box.setText(m_previous + QStringLiteral("\r\n") + text);
    m_previous = text;
}
