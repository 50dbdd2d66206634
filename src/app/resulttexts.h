#pragma once
// The texts that name the result code of a reply ("New Data Received", "Account Unknown" ...)
// and which codes count as success.
#include <QString>

namespace kov {
/// Builds the 17 translated result texts (kov::prepareSession does it at start-up).
void buildResultTexts();
QString resultText(qint32 code);
bool isSuccessCode(qint32 code);
} // namespace kov

namespace kov {
/// Drops the built texts, so that the next kov::buildResultTexts translates them afresh.
void forgetResultTexts();
} // namespace kov
