#pragma once
// Where the save window writes the finished copies and under which names: the photo's own
// folder or a chosen one (optionally a new folder named after the run's start time), the
// project's names or numbers, and what happens to files that exist already.
#include <QDateTime>
#include <QSet>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

enum class TExistingFiles { Rename, Overwrite, Skip };

struct TSaveOptions {
    bool allPhotos = false; // else the selected ones
    bool chosenFolder = true; // else next to each photo's source file
    QString folder; // the chosen folder
    bool datedFolder = false; // a new folder in the chosen one, named after the start time
    bool numbered = false; // else the names of the project
    std::int64_t countStart = 1;
    int countAlign = 4; // digits, zeros in front
    TExistingFiles existing = TExistingFiles::Rename;
};

// The highest values the numbering fields take.
inline constexpr std::int64_t kCountStartMax = 999999999;
inline constexpr int kCountAlignMax = 9;

// The text as a whole decimal number within min..max, or nothing.
std::optional<std::int64_t> WholeNumberIn(const QString& text, std::int64_t min, std::int64_t max);

// The dated folder's name: "yyyy-mm-dd hh_nn_ss" (2007-03-14 09_05_33).
QString DatedFolderName(const QDateTime& time);

struct TSaveTarget {
    QString path;
    bool skip = false; // an existing file is kept and the photo not saved
};

// The targets of one save run; numbered names count on from run to run of TargetPath. A copy
// never replaces a source file of the project (sources: their paths as added): such a target
// is renamed as with TExistingFiles::Rename, whatever the policy says.
class TSaveTargets {
public:
    TSaveTargets(const TSaveOptions& options, const QDateTime& start, const QStringList& sources = {});

    // The folder for a photo whose name path (source path or the name given by renaming) is
    // namePath, without a trailing separator.
    QString TargetFolder(const QString& namePath) const;
    // The file for that photo in folder; takes the next number when numbering.
    TSaveTarget TargetPath(const QString& folder, const QString& namePath);

private:
    TSaveOptions options_;
    QDateTime start_;
    std::int64_t counter_;
    QSet<QString> sources_; // canonical paths
};
