#pragma once
// The cipher of protected values: a Blowfish variant (little-endian blocks, S-boxes indexed
// from the least significant byte) with a "length|text" framing rendered as hexadecimal.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>
#include <cstdint>
#include <stdexcept>

class EInvalidKey : public std::runtime_error {
public:
    EInvalidKey()
        : std::runtime_error("Invalid key length")
    {
    }
};

class EInvalidData : public std::runtime_error {
public:
    EInvalidData()
        : std::runtime_error("Data type mismatch or data demaged")
    {
    }
};

// Protected values of the lab's stamped files.
inline constexpr char kLabKey[] = "k3m9qd42tx81vbhw507c;pe;rjz6";
// Protected values of the user's config.ini.
inline constexpr char kConfigKey[] = "plokmijnuhbygv40617";
// The saved login file.
inline constexpr char kLoginKey[] = "xkrrt5713wd2a8zneosu";

class TBlowFish {
public:
    // A key of fewer than 4 or more than 56 bytes raises EInvalidKey.
    explicit TBlowFish(QByteArrayView key);
    ~TBlowFish(); // wipes the subkeys, S-boxes and key copy
    TBlowFish(const TBlowFish&) = delete;
    TBlowFish& operator=(const TBlowFish&) = delete;

    // Upper-case hexadecimal of the enciphered Windows-1250 bytes of "length|plain" padded
    // to whole blocks; an empty plain text gives an empty result.
    QString EncodeText(const QString& plain) const;
    // The reverse. Raises EInvalidData when the text is not whole blocks of hexadecimal
    // digits or the deciphered frame is not "length|...".
    QString DecodeText(const QString& text) const;

    void EncryptBlock(uint8_t block[8]) const;
    void DecryptBlock(uint8_t block[8]) const;

private:
    uint32_t F(uint32_t x) const;
    void Encipher(uint32_t& l, uint32_t& r) const;
    void Decipher(uint32_t& l, uint32_t& r) const;

    std::array<uint32_t, 18> P_;
    std::array<std::array<uint32_t, 256>, 4> S_;
    QByteArray key_;
};
