#include "order/orderrender.h"

#include "core/log.h"
#include "imaging/jpeginfo.h"
#include "imaging/jpegsave.h"
#include "order/localwait.h"
#include "platform/files.h"
#include "project/uvdimage.h"

#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace {

constexpr int kOrderJpegQuality = 100;

class TRenderPool {
public:
    TRenderPool(const TVDImage& project, const QStringList& paths, int outputDpi)
        : project_(project)
        , paths_(paths)
        , outputDpi_(outputDpi)
        , results_(std::size_t(paths.size()))
    {
        const int threads = std::min<int>(kRendersInMemory, int(paths.size()));
        for (int i = 0; i < threads; ++i)
            workers_.emplace_back([this] { Work(); });
    }

    ~TRenderPool()
    {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        changed_.notify_all();
        for (std::thread& worker : workers_)
            worker.join();
        for (std::size_t i = std::size_t(taken_); i < results_.size(); ++i)
            if (results_[i] && results_[i]->saved)
                DeleteFileForced(results_[i]->path);
    }

    int Run(const std::function<bool(const TRenderedPhoto&)>& take)
    {
        while (taken_ < int(results_.size())) {
            std::optional<TRenderedPhoto>& slot = results_[std::size_t(taken_)];
            while (!Ready(taken_))
                wait_.Wait();
            const bool more = take(*slot);
            slot->image = QImage();
            {
                std::lock_guard lock(mutex_);
                ++taken_;
                --inMemory_;
            }
            changed_.notify_all();
            if (!more)
                break;
        }
        return taken_;
    }

private:
    bool Ready(int index)
    {
        std::lock_guard lock(mutex_);
        return results_[std::size_t(index)].has_value();
    }

    void Work()
    {
        for (;;) {
            int index = 0;
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [this] { return stopping_ || inMemory_ < kRendersInMemory; });
                if (stopping_ || next_ >= int(results_.size()))
                    return;
                index = next_++;
                ++inMemory_;
            }
            TRenderedPhoto photo;
            photo.index = index;
            photo.path = paths_[index];
            try {
                project_.RenderOutput(index, photo.image);
                photo.saved = SaveJpeg(photo.image, photo.path, kOrderJpegQuality);
            } catch (const std::exception& error) { // nothing may escape a worker: the photo fails
                Log(QStringLiteral("RenderOrderPhotos: photo %1: %2")
                        .arg(index)
                        .arg(QString::fromLocal8Bit(error.what())),
                    3);
            }
            if (photo.saved) {
                StampJpegDensity(photo.path, outputDpi_); // a file without JFIF density keeps its own
                photo.fileSize = FileSize64(photo.path);
            }
            {
                std::lock_guard lock(mutex_);
                results_[std::size_t(index)] = std::move(photo);
            }
            wait_.Wake();
        }
    }

    const TVDImage& project_;
    const QStringList paths_;
    const int outputDpi_;
    TLocalWait wait_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::optional<TRenderedPhoto>> results_;
    int next_ = 0; // the next photo a worker takes
    int taken_ = 0; // the next photo the caller takes
    int inMemory_ = 0; // rendered or being rendered, not yet released by the caller
    bool stopping_ = false;
    std::vector<std::thread> workers_;
};

} // namespace

int RenderPhotosInOrder(const TVDImage& project, const QStringList& paths, int outputDpi,
    const std::function<bool(const TRenderedPhoto&)>& take)
{
    TRenderPool pool(project, paths, outputDpi);
    return pool.Run(take);
}
