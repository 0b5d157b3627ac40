#pragma once
// The program's folder, and the one function that decides where every file the program reads
// or writes lives. Nothing else builds these paths.
#include <QString>

// The folder of the running executable without a trailing separator, or the value of
// VENDARO_APPDIR when that is set. Never lower-cased: the file system is case-sensitive.
const QString& AppDir();

// Replaces the program folder (the entry point after reading its arguments, and tests).
void SetAppDir(const QString& folder);

// The running executable's full path.
QString ExecutablePath();

// What a path is wanted for.
enum class FileUse {
    Read, // a file the program reads
    Write, // a file or folder the program writes; the folder that holds it is made when missing
    Update, // a file the program reads and rewrites in place (tips.ini, prog.id, newsid.txt)
    Cache, // large files of one run (project folders with working copies): on disk, per user
    Runtime, // small files that live only while the program runs (the single-instance lock)
};

// The path of a file of the program; relative is its documented name ("config/config.ini",
// "history", "prog.id"), written with "\" or "/".
//
// Read and Write: with a program folder this user may write (a lab's kit, the demo), always
// AppDir() + "/" + relative. With one the user may not write (a system-wide install, or a
// folder without any write permission bit, which counts as read-only even for root), Write
// gives the same name in the per-user data folder $XDG_DATA_HOME (default ~/.local/share)
// + "/vendaro/" + the lab's program name, and Read gives the per-user copy when it exists,
// else the program folder's. Update gives the Write path, where a copy of the program
// folder's file is first made (owner-writable) when the user has none yet.
// Cache: $XDG_CACHE_HOME (default ~/.cache) + "/vendaro/" + relative.
// Runtime: $XDG_RUNTIME_DIR + "/vendaro/" + relative, or the Cache path without that folder.
// An empty relative gives the base folder itself. Per-user folders are made with mode 0700
// when missing.
QString AppPath(const QString& relative, FileUse use = FileUse::Read);

// True when files are written to the program folder itself.
bool AppDirWritable();
