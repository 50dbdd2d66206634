#pragma once
// TextBox over Qt text widgets: the core writes the message area and kov::runServerFunction's
// status display through it; repaintNow makes "WAIT ...." visible before the synchronous request
// blocks.
#include "platform/textbox.h"

class QLabel;
class QLineEdit;
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
