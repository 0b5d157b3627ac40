#pragma once
// Growable lists of integers and booleans with fixed growth steps and checked indices. Not
// copyable; they take no lock: an owner shared between threads guards them itself.
#include <QString>

#include <cstdint>
#include <memory>
#include <stdexcept>

// An index outside the list: the message names the list and, for TIntList::Get, the
// offending index and the count.
class EListError : public std::out_of_range {
public:
    using std::out_of_range::out_of_range;
};

class TIntList {
public:
    static constexpr int kGrowth = 8192;

    TIntList() = default;
    TIntList(const TIntList&) = delete;
    TIntList& operator=(const TIntList&) = delete;

    void Add(int32_t value, int n = 1);
    int32_t Get(int index) const;
    void Set(int index, int32_t value);
    void Delete(int index);
    int32_t Sum() const; // wraps in 32 bits
    void Clear();

    int Count() const { return count_; }
    int Capacity() const { return capacity_; }

private:
    void Reallocate(int capacity);

    std::unique_ptr<int32_t[]> items_;
    int capacity_ = 0;
    int count_ = 0;
};

class TboolList {
public:
    static constexpr int kGrowth = 25;
    static constexpr int kShrink = 8192;

    TboolList() = default;
    TboolList(const TboolList&) = delete;
    TboolList& operator=(const TboolList&) = delete;

    void Add(int32_t value);
    int32_t Get(int index) const; // the stored value: zero is false, anything else true
    void Set(int index, int32_t value);
    void Delete(int index);
    void SetAll(uint8_t value); // every item becomes the byte repeated in all four bytes
    // Makes room for capacity items at once (never less than now), so that a caller who knows
    // how many items come does not pay for growing 25 slots at a time.
    void Reserve(int capacity);
    void Clear();

    int Count() const { return count_; }
    int Capacity() const { return capacity_; }
    int TrueCount() const { return trueCount_; }

private:
    void Reallocate(int capacity);

    std::unique_ptr<int32_t[]> items_;
    int capacity_ = 0;
    int count_ = 0;
    int trueCount_ = 0;
};
