#pragma once
// The random whole numbers of the program: the shift that spreads the update timer's syncs.
#include <QtGlobal>

namespace kov {
/// A number from `low` to `high`, both included, drawn afresh on every call.
qint32 randomBetween(qint32 low, qint32 high);
} // namespace kov
