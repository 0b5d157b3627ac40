// The paged list from the keyboard: every key that moves the selection or turns the page, and
// Enter, which chooses the selected item where the window takes a double click and otherwise
// goes on to the window.
#include "ui/pagelistbox.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Counts the keys that the list passes on to its window.
class TWindow : public QWidget {
public:
    QList<int> passedOn;

protected:
    void keyPressEvent(QKeyEvent* event) override { passedOn << event->key(); }
};

class PageListKeys : public testing::Test {
protected:
    void SetUp() override
    {
        list_->resize(200, 169); // 8 rows a page
        QStringList items;
        for (int i = 0; i < 20; ++i)
            items << QStringLiteral("pozycja %1").arg(i);
        list_->SetItems(items);
    }
    TWindow window_;
    TPageListBox* list_ = new TPageListBox(&window_);
};

struct TKeyCase {
    const char* name;
    int from; // the selected item, -1 for none
    int page; // the page shown before the key
    Qt::Key key;
    int index; // after the key
    int shownPage;
};

const TKeyCase kKeyCases[] = {
    { "DownMovesWithinThePage", 3, 0, Qt::Key_Down, 4, 0 },
    { "DownOnAPagesLastItemWrapsToItsFirst", 7, 0, Qt::Key_Down, 0, 0 },
    { "UpOnAPagesFirstItemWrapsToItsLast", 8, 1, Qt::Key_Up, 15, 1 },
    { "DownWithoutSelectionTakesThePagesFirst", -1, 1, Qt::Key_Down, 8, 1 },
    { "RightTurnsThePageOnly", 3, 0, Qt::Key_Right, 3, 1 },
    { "LeftTurnsBack", 10, 1, Qt::Key_Left, 10, 0 },
    { "PageDownKeepsTheRow", 3, 0, Qt::Key_PageDown, 11, 1 },
    { "PageDownOnTheLastPageGoesToTheEnd", 17, 2, Qt::Key_PageDown, 19, 2 },
    { "PageUpKeepsTheRow", 11, 1, Qt::Key_PageUp, 3, 0 },
    { "PageUpOnTheFirstPageGoesToTheTop", 5, 0, Qt::Key_PageUp, 0, 0 },
    { "PageDownWithoutSelectionTakesTheNextPagesTop", -1, 0, Qt::Key_PageDown, 8, 1 },
    { "HomeGoesToTheFirstItem", 17, 2, Qt::Key_Home, 0, 0 },
    { "EndGoesToTheLastItem", 2, 0, Qt::Key_End, 19, 2 },
    { "EndWithoutSelection", -1, 0, Qt::Key_End, 19, 2 },
};

class PageListKey : public PageListKeys, public testing::WithParamInterface<TKeyCase> { };

TEST_P(PageListKey, MovesTheSelectionAndShowsItsPage)
{
    const TKeyCase& c = GetParam();
    list_->SetItemIndex(c.from);
    list_->SetCurrentPage(c.page);
    QSignalSpy changed(list_, &TPageListBox::OnIndexChanged);
    QTest::keyClick(list_, c.key);
    EXPECT_EQ(list_->ItemIndex(), c.index);
    EXPECT_EQ(list_->CurrentPage(), c.shownPage);
    EXPECT_EQ(changed.count(), c.from == c.index ? 0 : 1);
    EXPECT_TRUE(window_.passedOn.isEmpty()) << "a key that moved something stays with the list";
}

INSTANTIATE_TEST_SUITE_P(Keys, PageListKey, testing::ValuesIn(kKeyCases),
    [](const testing::TestParamInfo<TKeyCase>& info) { return std::string(info.param.name); });

TEST_F(PageListKeys, KeysThatChangeNothingGoOnToTheWindow)
{
    list_->SetItemIndex(0);
    for (const Qt::Key key : { Qt::Key_Home, Qt::Key_PageUp, Qt::Key_Left, Qt::Key_Escape })
        QTest::keyClick(list_, key);
    list_->SetItemIndex(19);
    for (const Qt::Key key : { Qt::Key_End, Qt::Key_PageDown, Qt::Key_Right })
        QTest::keyClick(list_, key);
    EXPECT_EQ(window_.passedOn,
        (QList<int> { Qt::Key_Home, Qt::Key_PageUp, Qt::Key_Left, Qt::Key_Escape, Qt::Key_End, Qt::Key_PageDown,
            Qt::Key_Right }));
    EXPECT_EQ(list_->ItemIndex(), 19);

    list_->Clear();
    for (const Qt::Key key : { Qt::Key_Home, Qt::Key_End, Qt::Key_PageDown, Qt::Key_Down })
        QTest::keyClick(list_, key);
    EXPECT_EQ(list_->ItemIndex(), -1);
}

TEST_F(PageListKeys, EnterIsADoubleClickWhereTheWindowTakesOne)
{
    list_->SetItemIndex(4);
    QTest::keyClick(list_, Qt::Key_Return);
    EXPECT_EQ(window_.passedOn, QList<int> { Qt::Key_Return }) << "without a double-click action: the window's";

    QSignalSpy chosen(list_, &TPageListBox::OnDblClick);
    window_.passedOn.clear();
    QTest::keyClick(list_, Qt::Key_Return);
    QTest::keyClick(list_, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(chosen.count(), 2);
    EXPECT_TRUE(window_.passedOn.isEmpty());
    EXPECT_EQ(list_->ItemIndex(), 4);
}

TEST_F(PageListKeys, ThePageFollowsTheKeysAcrossALongList)
{
    // From the top to the end by pages and back by Home: every page is shown on the way.
    QList<int> pages;
    list_->SetItemIndex(0);
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(list_, Qt::Key_PageDown);
        pages << list_->CurrentPage();
    }
    EXPECT_EQ(pages, (QList<int> { 1, 2, 2 }));
    EXPECT_EQ(list_->ItemIndex(), 19);
    QTest::keyClick(list_, Qt::Key_Home);
    EXPECT_EQ(list_->CurrentPage(), 0);
}

} // namespace
