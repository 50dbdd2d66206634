#pragma once
// The modal, top-most prompt for the tuner number of an unknown service channel.
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class ChannelNumberPrompt : public QDialog
{
    Q_OBJECT
public:
    /// The requested channel name is given at construction; the answer is chosenNumber(). The
    /// text box holds `suggested` (the recorder's number for the name), else 2.
    explicit ChannelNumberPrompt(const QString& requestedName, int suggested = 0,
                                 QWidget* parent = nullptr);

    /// Shows a new prompt modally and returns the chosen number (0: cancelled). OK with an
    /// empty field cancels; with any other answer than a channel number (1 to 999) the window
    /// says why and stays open.
    static int ask(const QString& requestedName, int suggested = 0, QWidget* parent = nullptr);

    int chosenNumber() const { return m_chosen; }

    QLabel* questionLabel;
    QLineEdit* numberField;
    QPushButton* plusButton;
    QPushButton* minusButton;
    QPushButton* okButton;
    QPushButton* cancelButton;

    /// The text box read as a whole number: blanks allowed, halves to even; 0 for other text.
    static int wholeNumber(const QString& text);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void plus();
    void minus();
    void ok();
    QString question() const;

    QString m_requested;
    int m_chosen = 0;
};
