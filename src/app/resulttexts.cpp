#include "resulttexts.h"

#include "foundation/translate.h"

#include <QStringList>

namespace {
// Built in the user's language at start-up (kov::prepareSession); empty until then.
QStringList& resultTexts()
{
    static QStringList texts;
    return texts;
}
} // namespace

void kov::buildResultTexts()
{
    // Every text is a literal passed to kov::translate, so that the string files can list it.
    QStringList table{kov::translate(QStringLiteral("New Data Received")),
                      kov::translate(QStringLiteral("No New Data")),
                      kov::translate(QStringLiteral("Number Exceeded"))};
    for (int code = 3; code <= 9; ++code) // codes the service does not use
        table << kov::translate(QStringLiteral("Error")) + QString::number(code);
    table << kov::translate(QStringLiteral("Account Unknown"))
          << kov::translate(QStringLiteral("Bad Parameter"))
          << kov::translate(QStringLiteral("Product Unknown"))
          << kov::translate(QStringLiteral("Initiator Error"))
          << kov::translate(QStringLiteral("Target Unknown"))
          << kov::translate(QStringLiteral("Serial Invalid"))
          << kov::translate(QStringLiteral("Doc Type Unknown"));
    resultTexts() = table;
}

void kov::forgetResultTexts()
{
    resultTexts().clear();
}

QString kov::resultText(qint32 code)
{
    const QStringList& table = resultTexts();
    if (code >= 0 && code < table.size())
        return table.at(code);
    return kov::translate(QStringLiteral("Quib Error")) + QStringLiteral(" #") +
           QString::number(code);
}

bool kov::isSuccessCode(qint32 code)
{
    return code == 0 || code == 1;
}
