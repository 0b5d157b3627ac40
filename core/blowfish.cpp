#include "core/blowfish.h"

#include "core/blowfishtables.h"
#include "platform/cp1250.h"

#include <QtEndian>

#include <cstring>
#include <strings.h>

namespace {

constexpr int kBlock = 8;

uint32_t LoadLE(const uint8_t* p)
{
    return qFromLittleEndian<quint32>(p);
}

void StoreLE(uint8_t* p, uint32_t v)
{
    qToLittleEndian<quint32>(v, p);
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Whole blocks of hexadecimal digit pairs, or EInvalidData.
QByteArray HexToBytes(const QByteArray& hex)
{
    if (hex.size() % (2 * kBlock) != 0)
        throw EInvalidData();
    QByteArray bytes(hex.size() / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const int hi = HexValue(hex[2 * i]);
        const int lo = HexValue(hex[2 * i + 1]);
        if (hi < 0 || lo < 0)
            throw EInvalidData();
        bytes[i] = static_cast<char>(hi << 4 | lo);
    }
    return bytes;
}

// The length before the first "|": a decimal number with an optional sign.
qsizetype FrameLength(const QByteArray& digits)
{
    bool ok = false;
    const int n = digits.toInt(&ok, 10);
    if (!ok)
        throw EInvalidData();
    return n;
}

} // namespace

TBlowFish::TBlowFish(QByteArrayView key)
    : P_(kBlowfishInitP)
    , S_(kBlowfishInitS)
    , key_(key.toByteArray())
{
    if (key.size() < 4 || key.size() > 56)
        throw EInvalidKey();
    qsizetype k = 0;
    for (uint32_t& p : P_) {
        uint32_t word = 0;
        for (int i = 0; i < 4; ++i, ++k)
            word = word << 8 | static_cast<uint8_t>(key_[k % key_.size()]);
        p ^= word;
    }
    uint32_t l = 0, r = 0;
    for (size_t i = 0; i < P_.size(); i += 2) {
        Encipher(l, r);
        P_[i] = l;
        P_[i + 1] = r;
    }
    for (auto& box : S_)
        for (size_t i = 0; i < box.size(); i += 2) {
            Encipher(l, r);
            box[i] = l;
            box[i + 1] = r;
        }
}

TBlowFish::~TBlowFish()
{
    explicit_bzero(P_.data(), sizeof(P_));
    explicit_bzero(S_.data(), sizeof(S_));
    if (!key_.isEmpty())
        explicit_bzero(key_.data(), static_cast<size_t>(key_.size()));
}

uint32_t TBlowFish::F(uint32_t x) const
{
    return ((S_[0][x & 0xFF] + S_[1][x >> 8 & 0xFF]) ^ S_[2][x >> 16 & 0xFF]) + S_[3][x >> 24];
}

void TBlowFish::Encipher(uint32_t& l, uint32_t& r) const
{
    for (int i = 0; i < 16; ++i) {
        l ^= P_[i];
        r ^= F(l);
        std::swap(l, r);
    }
    std::swap(l, r);
    r ^= P_[16];
    l ^= P_[17];
}

void TBlowFish::Decipher(uint32_t& l, uint32_t& r) const
{
    for (int i = 17; i > 1; --i) {
        l ^= P_[i];
        r ^= F(l);
        std::swap(l, r);
    }
    std::swap(l, r);
    r ^= P_[1];
    l ^= P_[0];
}

void TBlowFish::EncryptBlock(uint8_t block[8]) const
{
    uint32_t l = LoadLE(block), r = LoadLE(block + 4);
    Encipher(l, r);
    StoreLE(block, l);
    StoreLE(block + 4, r);
}

void TBlowFish::DecryptBlock(uint8_t block[8]) const
{
    uint32_t l = LoadLE(block), r = LoadLE(block + 4);
    Decipher(l, r);
    StoreLE(block, l);
    StoreLE(block + 4, r);
}

QString TBlowFish::EncodeText(const QString& plain) const
{
    if (plain.isEmpty())
        return {};
    const QByteArray bytes = ToCp1250(plain);
    QByteArray framed = QByteArray::number(bytes.size()) + '|' + bytes;
    if (framed.size() % kBlock != 0)
        framed += QByteArrayView("12345678").first(kBlock - framed.size() % kBlock);
    auto* data = reinterpret_cast<uint8_t*>(framed.data());
    for (qsizetype i = 0; i < framed.size(); i += kBlock)
        EncryptBlock(data + i);
    return QString::fromLatin1(framed.toHex().toUpper());
}

QString TBlowFish::DecodeText(const QString& text) const
{
    if (text.isEmpty())
        return {};
    // A non-Latin-1 character becomes "?", which the hexadecimal check rejects.
    QByteArray bytes = HexToBytes(text.toLatin1());
    auto* data = reinterpret_cast<uint8_t*>(bytes.data());
    for (qsizetype i = 0; i < bytes.size(); i += kBlock)
        DecryptBlock(data + i);
    const qsizetype bar = bytes.indexOf('|');
    if (bar < 0)
        throw EInvalidData();
    const qsizetype n = FrameLength(bytes.left(bar));
    return n <= 0 ? QString() : FromCp1250(bytes.mid(bar + 1, n));
}
