#include "editing/saverun.h"

#include "core/log.h"
#include "imaging/jpeginfo.h"
#include "imaging/jpegsave.h"
#include "platform/muldiv.h"
#include "platform/paths.h"
#include "project/uvdimage.h"

namespace {

constexpr int kSavedQuality = 100;

bool WriteCopy(const QImage& picture, const QString& folder, const QString& path, int outputDpi)
{
    return !picture.isNull() && ForceDirs(folder) && SaveJpeg(picture, path, kSavedQuality)
        && StampJpegDensity(path, outputDpi);
}

bool Included(const TVDImage& project, const TSaveOptions& options, int index)
{
    return options.allPhotos || project.Photo(index).selected;
}

} // namespace

int FirstOversizedPhoto(const TVDImage& project, const TSaveOptions& options)
{
    for (int index = 0; index < project.Count(); ++index)
        if (Included(project, options, index) && !project.OutputSheetProblem(index).isEmpty())
            return index;
    return -1;
}

TSaveRunResult SaveFinishedCopies(
    const TVDImage& project, const TSaveOptions& options, const QDateTime& start, int outputDpi, const TSaveStep& step)
{
    TSaveRunResult result;
    TSaveTargets targets(options, start, project.SourcePaths());
    const int count = project.Count();
    for (int index = 0; index < count; ++index) {
        QImage picture;
        const bool included = Included(project, options, index);
        if (included) {
            project.RenderOutput(index, picture);
            const QString folder = targets.TargetFolder(project.Photo(index).name);
            const TSaveTarget target = targets.TargetPath(folder, project.Photo(index).name);
            if (target.skip) {
                ++result.skipped;
            } else if (WriteCopy(picture, folder, target.path, outputDpi)) {
                ++result.saved;
            } else {
                ++result.failed;
                Log(QStringLiteral("Copy not saved: ") + target.path, 3);
            }
        }
        step(MulDiv(index + 1, 100, count), included ? &picture : nullptr);
    }
    return result;
}
