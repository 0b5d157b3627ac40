#pragma once
// Splits the rows of a picture into contiguous bands and runs them on the machine's cores.
#include <cstdint>
#include <functional>

// Calls work(firstRow, endRow) for bands covering [0, rows). Jobs of fewer than about 256K
// pixels run on the calling thread, where starting threads would cost more than it saves.
// work must not throw.
void ParallelRows(int rows, std::int64_t pixelsPerRow, const std::function<void(int, int)>& work);
