#pragma once
// The texts that name the result code of a reply ("New Data Received", "Account Unknown" ...)
// and which codes count as success.
#include <QString>

/// Builds the 17 translated result texts (the main window does it when it loads).
void BuildResultTexts();
QString ResultText(qint32 Code);
bool IsSuccessCode(qint32 Code);

namespace kov {
/// Drops the built texts, so that the next BuildResultTexts translates them afresh.
void forgetResultTexts();
} // namespace kov
