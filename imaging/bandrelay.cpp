#include "imaging/bandrelay.h"

#include <system_error>

TBandRelay::TBandRelay(int width, int bandRows, int bands, Store store)
    : store_(std::move(store))
    , bands_(std::size_t(bands))
{
    for (std::size_t i = 0; i < bands_.size(); ++i) {
        bands_[i].pixels.resize(std::size_t(width) * std::size_t(bandRows));
        free_.push_back(i);
    }
    try {
        helper_ = std::thread(&TBandRelay::Work, this);
    } catch (const std::system_error&) {
        // Pass stores each band itself.
    }
}

TBandRelay::~TBandRelay()
{
    Finish();
}

std::uint32_t* TBandRelay::Next()
{
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return failed_ || !free_.empty(); });
    if (failed_)
        return nullptr;
    current_ = free_.front();
    free_.pop_front();
    return bands_[current_].pixels.data();
}

void TBandRelay::Pass(int first, int count)
{
    Band& band = bands_[current_];
    band.first = first;
    band.count = count;
    if (!helper_.joinable()) {
        failed_ = failed_ || !store_(first, count, band.pixels.data());
        free_.push_back(current_);
        return;
    }
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        passed_.push_back(current_);
    }
    changed_.notify_all();
}

void TBandRelay::Work()
{
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return finishing_ || !passed_.empty(); });
        if (passed_.empty())
            return;
        const std::size_t index = passed_.front();
        passed_.pop_front();
        if (!failed_) { // after a failure the rest is dropped
            Band& band = bands_[index];
            lock.unlock();
            const bool stored = store_(band.first, band.count, band.pixels.data());
            lock.lock();
            failed_ = !stored;
        }
        free_.push_back(index);
        changed_.notify_all();
    }
}

bool TBandRelay::Finish()
{
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        finishing_ = true;
    }
    changed_.notify_all();
    if (helper_.joinable())
        helper_.join();
    return !failed_;
}
