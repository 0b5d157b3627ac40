#pragma once
// Stored correction sets: the files "corrections/*.dat" in the program folder. Each holds a
// header, the set's name and a whole Corrections record, including the rotation and crop of
// the photo it was saved from (whoever applies a set keeps the target photo's geometry).
#include "imaging/colour.h"

#include <QString>
#include <QStringList>

class QIODevice;

// A set's name holds 1 to 48 bytes of Windows-1250 text.
inline constexpr int kCorrectionSetNameMax = 48;

// The folder of the stored sets in the program folder.
QString CorrectionsFolder();

// False for a file that cannot be opened, has another header, an empty name or one longer
// than 48 bytes, or fewer than 69 record bytes; name and record are then unchanged.
bool ReadCorrectionsFile(const QString& path, QString& name, Corrections& record);

// The same from an open device positioned at the start of a file's bytes; nothing is logged.
bool ReadCorrectionsSet(QIODevice& file, QString& name, Corrections& record);

// Writes the set as a new file (cor.dat, cor_1.dat, ...) in the corrections folder, which is
// created when missing, and returns its path. Empty when the file cannot be written; a file
// is then never left half-written.
QString WriteCorrectionsFile(const QString& name, const Corrections& record);

// The name the user typed, trimmed; empty when nothing is left or it is longer than 48 bytes.
QString CorrectionSetName(const QString& text);

// The sets offered in the colour-correction window: paths and names, index for index. Sets
// saved during the run are appended; nothing removes entries.
class TStoredCorrections {
public:
    // Replaces the list by every readable "*.dat" file of the corrections folder, in the order
    // the file system lists them.
    void Scan();
    void Append(const QString& path, const QString& name);

    int Count() const { return int(paths_.size()); }
    const QStringList& Paths() const { return paths_; }
    const QStringList& Names() const { return names_; }

private:
    QStringList paths_;
    QStringList names_;
};
