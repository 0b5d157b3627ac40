#pragma once
// Command line, version and single-instance helpers.
#include <QString>
#include <QStringList>

// True when an argument of the running program (its name excluded) equals name.
bool HasSwitch(const QString& name, bool ignoreCase = true);
// Replaces the arguments HasSwitch(name) reads (program name first); the program entry
// and tests that start the program in-process set them.
void SetProgramArguments(const QStringList& arguments);
// The arguments HasSwitch(name) reads.
QStringList ProgramArguments();
// The same over a given argument list (program name first).
bool HasSwitch(const QStringList& arguments, const QString& name, bool ignoreCase = true);

// "major.minor.release  (" + prefix + "build)" of exePath: the build's own version for the
// running executable, 0.0.0 and build 0 for any other existing file, an empty string when
// the file does not exist.
QString VersionString(const QString& exePath, const QString& prefix);

// True when another running process of this user holds the instance lock of key (this
// executable's path by default). Otherwise this process takes the lock and keeps it until it
// ends; a lock left by a process that died is taken over. The lock lives in the user's runtime
// folder (AppPath with FileUse::Runtime).
bool AnotherInstanceRunning();
bool AnotherInstanceRunning(const QString& key);

// The path of a file beside key's instance lock, named by key and ending in suffix (".lock",
// ".socket"): per user and executable, in the runtime folder.
QString InstanceFilePath(const QString& key, const QString& suffix);
