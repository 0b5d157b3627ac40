#pragma once
// The print image of one photo, computed on the sheet without a full-size intermediate.
//
// The result is, pixel for pixel, what the plain pipeline gives: ApplyCorrections with
// geometry (quarter turn, crop clipped to the picture, colour operations) and then
// FitIntoFrame onto a white sheet of formatRect's size. It is reached without making the
// turned, cropped and corrected full-size picture:
//  - nearest-neighbour placement only copies pixels, and every colour operation acts on one
//    pixel at a time, so colouring the placed pixels equals placing coloured pixels;
//  - the contrast pivot is a property of the whole turned and cropped picture, so it is
//    still computed over all of it (row sums of the turned picture are column sums of the
//    source for a quarter turn);
//  - turning and cropping become the coordinate map of the sampling.
// The source is read in bands of rows, in order: the rows the placement samples or, with a
// contrast change, every row under the crop (the pivot sums and the placement then share one
// read). Colours run on the sheet once every placed pixel is in.
//
// The functions here keep no state and touch nothing but their arguments, the file they read and
// the memory they allocate, so they may run on several threads at once (each splits its own
// work over the cores).
#include "core/rect.h"
#include "imaging/colour.h"

#include <QImage>
#include <QString>

#include <cstdint>

// Whether a sheet of formatRect's size can be made: within the picture limits (picture.h).
// Without a format (Left < 0) there is no sheet and the answer is true.
bool SheetAllowed(const TRect& formatRect);

// source: a picture in memory (taken over and released before returning); no more than it
// and the sheet are held.
// formatRect.Left < 0: no sheet, the corrected picture at its own size. An empty source
// gives a white sheet, or an empty picture without a format; a sheet that is not allowed
// gives an empty picture, and nothing of its size is allocated.
QImage RenderPrint(QImage source, const Corrections& record, const TRect& formatRect);

// Working copies are read a band of at most this many bytes at a time.
inline constexpr std::int64_t kRenderBandBytes = std::int64_t(4) << 20;

// RenderPrint of the working copy at path, read a band at a time: the render holds the sheet,
// one band and small tables, never the whole working copy. A file that cannot be read (even
// part way through) gives what an empty source gives.
QImage RenderWorkingCopy(
    const QString& path, const Corrections& record, const TRect& formatRect, std::int64_t bandBytes = kRenderBandBytes);
