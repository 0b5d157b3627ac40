#pragma once
// Reads that deliver every byte asked for or fail: the header readers never act on a short read.
#include <QIODevice>

#include <cstddef>

inline bool ReadExact(QIODevice& file, void* out, qint64 count)
{
    return count >= 0 && file.read(static_cast<char*>(out), count) == count;
}

// Fills a byte array of `count` bytes; false when the device has fewer.
inline bool ReadExact(QIODevice& file, QByteArray& out, qint64 count)
{
    if (count < 0 || count > file.size() - file.pos())
        return false;
    out.resize(count);
    return ReadExact(file, out.data(), count);
}
