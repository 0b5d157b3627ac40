#pragma once
// Photos the program is asked to open: the paths among its arguments, and the message in which
// a second launch hands its paths to the running instance.
#include <QByteArray>
#include <QStringList>

// The arguments (program name first) that are not switches, as absolute paths in the order
// given: a switch starts with "-"; after "--" every argument is a path; "file:" URLs become
// local paths.
QStringList PathsFromArguments(const QStringList& arguments);

// The message: "vendaro-open " + the number of paths + "\n", then each path in UTF-8 followed
// by a NUL byte.
QByteArray EncodeOpenRequest(const QStringList& paths);

// A message read so far: Incomplete until all of it has arrived; Bad for anything that is not
// such a message (wrong start, a count not written as EncodeOpenRequest writes it or above
// kMaxOpenPaths, an empty path, bytes after the last path, more than kMaxOpenRequestBytes).
struct TOpenRequest {
    enum Status { Incomplete, Complete, Bad } status = Incomplete;
    QStringList paths; // when Complete
};
constexpr int kMaxOpenPaths = 100000;
constexpr qsizetype kMaxOpenRequestBytes = 64 * 1024 * 1024;
TOpenRequest ParseOpenRequest(const QByteArray& message);
