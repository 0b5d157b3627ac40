// Stored correction sets (corrections/*.dat): header, name and record from any bytes. A set
// that reads must give back exactly the record bytes it was read from.
#include "editing/correctionsfile.h"
#include "imaging/correctionsrecord.h"
#include "tests/fuzz/fuzzfile.h"

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ReadFromBuffer(data, size, [&](QIODevice& file) {
        QString name;
        Corrections record {};
        if (!ReadCorrectionsSet(file, name, record))
            return;
        const std::uint8_t* stored = data + file.pos() - qint64(kCorrectionsRecordSize);
        if (name.isEmpty() || std::memcmp(CorrectionsToBytes(record).data(), stored, kCorrectionsRecordSize) != 0)
            std::abort();
    });
    return 0;
}
