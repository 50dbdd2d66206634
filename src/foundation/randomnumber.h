#pragma once
// The random whole numbers of the program: the shift that spreads the update timer's syncs.
#include <QtGlobal>

/// A number from Low to High, both included, drawn afresh on every call.
qint32 kov_RandomBetween(qint32 Low, qint32 High);
