#pragma once
// The program's folder. Every file of the program is named relative to it.
#include <QString>

// The folder of the running executable without a trailing separator, or the value of
// VENDARO_APPDIR when that is set. Never lower-cased: the file system is case-sensitive.
const QString& AppDir();

// Replaces the program folder (the entry point after reading its arguments, and tests).
void SetAppDir(const QString& folder);

// AppDir() + "/" + relative, where relative may be written with "\" or "/" separators.
QString AppPath(const QString& relative);

// The running executable's full path.
QString ExecutablePath();
