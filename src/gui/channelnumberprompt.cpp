#include "channelnumberprompt.h"

#include "artwork.h"
#include "channels/channeldatabase.h"
#include "foundation/numbertext.h"
#include "foundation/translate.h"
#include "placement.h"
#include "platform/userinterface.h"
#include "windowunits.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

ChannelNumberPrompt::ChannelNumberPrompt(const QString& requestedName, int suggested,
                                         QWidget* parent)
    : QDialog(parent), m_requested(requestedName)
{
    setWindowTitle(QStringLiteral("Lumo Scheduler"));
    setWindowIcon(Artwork::windowIcon());
    // Top-most, above every other window, while it waits for its one answer.
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setModal(true);
    auto place = [this](QWidget* w, int left, int top, int width, int height) {
        w->setGeometry(kov::twipsToPixels(left, this), kov::twipsToPixels(top, this),
                       kov::twipsToPixels(width, this), kov::twipsToPixels(height, this));
    };
    setFixedSize(kov::twipsToPixels(5625, this), kov::twipsToPixels(3000, this));
    questionLabel = new QLabel(this);
    questionLabel->setObjectName(QStringLiteral("questionLabel"));
    questionLabel->setFont(QFont(QStringLiteral("Arial"), 10));
    questionLabel->setWordWrap(true);
    questionLabel->setAlignment(Qt::AlignCenter);
    place(questionLabel, 210, 150, 5205, 1185);
    numberField = new QLineEdit(QString::number(suggested > 0 ? suggested : 2), this);
    numberField->setObjectName(QStringLiteral("numberField"));
    place(numberField, 2317, 1560, 735, 360);
    plusButton = new QPushButton(QStringLiteral("+"), this);
    plusButton->setObjectName(QStringLiteral("plusButton"));
    place(plusButton, 3060, 1560, 195, 195);
    minusButton = new QPushButton(QStringLiteral("-"), this);
    minusButton->setObjectName(QStringLiteral("minusButton"));
    place(minusButton, 3060, 1740, 195, 195);
    okButton = new QPushButton(kov::translate(QStringLiteral("OK")), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setDefault(true);
    place(okButton, 1500, 2250, 1245, 525);
    cancelButton = new QPushButton(kov::translate(QStringLiteral("Cancel")), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    place(cancelButton, 2880, 2250, 1245, 525);
    questionLabel->setText(question());
    connect(plusButton, &QPushButton::clicked, this, &ChannelNumberPrompt::plus);
    connect(minusButton, &QPushButton::clicked, this, &ChannelNumberPrompt::minus);
    connect(okButton, &QPushButton::clicked, this, &ChannelNumberPrompt::ok);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

int ChannelNumberPrompt::ask(const QString& requestedName, int suggested, QWidget* parent)
{
    ChannelNumberPrompt form(requestedName, suggested, parent);
    form.exec();
    return form.chosenNumber();
}

int ChannelNumberPrompt::wholeNumber(const QString& text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    bool inRange = false;
    const qint32 number = ok ? kov::roundHalfEven(value, &inRange) : 0;
    return inRange ? number : 0;
}

void ChannelNumberPrompt::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Qt centres the prompt on the window that opened it, or on the screen; near an edge the
    // frame it does not count in could still run past it.
    kov::keepOnScreen(this, kov::frameMargins(this, parentWidget()));
    if (m_requested.isEmpty()) {
        // Shown without a channel to ask for: it says so and closes.
        QTimer::singleShot(0, this, [this] {
            kov::userInterface().messageBox(QStringLiteral("Requested channel is null"),
                                            MessageIcon::Information,
                                            QStringLiteral("Channel Translation"));
            reject();
        });
    }
}

void ChannelNumberPrompt::plus()
{
    const int n = wholeNumber(numberField->text());
    if (n < 256)
        numberField->setText(QString::number(n + 1));
}

void ChannelNumberPrompt::minus()
{
    const int n = wholeNumber(numberField->text());
    if (n > 0)
        numberField->setText(QString::number(n - 1));
}

QString ChannelNumberPrompt::question() const
{
    return kov::translate(QStringLiteral("Please assign channel number to")) + QLatin1Char(' ') +
           m_requested + QLatin1Char('?');
}

void ChannelNumberPrompt::ok()
{
    // An empty field is a cancel; a number the database cannot hold is said to be one above
    // the question, and the window stays open for a better answer.
    if (numberField->text().trimmed().isEmpty()) {
        reject();
        return;
    }
    QString why;
    m_chosen = kov::readChannelNumber(numberField->text(), true, &why);
    if (m_chosen != 0) {
        accept();
        return;
    }
    questionLabel->setText(why + QLatin1Char('\n') + question());
    numberField->selectAll();
    numberField->setFocus();
}
