#include "skin/pagebar.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Every character 6 pixels wide.
int FixedWidth(const QString& text)
{
    return int(text.size()) * 6;
}

QStringList Texts(const std::vector<TPageBarLabel>& labels)
{
    std::vector<TPageBarLabel> sorted = labels;
    std::sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) { return a.left < b.left; });
    QStringList texts;
    for (const TPageBarLabel& label : sorted)
        texts << (label.current ? QStringLiteral("[%1]").arg(label.text.trimmed()) : label.text.trimmed());
    return texts;
}

} // namespace

TEST(PageBar, RowsAndPages)
{
    EXPECT_EQ(RowsPerPage(169 - 4 - 18, 18), 8);
    EXPECT_EQ(PageCount(20, 8), 3);
    EXPECT_EQ(PageCount(16, 8), 2);
    EXPECT_EQ(PageCount(0, 8), 0);
    EXPECT_EQ(RowsPerPage(10, 18), 1); // never 0, so paging never divides by zero
    EXPECT_EQ(RowsPerPage(100, 0), 100);
}

TEST(PageBar, LabelsForEachPosition)
{
    struct Case {
        int pages;
        int current;
        int width;
        QStringList expected;
    };
    const Case cases[] = {
        { 0, 0, 196, {} },
        { 1, 0, 196, { "[1]" } },
        { 3, 0, 196, { "[1]", "2", "3", ">" } },
        { 3, 1, 196, { "<", "1", "[2]", "3", ">" } },
        { 3, 2, 196, { "<", "1", "2", "[3]" } },
        // two-digit labels are 24 pixels wide: where the next one would not fit, the last
        // one placed reads "..."
        { 25, 12, 196, { "<", "...", "12", "[13]", "14", "...", ">" } },
        { 25, 0, 100, { "[1]", "...", ">" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected.join(u' ').toStdString());
        const auto labels = LayoutPageBar(c.pages, c.current, c.width, FixedWidth);
        EXPECT_EQ(Texts(labels), c.expected);
        for (const TPageBarLabel& label : labels) {
            EXPECT_GE(label.left, 0);
            EXPECT_LE(label.left + label.width, c.width);
        }
    }
}

TEST(PageBar, EllipsisKeepsItsPageAndArrowsLeadToTheEnds)
{
    const auto labels = LayoutPageBar(25, 12, 196, FixedWidth);
    for (const TPageBarLabel& label : labels) {
        if (label.text == QStringLiteral(" < ")) {
            EXPECT_EQ(label.page, 0);
        }
        if (label.text == QStringLiteral(" > ")) {
            EXPECT_EQ(label.page, 24);
        }
        if (label.current) {
            EXPECT_EQ(label.left, (196 - 24) / 2);
        }
    }
    std::vector<int> ellipsisPages;
    for (const TPageBarLabel& label : labels) {
        if (label.text == QStringLiteral("..."))
            ellipsisPages.push_back(label.page);
    }
    std::sort(ellipsisPages.begin(), ellipsisPages.end());
    EXPECT_EQ(ellipsisPages, (std::vector<int> { 10, 14 }));
}
