#pragma once
// The main window's two-line message area over any text box.
#include <QString>

class TextBox;

/// Shows the newest message below the one before it, so that a step's outcome stays in view
/// while the next step reports.
class MessageArea
{
public:
    explicit MessageArea(TextBox& box) : m_box(box) {}
    void showMessage(const QString& text);

private:
    TextBox& m_box;
    QString m_previous;
};
