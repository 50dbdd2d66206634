#include "clitextbox.h"

#include "clifrontend.h"

void CliTextBox::setText(const QString& text)
{
    m_text = text;
    kov::reportLine(QStringLiteral("box: ") + text);
}
