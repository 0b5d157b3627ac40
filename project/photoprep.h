#pragma once
// The decoding half of adding a photo: everything that touches the source file and writes
// the working copies, with no access to the project, so it may run on any thread.
#include "imaging/imageinfo.h"

#include <QImage>
#include <QString>

#include <cstdint>

// Where a photo goes in the project folder (claimed by TVDImage::ReservePhoto).
struct TPhotoSlot {
    QString sourcePath;
    QString workingPath;
    QString previewPath;
};

struct TPreparedPhoto {
    TPhotoSlot slot;
    bool ok = false;
    QString failure; // why it failed, in English, for the log
    // Set when the working copies did not fit: what they need and what the disk had left.
    int64_t spaceNeeded = 0;
    int64_t spaceAvailable = 0;
    ImageInfo info {};
    QImage preview; // 32-bit, fitted within previewSize x previewSize, never enlarged
};

// Reads the header facts, decodes the file, turns it upright by its TIFF/EXIF orientation,
// writes the full 32-bit working copy and the preview copy (resampled to exactly the size
// FitRect gives). A file whose format has no header reader (or whose header gives no size)
// takes its size from the decoded picture. Nothing is written when the disk has not the room
// for both copies (spaceNeeded is then set). On failure both files of the slot are deleted
// and ok is false. A ".JPG"/".JPEG" is decoded band by band straight into both copies
// (imaging/jpegrows.h, imaging/uprightbands.h) with the same bytes as the whole-picture way,
// which takes every file that decoder refuses or fails on.
TPreparedPhoto PreparePhoto(const TPhotoSlot& slot, int previewSize);

// Writes the failure of a photo to the log (the log belongs to the user-interface thread).
void LogFailedPhoto(const TPreparedPhoto& photo);
