#pragma once
// How the program writes its own files: text in the code page, written over or appended;
// files holding account data, private to their owner from their first byte and replaced
// whole; and the note of a write that failed, kept until the user has been told.
#include <QByteArray>
#include <QString>

// The writers below note a failure (kov::noteWriteFailure) unless they are given `whyNot`, in
// which case the caller tells the user itself.

namespace kov {
/// Writes text in the code page, replacing the file. False when it cannot be written.
bool writeTextFile(const QString& path, const QString& text);
/// Appends text in the code page, creating the file. False when it cannot be written.
bool appendTextFile(const QString& path, const QString& text);
/// Restricts a file holding account data to its owner (mode 0600).
void makePrivate(const QString& path);
/// Makes a file that will hold account data its owner's alone before its first byte is
/// written: a missing file is created empty with mode 0600, an existing one restricted to it.
/// False when a missing file cannot be created (why in `whyNot`).
bool preparePrivateFile(const QString& path, QString* whyNot = nullptr);
/// The same for an SQLite database: the file itself, created 0600 so that the journal files
/// SQLite makes beside it take its mode, and any journal files left from an earlier run.
bool preparePrivateDatabase(const QString& path, QString* whyNot = nullptr);
/// Writes text in the code page to a new file of mode 0600 and renames it over `path`, so the
/// text is never readable by others and a reader sees the old file or the new one whole.
bool writePrivateFile(const QString& path, const QString& text, QString* whyNot = nullptr);
/// The same for bytes already in their final form. The new file is on disk (fsync) before it
/// replaces the old one. Given a `backup` name, the old file is copied to it (an earlier copy
/// removed) once the new bytes are safe and just before the rename.
bool writePrivateBytes(const QString& path, const QByteArray& bytes, QString* whyNot = nullptr,
                       const QString& backup = QString());
/// Appends text in the code page to a file of mode 0600, creating it with that mode.
bool appendPrivateFile(const QString& path, const QString& text);
} // namespace kov

namespace kov {
/// Notes that the program could not write one of its own files, with the system's reason. The
/// first failure is shown on standard error at once and kept, for the message area and the
/// exit status, until it is taken; later ones add nothing (a full disk fails every write).
void noteWriteFailure(const QString& path, const QString& reason);
/// True while a failure is noted and not yet taken.
bool writeFailed();
/// The noted failure's message ("<file> cannot be written: <reason>"), and forgets it; empty
/// text when none.
QString takeWriteFailure();
} // namespace kov
