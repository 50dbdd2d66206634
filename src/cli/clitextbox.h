#pragma once
// The text box kov::runServerFunction writes its progress into, for the CLI: each text becomes
// one line "box: TEXT" on standard output, so scripts can read it.
#include "platform/textbox.h"

class CliTextBox : public TextBox
{
public:
    void setText(const QString& text) override;
    QString text() const override { return m_text; }

private:
    QString m_text;
};
