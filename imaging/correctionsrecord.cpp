#include "imaging/correctionsrecord.h"

#include <QtEndian>

#include <bit>
#include <type_traits>

namespace {

// Calls field(value) for every field of the record in its stored order.
template <typename Record, typename Field> constexpr void ForEachStoredField(Record& record, Field field)
{
    field(record.rotation);
    field(record.blackWhite);
    field(record.sepia);
    field(record.crop.left);
    field(record.crop.top);
    field(record.crop.width);
    field(record.crop.height);
    field(record.crop.right);
    field(record.crop.bottom);
    field(record.sat);
    field(record.inten);
    field(record.contr);
    field(record.balr);
    field(record.balg);
    field(record.balb);
    field(record.hue1);
    field(record.hue2);
    field(record.hue3);
    for (auto& byte : record.reserved)
        field(byte);
}

// The unsigned integer holding a field's bits in the file.
template <typename T> using StoredBits = std::conditional_t<sizeof(T) == 1, quint8, quint32>;

constexpr std::size_t StoredSize()
{
    Corrections record {};
    std::size_t size = 0;
    ForEachStoredField(record, [&](auto& value) { size += sizeof value; });
    return size;
}
static_assert(StoredSize() == kCorrectionsRecordSize);

} // namespace

CorrectionsRecordBytes CorrectionsToBytes(const Corrections& record)
{
    CorrectionsRecordBytes bytes {};
    std::size_t at = 0;
    ForEachStoredField(record, [&](const auto& value) {
        using T = std::remove_cvref_t<decltype(value)>;
        qToLittleEndian(std::bit_cast<StoredBits<T>>(value), bytes.data() + at);
        at += sizeof(T);
    });
    return bytes;
}

Corrections CorrectionsFromBytes(const CorrectionsRecordBytes& bytes)
{
    Corrections record {};
    std::size_t at = 0;
    ForEachStoredField(record, [&](auto& value) {
        using T = std::remove_cvref_t<decltype(value)>;
        value = std::bit_cast<T>(qFromLittleEndian<StoredBits<T>>(bytes.data() + at));
        at += sizeof(T);
    });
    return record;
}
