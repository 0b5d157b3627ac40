#pragma once
// The print image of one photo, computed in one pass over the sheet.
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
// Memory: the source and the sheet, nothing of their size besides.
#include "core/rect.h"
#include "imaging/colour.h"

#include <QImage>

// Whether a sheet of formatRect's size can be made: within the picture limits (picture.h).
// Without a format (Left < 0) there is no sheet and the answer is true.
bool SheetAllowed(const TRect& formatRect);

// source: the 32-bit full working copy (taken over and released before returning).
// formatRect.Left < 0: no sheet, the corrected picture at its own size. An empty source
// gives a white sheet, or an empty picture without a format; a sheet that is not allowed
// gives an empty picture, and nothing of its size is allocated.
QImage RenderPrint(QImage source, const Corrections& record, const TRect& formatRect);
