#include "needchannelform.h"

#include "artwork.h"
#include "channels/channeldatabase.h"
#include "foundation/kov_vb.h"
#include "foundation/translate.h"
#include "platform/userinterface.h"
#include "twips.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

NeedChannelForm::NeedChannelForm(const QString& requestedName, int suggested, QWidget* parent)
    : QDialog(parent), m_requested(requestedName)
{
    setWindowTitle(QStringLiteral("Lumo Scheduler"));
    setWindowIcon(Artwork::windowIcon());
    // Top-most, above every other window, while it waits for its one answer.
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setModal(true);
    auto place = [this](QWidget* w, int left, int top, int width, int height) {
        w->setGeometry(kov_TwipsToPixels(left, this), kov_TwipsToPixels(top, this),
                       kov_TwipsToPixels(width, this), kov_TwipsToPixels(height, this));
    };
    setFixedSize(kov_TwipsToPixels(5625, this), kov_TwipsToPixels(3000, this));
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(QFont(QStringLiteral("Arial"), 10));
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignCenter);
    place(Label1, 210, 150, 5205, 1185);
    txtChannel = new QLineEdit(QString::number(suggested > 0 ? suggested : 2), this);
    txtChannel->setObjectName(QStringLiteral("txtChannel"));
    place(txtChannel, 2317, 1560, 735, 360);
    cmdPlus = new QPushButton(QStringLiteral("+"), this);
    cmdPlus->setObjectName(QStringLiteral("cmdPlus"));
    place(cmdPlus, 3060, 1560, 195, 195);
    cmdMinus = new QPushButton(QStringLiteral("-"), this);
    cmdMinus->setObjectName(QStringLiteral("cmdMinus"));
    place(cmdMinus, 3060, 1740, 195, 195);
    cmdOK = new QPushButton(Translate(QStringLiteral("OK")), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    place(cmdOK, 1500, 2250, 1245, 525);
    cmdCancel = new QPushButton(Translate(QStringLiteral("Cancel")), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    place(cmdCancel, 2880, 2250, 1245, 525);
    Label1->setText(question());
    connect(cmdPlus, &QPushButton::clicked, this, &NeedChannelForm::plus);
    connect(cmdMinus, &QPushButton::clicked, this, &NeedChannelForm::minus);
    connect(cmdOK, &QPushButton::clicked, this, &NeedChannelForm::ok);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

int NeedChannelForm::ask(const QString& requestedName, int suggested, QWidget* parent)
{
    NeedChannelForm form(requestedName, suggested, parent);
    form.exec();
    return form.chosenNumber();
}

int NeedChannelForm::wholeNumber(const QString& text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    bool inRange = false;
    const qint32 number = ok ? kov_RoundHalfEven(value, &inRange) : 0;
    return inRange ? number : 0;
}

void NeedChannelForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_requested.isEmpty()) {
        // On activation: nothing to ask for.
        QTimer::singleShot(0, this, [this] {
            kov_UserInterface().messageBox(QStringLiteral("Requested channel is null"),
                                           MessageIcon::Information,
                                           QStringLiteral("Channel Translation"));
            reject();
        });
    }
}

void NeedChannelForm::plus()
{
    const int n = wholeNumber(txtChannel->text());
    if (n < 256)
        txtChannel->setText(QString::number(n + 1));
}

void NeedChannelForm::minus()
{
    const int n = wholeNumber(txtChannel->text());
    if (n > 0)
        txtChannel->setText(QString::number(n - 1));
}

QString NeedChannelForm::question() const
{
    return Translate(QStringLiteral("Please assign channel number to")) + QLatin1Char(' ') +
           m_requested + QLatin1Char('?');
}

void NeedChannelForm::ok()
{
    // An empty field is a cancel; a number the database cannot hold is said to be one above
    // the question, and the window stays open for a better answer.
    if (txtChannel->text().trimmed().isEmpty()) {
        reject();
        return;
    }
    QString why;
    m_chosen = kov::readChannelNumber(txtChannel->text(), true, &why);
    if (m_chosen != 0) {
        accept();
        return;
    }
    Label1->setText(why + QLatin1Char('\n') + question());
    txtChannel->selectAll();
    txtChannel->setFocus();
}
