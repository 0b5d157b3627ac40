#pragma once
// Path helpers. Paths are native ("/" separators); a relative name written with "\" is
// turned into a path by AppPath (platform/appdir.h).
#include <QString>

// Removes one trailing "/" (the root "/" stays).
QString StripTrailingBackslash(const QString& path);

// Expands %NAME% references from the environment (a name not set as written is tried in
// upper case, as Windows names ignore case); an unknown name stays as written. At most 249
// characters.
QString ExpandEnv(const QString& text);

// The system folder that holds the system's temporary folder ("/", standing in for the
// Windows folder).
QString WindowsDir();

// $TMPDIR, else %TEMP%, else %TMP%, else /tmp, without trailing "/"; created when missing.
QString TempDir();

// Creates path and every missing parent; true when the folder exists afterwards.
bool ForceDirs(const QString& path);

struct SplitPath {
    QString folder; // without trailing "/"
    QString name; // the file name cut at the first occurrence of ext
    QString ext; // from the file name's last ".", dot included; empty when none
};
SplitPath SplitFileName(const QString& path);

// path when it names no existing file, else the first of name_N.ext (N counting up from 1,
// or from the number after an existing "_N" suffix) that does not exist.
QString UniqueFileName(const QString& path);
// The same, with N counting from next when that is higher, and next set to the number after the
// one given (unchanged when path itself is free): a caller that numbers many files of one name
// keeps next, so each name costs one lookup instead of one per file numbered before it.
QString UniqueFileName(const QString& path, long long& next);

// path with its extension replaced by ext (dot included; empty removes it).
QString ReplaceExt(const QString& path, const QString& ext);
