#include "core/blowfish.h"

#include "tests/support/testsupport.h"

#include <gtest/gtest.h>

// Expected values come from tests/core/blowfish_reference.py, an independent re-implementation
// that derives its tables from the digits of pi and checks them against the standard
// cipher's published vectors.

namespace {

QString Hex(const uint8_t* block)
{
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(block), 8).toHex().toUpper());
}

} // namespace

TEST(TBlowFish, BlockKnownAnswers)
{
    const struct {
        const char* key;
        const char* cipher;
    } cases[] = { { kLabKey, "BA82FC9B1D217E9E" }, { kConfigKey, "DA88AE2DF57AC448" },
        { kLoginKey, "726EB68CA3311FB7" }, { "abcd", "836F16DB6731BDC5" } };
    for (const auto& c : cases) {
        const TBlowFish bf { QByteArrayView(c.key) };
        uint8_t block[8] = { 0, 1, 2, 3, 4, 5, 6, 7 };
        bf.EncryptBlock(block);
        EXPECT_EQ(Hex(block), c.cipher) << c.key;
        bf.DecryptBlock(block);
        EXPECT_EQ(Hex(block), "0001020304050607") << c.key;
    }
}

TEST(TBlowFish, EncodeTextKnownAnswers)
{
    const struct {
        const char* key;
        const char16_t* plain;
        const char* hex;
    } cases[] = {
        { kLabKey, u"a", "7A952B24B5AA16B1" },
        { kLabKey, u"abcdef", "6F53FE6F92FEC9D3" }, // "6|abcdef" fills one block exactly
        { kLabKey, u"abcdefg", "D5C2F6EB36A11C734466D286CB540CDC" }, // padded with "1234567"
        { kLabKey, u"pass|word", "AA752D3AE5A7EFC147D8F134162E71A2" },
        { kLabKey, u"zażółć gęślą jaźń", "EBC2427A64803E12F3D8083D22F3D0416A12FA6E4E2DC5B1" },
        { kConfigKey, u"a", "629CE7F3336294BD" },
        { kConfigKey, u"pass|word", "D5E2A4A7040C4980AC9106D507A3FD05" },
        { kConfigKey, u"zażółć gęślą jaźń", "8A193C6A2C44C7DDE4EA2057C17B4FBA00303ADE61565E95" },
        { kLoginKey, u"abcdefg", "8EF0B85EF588BAC37ACB9EC31B922DCA" },
        { kLoginKey, u"zażółć gęślą jaźń", "079910EBC9BE3B017651396F5A6DAFBCE4B284F97569B096" },
    };
    for (const auto& c : cases) {
        const TBlowFish bf { QByteArrayView(c.key) };
        const QString plain = QString::fromUtf16(c.plain);
        EXPECT_EQ(bf.EncodeText(plain), c.hex) << c.key << " " << plain.toStdString();
        EXPECT_EQ(bf.DecodeText(QString::fromLatin1(c.hex).toLower()), plain);
    }
    const QString hundred(100, u'x');
    EXPECT_EQ(TBlowFish(QByteArrayView(kConfigKey)).EncodeText(hundred),
        "2AA4CF5E18CE0DBC" + QString("A9A0697E5456C17E").repeated(12)); // "100|xxxx" + 12 x "xxxxxxxx"
}

TEST(TBlowFish, RoundTripsEveryLength)
{
    const QString alphabet = QStringLiteral(u"ąĘ|ż ó9Ł|");
    for (const char* key : { kLabKey, kConfigKey, kLoginKey }) {
        const TBlowFish bf { QByteArrayView(key) };
        for (int length = 0; length <= 100; ++length) {
            QString plain;
            for (int i = 0; i < length; ++i)
                plain += alphabet[(i * 7 + length) % alphabet.size()];
            const QString hex = bf.EncodeText(plain);
            EXPECT_EQ(hex.size() % 16, 0);
            EXPECT_EQ(bf.DecodeText(hex), plain) << length;
        }
    }
    EXPECT_EQ(TBlowFish(QByteArrayView(kLabKey)).EncodeText(""), "");
    EXPECT_EQ(TBlowFish(QByteArrayView(kLabKey)).DecodeText(""), "");
}

TEST(TBlowFish, KeyLengthLimits)
{
    for (const char* key : { "abc", "123456789012345678901234567890123456789012345678901234567" }) {
        try {
            TBlowFish bf { QByteArrayView(key) };
            FAIL() << key;
        } catch (const EInvalidKey& e) {
            EXPECT_STREQ(e.what(), "Invalid key length");
        }
    }
    EXPECT_NO_THROW(TBlowFish(QByteArrayView("12345678901234567890123456789012345678901234567890123456")));
}

TEST(TBlowFish, DamagedTextRaisesInvalidData)
{
    const TBlowFish bf { QByteArrayView(kConfigKey) };
    const QString good = bf.EncodeText("secret");
    const QString cases[] = {
        good.left(15), // odd length
        good.left(14), // not whole blocks
        good.left(15) + "G", // not hexadecimal
        good.left(15) + QChar(0x105), // not even Latin-1
        "0000000000000000", // deciphers to bytes without "|"
    };
    for (const QString& text : cases) {
        try {
            bf.DecodeText(text);
            FAIL() << text.toStdString();
        } catch (const EInvalidData& e) {
            EXPECT_STREQ(e.what(), "Data type mismatch or data demaged");
        }
    }
    // A ciphertext from another key deciphers to garbage: rejected, never returned as text.
    EXPECT_THROW(
        TBlowFish(QByteArrayView(kLabKey)).DecodeText(TBlowFish(QByteArrayView(kLoginKey)).EncodeText("abcdefgh")),
        EInvalidData);
}
