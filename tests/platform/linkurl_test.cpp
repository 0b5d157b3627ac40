// Links as labs write them: web addresses with or without a scheme, "mailto:" addresses, and
// what the customer copies when a link cannot be opened.
#include "platform/linkurl.h"

#include <gtest/gtest.h>

namespace {

TEST(LinkUrl, WebAddressesWithoutASchemeAreWebAddresses)
{
    const struct {
        const char* address;
        const char* url;
        const char* copied;
    } cases[] = {
        { "www.lab.pl", "http://www.lab.pl", "http://www.lab.pl" },
        { " www.lab.pl ", "http://www.lab.pl", "http://www.lab.pl" },
        { "lab.pl/zlecenie.php?id=DL1&sign=ab", "http://lab.pl/zlecenie.php?id=DL1&sign=ab",
            "http://lab.pl/zlecenie.php?id=DL1&sign=ab" },
        { "www.lab.pl:8080/a", "http://www.lab.pl:8080/a", "http://www.lab.pl:8080/a" },
        { "https://lab.pl/nowy", "https://lab.pl/nowy", "https://lab.pl/nowy" },
        { "mailto:biuro@lab.pl", "mailto:biuro@lab.pl", "biuro@lab.pl" },
        { "MAILTO:biuro@lab.pl", "mailto:biuro@lab.pl", "biuro@lab.pl" },
    };
    for (const auto& c : cases) {
        const QUrl url = LinkUrl(QString::fromUtf8(c.address));
        EXPECT_TRUE(url.isValid()) << c.address;
        EXPECT_FALSE(url.isRelative()) << c.address;
        EXPECT_EQ(url, QUrl(QString::fromUtf8(c.url))) << c.address;
        EXPECT_EQ(LinkCopyText(url), QString::fromUtf8(c.copied)) << c.address;
    }
    EXPECT_FALSE(LinkUrl("").isValid());
    EXPECT_FALSE(LinkUrl("   ").isValid());
}

} // namespace
