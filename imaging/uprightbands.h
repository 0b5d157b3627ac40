#pragma once
// The copies of a photo built from its stored rows as they are decoded, turned and mirrored
// upright by the TIFF/EXIF orientation on the way: exactly the working copy and the preview copy
// that UprightByOrientation, SaveWorkingBitmap and ResampleToSize (nearest neighbour, centre
// sampling) make from the whole decoded picture (imaging/geometry.h, imaging/workingcopy.h).
//
// Orientations 1 to 4 keep stored rows as rows (mirrored, in reverse order, or both): each row
// goes to its place in the working copy at once and the preview samples it, so no whole picture
// is ever held. Orientations 5 to 8 turn rows into columns: the rows are placed into the upright
// picture in memory, written and resampled at the end (one 32-bit picture, no second one for the
// turn).
#include "imaging/workingcopy.h"

#include <QImage>
#include <QSize>
#include <QString>

#include <cstdint>
#include <vector>

class TUprightBands {
public:
    // A photo of width x height stored pixels; orientations outside 2..8 are upright already.
    // The preview fits within previewSize x previewSize and is never enlarged.
    TUprightBands(int width, int height, int orientation, int previewSize);

    QSize UprightSize() const { return upright_; }

    // Creates the working copy: nullptr, or why it could not be made (for the log).
    const char* Begin(const QString& workingPath);
    // Places stored rows [first, first + count), width pixels each without padding; the rows
    // may be changed (mirrored) on the way. Each stored row must come exactly once.
    bool Put(int first, int count, std::uint32_t* rows);
    // After the last row: writes what is still held, closes the working copy and hands over the
    // preview. nullptr, or what failed.
    const char* End(QImage& preview);

private:
    void Sample(int uprightRow, const std::uint32_t* row);

    int width_;
    int height_;
    QSize upright_;
    bool turns_; // stored rows become upright columns
    bool reverseX_; // the stored x runs against the upright axis it lands on
    bool reverseY_; // the same for the stored y
    QSize previewSize_;
    std::vector<int> previewRows_;
    std::vector<int> previewColumns_;
    QImage preview_;
    QImage turned_;
    TWorkingCopyWriter file_;
};
