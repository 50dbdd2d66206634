#pragma once
// What every fuzz target shares: a program folder of its own, a user interface that answers
// every prompt without a person, a recorder that only counts, and the input as text.
#include <QString>

#include <cstddef>
#include <cstdint>

/// Sets up the process once (Qt application object, program folder, interface, recorder).
void fuzzSetUp();
/// Clears what an input left behind that would otherwise grow over millions of inputs.
void fuzzReset();
/// The input read as Windows-1252 text, the way the program reads replies and its files.
QString fuzzText(const uint8_t* data, size_t size);
/// Writes the bytes to a file in the program folder (replacing it) and returns its path.
QString fuzzFile(const QString& name, const uint8_t* data, size_t size);
