#pragma once
// Bands of picture rows handed from the thread that decodes them to a helper thread that stores
// them (colour conversion, working copy, preview), so that decoding and storing overlap. A fixed
// ring of band buffers bounds the memory; the bands are stored in the order they were passed.
//
//     TBandRelay relay(width, 32, 4, store);
//     while (std::uint32_t* band = relay.Next()) {
//         const int rows = Decode(band, 32);
//         if (rows <= 0) break;
//         relay.Pass(first, rows);
//     }
//     const bool stored = relay.Finish();
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class TBandRelay {
public:
    // Stores count rows (width pixels each, no padding) starting at row first; false stops the
    // relay. Runs on the helper thread; must not throw.
    using Store = std::function<bool(int first, int count, std::uint32_t* rows)>;

    // Starts the helper (without a thread to be had, bands are stored on the calling thread).
    TBandRelay(int width, int bandRows, int bands, Store store);
    ~TBandRelay();
    TBandRelay(const TBandRelay&) = delete;
    TBandRelay& operator=(const TBandRelay&) = delete;

    // A free band of bandRows rows to fill; nullptr once a store has failed.
    std::uint32_t* Next();
    // Hands the band Next gave, now holding count rows from row first, to the store.
    void Pass(int first, int count);
    // Waits until every band passed is stored and stops the helper; true when every store
    // succeeded.
    bool Finish();

private:
    struct Band {
        std::vector<std::uint32_t> pixels;
        int first = 0;
        int count = 0;
    };

    void Work();

    Store store_;
    std::vector<Band> bands_;
    std::deque<std::size_t> free_;
    std::deque<std::size_t> passed_;
    std::size_t current_ = 0;
    bool failed_ = false;
    bool finishing_ = false;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::thread helper_;
};
