// What the customer types: quantities and new names.
#include "project/projectinput.h"

#include <gtest/gtest.h>

namespace {

TEST(ProjectInputTest, Quantities)
{
    const struct {
        const char* text;
        TQuantityInput result;
        int quantity;
    } cases[] = { { "0", TQuantityInput::Zero, 0 }, { "100", TQuantityInput::Invalid, 100 },
        { "-5", TQuantityInput::Invalid, -5 }, { "abc", TQuantityInput::Invalid, -1 },
        { "", TQuantityInput::Invalid, -1 }, { "99", TQuantityInput::Valid, 99 }, { "1", TQuantityInput::Valid, 1 },
        { " 7 ", TQuantityInput::Valid, 7 }, { "2.5", TQuantityInput::Invalid, -1 },
        { "99999999999", TQuantityInput::Invalid, -1 } };
    for (const auto& c : cases) {
        int quantity = 12345;
        EXPECT_EQ(ParseQuantity(QString::fromLatin1(c.text), quantity), c.result) << c.text;
        EXPECT_EQ(quantity, c.quantity) << c.text;
    }
}

TEST(ProjectInputTest, RenameKeepsTheFolder)
{
    EXPECT_EQ(RenamedName(QStringLiteral("/home/ala/zdjęcia/IMG_1.JPG"), QStringLiteral("  wakacje  ")),
        QStringLiteral("/home/ala/zdjęcia/wakacje"));
    EXPECT_EQ(RenamedName(QStringLiteral("/IMG_1.JPG"), QStringLiteral("a.jpg")), QStringLiteral("/a.jpg"));
    EXPECT_TRUE(RenamedName(QStringLiteral("/x/IMG_1.JPG"), QStringLiteral(" \t ")).isEmpty());
}

} // namespace
