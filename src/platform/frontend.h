#pragma once
// What the sync run writes to: a text box (`messageDisplay`, the output box of
// `kov::runServerFunction`) and the main window's procedures showMessage / showUpdateText and its
// update timer. The desktop program implements them with widgets, the CLI with printed lines, tests
// with recorders.
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

class SyncFrontEnd
{
public:
    virtual ~SyncFrontEnd() = default;
    /// showMessage: the message area shows the previous message and this one.
    virtual void showMessage(const QString& text) = 0;
    /// A problem that ends the run: the message area, and standard error where there is one.
    virtual void showProblem(const QString& text) { showMessage(text); }
    /// showUpdateText: the update line.
    virtual void showUpdateText(const QString& text) = 0;
    /// The message area as a text box (`messageDisplay`), written directly by
    /// kov::runServerFunction.
    virtual TextBox* messageArea() = 0;
    /// The summary at the end of a run that handed jobs to the recorder: `brief` fits the
    /// message area, `full` names every channel without a number. The CLI also writes it to
    /// standard error.
    virtual void showSummary(const QString& brief, const QString& full)
    {
        Q_UNUSED(full);
        showMessage(brief);
    }
    /// Enables the update timer `minuteTimer` (after the channel database arrived).
    virtual void enableUpdateTimer() = 0;
    /// The end of every sync run, while it still counts as running: the desktop program drops
    /// the clicks and keys the window system held back while a request blocked its input.
    virtual void runEnding() {}
};

/// The main window's two-line message area over any text box: showMessage puts the previous
/// message above the new one.
class MessageArea
{
public:
    explicit MessageArea(TextBox& box) : m_box(box) {}
    void showMessage(const QString& text);

private:
    TextBox& m_box;
    QString m_previous;
};
