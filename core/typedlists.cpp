#include "core/typedlists.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

[[noreturn]] void RaiseIndex(const char* message)
{
    throw EListError(message);
}

void MoveTailDown(int32_t* items, int index, int count)
{
    std::memmove(items + index, items + index + 1, sizeof(int32_t) * static_cast<size_t>(count - index - 1));
}

void ResizeStorage(std::unique_ptr<int32_t[]>& items, int count, int capacity)
{
    auto resized = capacity > 0 ? std::make_unique<int32_t[]>(static_cast<size_t>(capacity)) : nullptr;
    if (resized && count > 0)
        std::memcpy(resized.get(), items.get(), sizeof(int32_t) * static_cast<size_t>(std::min(count, capacity)));
    items = std::move(resized);
}

} // namespace

void TIntList::Reallocate(int capacity)
{
    ResizeStorage(items_, count_, capacity);
    capacity_ = capacity;
}

void TIntList::Add(int32_t value, int n)
{
    for (int i = 0; i < n; ++i) {
        if (count_ == capacity_)
            Reallocate(capacity_ + kGrowth);
        items_[count_++] = value;
    }
}

int32_t TIntList::Get(int index) const
{
    if (index < 0 || index >= count_)
        throw EListError("Invalid index (" + std::to_string(index) + "/" + std::to_string(count_) + ") in TIntList");
    return items_[index];
}

void TIntList::Set(int index, int32_t value)
{
    if (index < 0 || index >= count_)
        RaiseIndex("Invalid index in TIntList");
    items_[index] = value;
}

void TIntList::Delete(int index)
{
    if (index < 0 || index >= count_)
        RaiseIndex("Invalid index in TIntList");
    MoveTailDown(items_.get(), index, count_);
    --count_;
    if (capacity_ - count_ > kGrowth)
        Reallocate(capacity_ - kGrowth);
}

int32_t TIntList::Sum() const
{
    uint32_t sum = 0;
    for (int i = 0; i < count_; ++i)
        sum += static_cast<uint32_t>(items_[i]);
    return static_cast<int32_t>(sum);
}

void TIntList::Clear()
{
    items_.reset();
    capacity_ = 0;
    count_ = 0;
}

void TboolList::Reallocate(int capacity)
{
    ResizeStorage(items_, count_, capacity);
    capacity_ = capacity;
}

void TboolList::Reserve(int capacity)
{
    if (capacity > capacity_)
        Reallocate(capacity);
}

void TboolList::Add(int32_t value)
{
    if (count_ == capacity_)
        Reallocate(capacity_ + kGrowth);
    items_[count_++] = value;
    if (value != 0)
        ++trueCount_;
}

int32_t TboolList::Get(int index) const
{
    if (index < 0 || index >= count_)
        RaiseIndex("Invalid index in TBoolList");
    return items_[index];
}

void TboolList::Set(int index, int32_t value)
{
    if (index < 0 || index >= count_)
        RaiseIndex("Invalid index in TBoolList");
    const bool was = items_[index] != 0;
    const bool now = value != 0;
    if (was == now)
        return;
    items_[index] = value;
    trueCount_ += now ? 1 : -1;
}

void TboolList::Delete(int index)
{
    if (index < 0 || index >= count_)
        RaiseIndex("Invalid index in TBoolList");
    if (items_[index] != 0)
        --trueCount_;
    MoveTailDown(items_.get(), index, count_);
    --count_;
    if (capacity_ - count_ > kShrink)
        Reallocate(capacity_ - kShrink);
}

void TboolList::SetAll(uint8_t value)
{
    const uint32_t word = 0x01010101u * value;
    std::fill_n(items_.get(), count_, static_cast<int32_t>(word));
    trueCount_ = value != 0 ? count_ : 0;
}

void TboolList::Clear()
{
    items_.reset();
    capacity_ = 0;
    count_ = 0;
    trueCount_ = 0;
}
