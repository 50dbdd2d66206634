#pragma once
// The program folder (where settings, channel database and logs live) and the few file
// helpers that every part of the program shares (code page, CR LF, private files).
#include <QString>

/// Application title: the caption of every message box that names no other.
QString kov_AppTitle();
/// The executable name the program records in `app.EXEName` ("kovferrit").
QString kov_ExecutableName();
void kov_SetExecutableName(const QString& name);
/// The program folder, without a trailing separator. Made when missing.
QString kov_ProgramFolder();
/// Overrides the program folder for this process (`--home`, tests). Empty restores the rule.
void kov_SetProgramFolder(const QString& folder);
/// Program folder + "/" + name.
QString kov_ProgramFile(const QString& name);

/// Writes text in the code page, replacing the file. False when it cannot be written.
bool kov_WriteTextFile(const QString& path, const QString& text);
/// Appends text in the code page, creating the file. False when it cannot be written.
bool kov_AppendTextFile(const QString& path, const QString& text);
/// Restricts a file holding account data to its owner (mode 0600).
void kov_MakePrivate(const QString& path);

/// CR LF, the line end of every file the program writes.
inline QString kov_CrLf()
{
    return QStringLiteral("\r\n");
}
