#include "clitextbox.h"

#include "clifrontend.h"

void CliTextBox::setText(const QString& text)
{
    m_text = text;
    if (kov::quiet())
        return; // the progress of a request, not its result
    kov::reportLine(QStringLiteral("box: ") + text);
}
