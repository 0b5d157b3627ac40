#pragma once
// The project file: the photos of the project with everything the customer set on them, so
// that a program that was closed, killed or lost its power offers the project again at the
// next start. Only the photos' source files are read back from it; the working copies are
// made anew from them.
//
// UTF-8 text, one item a line, fields separated by one space:
//   vendaro-project 1
//   focus <photo index, -1 for none>
//   default-format <format id, -1 for none>
//   photo <selected 0|1> <quantity> <format id> <21 correction values> <source path> <name>
//   ...
//   end <number of photo lines>
// The correction values are rotation, blackWhite, sepia, the six crop fractions (shortest
// round-trip decimal), sat, inten, contr, balr, balg, balb, hue1, hue2, hue3 and the three
// reserved bytes. Paths are percent-encoded, so no space, line end or "%" stays literal.
// A file of another version, or one that breaks any rule (a missing or extra field, a value
// out of range, a name outside its source's folder, no end line), is refused as a whole.
#include "imaging/colour.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class TVDImage;

inline constexpr int kProjectFileVersion = 1;
// Larger files are refused unread (5000 photos take about 3 MB).
inline constexpr qint64 kProjectFileMaxBytes = 64 * 1024 * 1024;

// What the customer set on one photo.
struct TSavedPhoto {
    QString sourcePath; // absolute and clean
    QString name; // in the source's folder: that folder + "/" + the shown name
    int formatId = -1;
    int quantity = 1;
    bool selected = false;
    Corrections corrections {};

    bool operator==(const TSavedPhoto&) const = default;
};

struct TSavedProject {
    std::vector<TSavedPhoto> photos;
    int focus = -1;
    int defaultFormat = -1;

    bool operator==(const TSavedProject&) const = default;
};

// The project file of this user and lab (see docs/reference/project.md for where it lives).
QString ProjectFilePath();

// The customer's part of the project: a copy cheap enough for the user-interface thread (the
// strings are shared, not copied).
TSavedProject SavedState(const TVDImage& project);

QByteArray ProjectFileText(const TSavedProject& project);
// The project in text, or nothing (and why, in English) when the text breaks any rule.
std::optional<TSavedProject> ParseProjectFile(const QByteArray& text, QString* problem = nullptr);

// A missing file is an empty project; an unreadable or damaged one gives nothing, with a log
// line naming the file and the fault.
std::optional<TSavedProject> ReadProjectFile(const QString& path);
// Writes the file atomically (a new file replaces the old one only when complete), owner-only;
// a project without photos deletes the file instead. False, with a log line, on failure.
bool WriteProjectFile(const QString& path, const TSavedProject& project);

// ---- restoring ----
// The focus after restoring: the saved focused photo's new index when it was restored, else
// the next restored photo's (or the last one's); restored holds the saved indices of the
// photos restored, in order. -1 stays -1.
int RestoredFocus(int savedFocus, const std::vector<int>& restored);
// The warning naming the source files left out (at most kListedMissing, then how many more).
inline constexpr int kListedMissing = 10;
QString MissingSourcesMessage(const QStringList& paths);
