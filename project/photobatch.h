#pragma once
// Adding many photos at once: the files are decoded and their working copies written on
// worker threads while the user-interface thread takes the results in the order the photos
// were chosen and appends them to the project (TVDImage::AppendPhoto).
//
//     TPhotoBatch batch(project, files, previewSize);
//     for (int i = 0; i < batch.Count(); ++i) {
//         TPreparedPhoto photo;
//         while (!batch.TakeNext(photo, 20))
//             QCoreApplication::processEvents();   // the window stays alive
//         if (photo.ok) project.AppendPhoto(std::move(photo)); else ...
//     }
#include "project/photoprep.h"

#include <QStringList>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

class TVDImage;

class TPhotoBatch {
public:
    // Claims every photo's names in the project folder (on this thread, in order) and starts
    // `threads` workers (0: one per core, at most kMaxThreads: each may hold a whole decoded photo).
    TPhotoBatch(TVDImage& project, const QStringList& paths, int previewSize, int threads = 0);
    // Stops the workers after their current photo; the files of photos not taken are deleted.
    ~TPhotoBatch();
    TPhotoBatch(const TPhotoBatch&) = delete;
    TPhotoBatch& operator=(const TPhotoBatch&) = delete;

    int Count() const { return int(slots_.size()); }
    int Taken() const { return taken_; }

    // The next photo in order when it is ready within timeoutMs; false while it is not (and
    // after the last one).
    bool TakeNext(TPreparedPhoto& photo, int timeoutMs);

    static constexpr int kMaxThreads = 4;

private:
    void Work();

    std::vector<TPhotoSlot> slots_;
    std::vector<char> reserved_; // false: the slot could not be claimed, its result is a failure
    std::vector<std::optional<TPreparedPhoto>> results_;
    int previewSize_;
    int lookahead_;
    int taken_ = 0;

    std::mutex mutex_;
    std::condition_variable changed_;
    int nextJob_ = 0;
    bool stopping_ = false;
    std::vector<std::thread> workers_;
};
