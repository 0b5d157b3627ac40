#pragma once
// The fuzz input handed to a reader: as a file (for readers that take a path; one file per
// process in the temporary folder, rewritten for every input) or as an open device.
#include <QBuffer>
#include <QString>

#include <cstddef>
#include <cstdint>

// Writes data to this process's scratch file with the given extension; returns its path.
QString WriteFuzzFile(const std::uint8_t* data, std::size_t size, const char* extension);

// Calls read(device) with the data as an open read-only QBuffer.
template <typename Reader> void ReadFromBuffer(const std::uint8_t* data, std::size_t size, Reader read)
{
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    read(buffer);
}

// Calls one of the readers on the data after its first byte, which picks the reader (its value
// modulo their count); empty data reads nothing.
template <typename... Readers> void ReadWithChosenReader(const std::uint8_t* data, std::size_t size, Readers... readers)
{
    if (size == 0)
        return;
    const std::size_t chosen = data[0] % sizeof...(Readers);
    ReadFromBuffer(data + 1, size - 1, [&](QIODevice& file) {
        std::size_t index = 0;
        ((index++ == chosen ? void(readers(file)) : void()), ...);
    });
}
