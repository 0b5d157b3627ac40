#pragma once
// The time of adding photos at once as the main window does: TPhotoBatch with a number of
// workers, the results appended to the project in order; the project is emptied afterwards.
#include "project/photobatch.h"
#include "project/uvdimage.h"
#include "tests/project/projectfixture.h"

#include <QElapsedTimer>
#include <QStringList>

// Milliseconds, negative when a photo fails; threads as TPhotoBatch takes it (0: one worker
// per core).
inline double BatchMs(TProjectFixture& bench, const QStringList& photos, int threads = 0)
{
    QElapsedTimer timer;
    timer.start();
    {
        TPhotoBatch batch(*bench.project, photos, bench.config.previewSize, threads);
        TPreparedPhoto prepared;
        for (int i = 0; i < batch.Count(); ++i) {
            while (!batch.TakeNext(prepared, 20)) { }
            if (!prepared.ok)
                return -1;
            bench.project->AppendPhoto(std::move(prepared));
        }
    }
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    bench.project->Clear();
    return ms;
}
