#pragma once
// A line of text the core writes and reads back: the message area a sync run reports in, and
// the output line kov::runServerFunction shows its progress on. The desktop program shows it in
// a widget, the CLI prints it, tests record it.
#include <QString>

class TextBox
{
public:
    virtual ~TextBox() = default;
    virtual void setText(const QString& text) = 0;
    virtual QString text() const = 0;
    /// Makes a new text visible at once, before a synchronous request blocks.
    virtual void repaintNow() {}
};
