#include "platform/cp1250.h"

#include <gtest/gtest.h>

TEST(Cp1250, EveryByteRoundTrips)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    const QString text = FromCp1250(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(ToCp1250(text), all);
}

TEST(Cp1250, PolishLettersAndUnmappable)
{
    const QString polish = QStringLiteral(u"ąćęłńóśźżĄĆĘŁŃÓŚŹŻ");
    EXPECT_EQ(ToCp1250(polish), QByteArray("\xB9\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF\xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F\xAF"));
    EXPECT_EQ(FromCp1250(ToCp1250(polish)), polish);
    // Characters outside the code page, including one outside the basic plane, become one "?" each.
    EXPECT_EQ(ToCp1250(QStringLiteral(u"a\u4E2Db\U0001F600c")), QByteArray("a?b?c"));
}
