#pragma once
// The main window's message area as the core's TextBox: the core writes its messages and
// kov::runServerFunction's progress into it; repaintNow makes "WAIT ...." visible before the
// synchronous request blocks.
#include "platform/textbox.h"

class QPlainTextEdit;

class PlainTextBox : public TextBox
{
public:
    explicit PlainTextBox(QPlainTextEdit* edit) : m_edit(edit) {}
    void setText(const QString& text) override;
    QString text() const override;
    void repaintNow() override;

private:
    QPlainTextEdit* m_edit;
};
