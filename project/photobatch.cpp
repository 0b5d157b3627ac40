#include "project/photobatch.h"

#include "project/uvdimage.h"

#include <algorithm>
#include <chrono>
#include <exception>

TPhotoBatch::TPhotoBatch(TVDImage& project, const QStringList& paths, int previewSize, int threads)
    : previewSize_(previewSize)
{
    slots_.resize(std::size_t(paths.size()));
    results_.resize(slots_.size());
    reserved_.resize(slots_.size());
    for (std::size_t i = 0; i < slots_.size(); ++i) {
        reserved_[i] = project.ReservePhoto(paths[qsizetype(i)], slots_[i]);
        if (!reserved_[i]) {
            TPreparedPhoto failed;
            failed.slot.sourcePath = paths[qsizetype(i)];
            failed.failure = QStringLiteral("can't reserve working copies");
            results_[i] = std::move(failed);
        }
    }
    if (threads <= 0)
        threads = int(std::clamp(std::thread::hardware_concurrency(), 1u, unsigned(kMaxThreads)));
    threads = std::min(threads, std::max(Count(), 1));
    // Results wait for the user-interface thread; a few in hand keep the workers busy without
    // holding many previews.
    lookahead_ = 2 * threads;
    for (int i = 0; i < threads; ++i)
        workers_.emplace_back(&TPhotoBatch::Work, this);
}

TPhotoBatch::~TPhotoBatch()
{
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    for (std::thread& worker : workers_)
        worker.join();
    for (std::size_t i = std::size_t(taken_); i < slots_.size(); ++i)
        if (reserved_[i])
            TVDImage::ReleasePhoto(slots_[i]);
}

void TPhotoBatch::Work()
{
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [&] { return stopping_ || nextJob_ >= Count() || nextJob_ < taken_ + lookahead_; });
        while (nextJob_ < Count() && !reserved_[std::size_t(nextJob_)])
            ++nextJob_; // its result is already there
        if (stopping_ || nextJob_ >= Count())
            return;
        if (nextJob_ >= taken_ + lookahead_)
            continue;
        const std::size_t job = std::size_t(nextJob_++);
        lock.unlock();
        TPreparedPhoto photo;
        try {
            photo = PreparePhoto(slots_[job], previewSize_);
        } catch (const std::exception& e) { // memory ran out: this photo fails, the batch goes on
            TVDImage::ReleasePhoto(slots_[job]);
            photo.slot = slots_[job];
            photo.failure = QString::fromLocal8Bit(e.what());
        }
        lock.lock();
        results_[job] = std::move(photo);
        changed_.notify_all();
    }
}

bool TPhotoBatch::TakeNext(TPreparedPhoto& photo, int timeoutMs)
{
    std::unique_lock<std::mutex> lock(mutex_);
    if (taken_ >= Count())
        return false;
    const std::size_t next = std::size_t(taken_);
    if (!changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return results_[next].has_value(); }))
        return false;
    photo = std::move(*results_[next]);
    results_[next].reset();
    ++taken_;
    changed_.notify_all();
    return true;
}
