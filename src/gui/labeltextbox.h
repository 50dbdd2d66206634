#pragma once
// A one-line label as the core's TextBox: the advanced settings window's message line, where
// kov::runServerFunction shows its progress; repaintNow makes "WAIT ...." visible before the
// synchronous request blocks.
#include "platform/textbox.h"

class QLabel;

class LabelTextBox : public TextBox
{
public:
    explicit LabelTextBox(QLabel* label) : m_label(label) {}
    void setText(const QString& text) override;
    QString text() const override;
    void repaintNow() override;

private:
    QLabel* m_label;
};
