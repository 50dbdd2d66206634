#pragma once
// One server function run against the Quib service: the account checked, the reply fetched
// through the shared session, and the progress shown in the caller's text box.
#include "settings/quibfunction.h"

#include <QString>

class TextBox;

namespace kov {
/// Runs one server function; -1 on failure, else the reply's result code. Outside a sync run
/// a call is a run of its own; once the program is ending it asks nothing.
qint32 runServerFunction(QuibFunction function, const QString& account, TextBox* output,
                         bool zeroSerial, bool manually);
} // namespace kov
