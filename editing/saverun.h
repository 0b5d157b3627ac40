#pragma once
// One run of the save window: every chosen photo rendered as it would be printed, written
// as a JPEG file of quality 100 stamped with the lab's output resolution.
#include "editing/savenaming.h"

#include <QDateTime>
#include <QImage>

#include <functional>

class TVDImage;

struct TSaveRunResult {
    int saved = 0;
    int skipped = 0; // an existing file was kept
    int failed = 0; // could not be written; the run went on
};

// Called after each photo of the project with the progress in percent and the picture
// rendered for it (null when the photo was not chosen).
using TSaveStep = std::function<void(int percent, const QImage* rendered)>;

// The first chosen photo whose print sheet cannot be made (TVDImage::OutputSheetProblem), or -1.
int FirstOversizedPhoto(const TVDImage& project, const TSaveOptions& options);

// Photos in project order; the dated folder (and any missing parent) is made before the first
// file goes into it.
TSaveRunResult SaveFinishedCopies(
    const TVDImage& project, const TSaveOptions& options, const QDateTime& start, int outputDpi, const TSaveStep& step);
