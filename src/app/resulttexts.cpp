#include "resulttexts.h"

#include "foundation/translate.h"

#include <QStringList>

namespace {
// Built in the user's language when the main window loads; empty until then.
QStringList& resultTexts()
{
    static QStringList texts;
    return texts;
}
} // namespace

void BuildResultTexts()
{
    // Every text is a literal passed to Translate, so that the string files can list it.
    QStringList table{Translate(QStringLiteral("New Data Received")),
                      Translate(QStringLiteral("No New Data")),
                      Translate(QStringLiteral("Number Exceeded"))};
    for (int code = 3; code <= 9; ++code) // codes the service does not use
        table << Translate(QStringLiteral("Error")) + QString::number(code);
    table << Translate(QStringLiteral("Account Unknown"))
          << Translate(QStringLiteral("Bad Parameter"))
          << Translate(QStringLiteral("Product Unknown"))
          << Translate(QStringLiteral("Initiator Error"))
          << Translate(QStringLiteral("Target Unknown"))
          << Translate(QStringLiteral("Serial Invalid"))
          << Translate(QStringLiteral("Doc Type Unknown"));
    resultTexts() = table;
}

void kov::forgetResultTexts()
{
    resultTexts().clear();
}

QString ResultText(qint32 Code)
{
    const QStringList& table = resultTexts();
    if (Code >= 0 && Code < table.size())
        return table.at(Code);
    return Translate(QStringLiteral("Quib Error")) + QStringLiteral(" #") + QString::number(Code);
}

bool IsSuccessCode(qint32 Code)
{
    return Code == 0 || Code == 1;
}
