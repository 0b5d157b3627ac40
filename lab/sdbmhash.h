#pragma once
// A 31-bit string hash (SDBM) for short identifiers such as order-history ids.
#include <QString>

#include <cstddef>
#include <cstdint>

class THashClass {
public:
    THashClass() { THashClass::Reset(); }
    virtual ~THashClass() = default;

    virtual uint32_t GetValue() const { return value_; }
    virtual void Reset() { value_ = 0; }
    virtual void Update(const uint8_t* bytes, size_t length);

    // Folds in the Windows-1250 bytes of text.
    void AddText(const QString& text);
    // GetValue() as exactly 8 upper-case hexadecimal digits.
    QString HashText() const;

protected:
    uint32_t value_ = 0;
};

class TSDBMHash : public THashClass {
public:
    TSDBMHash() { TSDBMHash::Reset(); }

    uint32_t GetValue() const override { return value_ & 0x7FFFFFFF; }
    void Reset() override { value_ = 0; }
    void Update(const uint8_t* bytes, size_t length) override;
};
