#include "core/typedlists.h"
#include "ui/pagelistbox.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QStringList Numbered(int count)
{
    QStringList items;
    for (int i = 0; i < count; ++i)
        items << QStringLiteral("pozycja %1").arg(i);
    return items;
}

class PageList : public testing::Test {
protected:
    void SetUp() override
    {
        list_.resize(200, 169);
        list_.SetItems(Numbered(20));
    }
    QStringList LabelTexts() const
    {
        auto labels = list_.PageLabels();
        std::sort(
            labels.begin(), labels.end(), [](const auto& a, const auto& b) { return a.geometry.x() < b.geometry.x(); });
        QStringList texts;
        for (const auto& label : labels)
            texts << (label.current ? u'[' + label.text + u']' : label.text);
        return texts;
    }
    void Key(Qt::Key key) { QTest::keyClick(&list_, key); }

    TPageListBox list_;
};

} // namespace

TEST_F(PageList, EightRowsThreePagesAndTheSecondPageForItemEight)
{
    EXPECT_EQ(list_.RowsPerPage(), 8);
    EXPECT_EQ(list_.PageCount(), 3);
    EXPECT_EQ(list_.ItemIndex(), -1);
    EXPECT_EQ(LabelTexts(), (QStringList { "[ 1 ]", " 2 ", " 3 ", " > " }));
    QSignalSpy changed(&list_, &TPageListBox::OnIndexChanged);
    list_.SetItemIndex(8);
    EXPECT_EQ(list_.CurrentPage(), 1);
    EXPECT_EQ(LabelTexts(), (QStringList { " < ", " 1 ", "[ 2 ]", " 3 ", " > " }));
    list_.SetItemIndex(8);
    EXPECT_EQ(changed.count(), 1);
    for (const auto& label : list_.PageLabels())
        EXPECT_LE(label.geometry.height(), list_.PAHeight());
}

TEST_F(PageList, ItemIndexBounds)
{
    list_.SetItemIndex(19);
    EXPECT_EQ(list_.CurrentPage(), 2);
    try {
        list_.SetItemIndex(20);
        FAIL() << "no error past the last item";
    } catch (const EListError& error) {
        EXPECT_STREQ(error.what(), "PageListBox itemindex out of Bounds !");
    }
    EXPECT_EQ(list_.ItemIndex(), 19);
    list_.SetItemIndex(-5);
    EXPECT_EQ(list_.ItemIndex(), -1);
    EXPECT_EQ(list_.CurrentPage(), 0);
}

TEST_F(PageList, KeysMoveWithinThePageAndTurnPages)
{
    list_.SetItemIndex(15); // last item of the second page
    Key(Qt::Key_Down);
    EXPECT_EQ(list_.ItemIndex(), 8);
    Key(Qt::Key_Up);
    EXPECT_EQ(list_.ItemIndex(), 15);
    Key(Qt::Key_Up);
    EXPECT_EQ(list_.ItemIndex(), 14);
    Key(Qt::Key_Right);
    EXPECT_EQ(list_.CurrentPage(), 2);
    EXPECT_EQ(list_.ItemIndex(), 14);
    Key(Qt::Key_Up); // selection not on this page: the page's last item (19)
    EXPECT_EQ(list_.ItemIndex(), 19);
    Key(Qt::Key_Down); // the next would be past the list: the page's first
    EXPECT_EQ(list_.ItemIndex(), 16);
    Key(Qt::Key_Right); // no next page
    EXPECT_EQ(list_.CurrentPage(), 2);
    Key(Qt::Key_Left);
    Key(Qt::Key_Left);
    Key(Qt::Key_Left);
    EXPECT_EQ(list_.CurrentPage(), 0);
}

TEST_F(PageList, ClicksSelectRowsAndPageLabelsTurnPages)
{
    list_.SetCurrentPage(1);
    QSignalSpy clicks(&list_, &TPageListBox::OnClick);
    // rows start inside the outline and the edge, 18 pixels each
    QTest::mouseClick(&list_, Qt::LeftButton, {}, QPoint(50, 2 + 2 * 18 + 17));
    EXPECT_EQ(list_.ItemIndex(), 8 + 2);
    EXPECT_EQ(clicks.count(), 1);
    QTest::mouseClick(&list_, Qt::LeftButton, {}, QPoint(40, 160)); // page bar, between labels
    EXPECT_EQ(list_.ItemIndex(), 10);
    for (const auto& label : list_.PageLabels()) {
        if (label.text == QStringLiteral(" 3 ")) {
            QWidget* child = list_.childAt(label.geometry.center());
            ASSERT_NE(child, nullptr);
            QTest::mouseClick(child, Qt::LeftButton);
        }
    }
    EXPECT_EQ(list_.CurrentPage(), 2);
    EXPECT_EQ(list_.ItemIndex(), 10);
}

TEST_F(PageList, ShrinkingTheItemsClampsSelectionAndPage)
{
    list_.SetItemIndex(19);
    list_.SetItems(Numbered(5));
    EXPECT_EQ(list_.ItemIndex(), 4);
    EXPECT_EQ(list_.CurrentPage(), 0);
    list_.Clear();
    EXPECT_EQ(list_.ItemIndex(), -1);
    EXPECT_EQ(list_.PageCount(), 0);
    EXPECT_TRUE(list_.PageLabels().empty());
}

TEST_F(PageList, SelectedRowPageBarAndLine)
{
    list_.SetGradient(false);
    list_.SetColor(QColor(250, 250, 250));
    list_.SetSelectedColor(QColor(0, 0, 200));
    list_.SetFrameColor(QColor(1, 1, 1));
    list_.SetPAColor(QColor(220, 230, 240));
    list_.SetItemIndex(1);
    const QImage image = list_.grab().toImage();
    EXPECT_EQ(image.pixelColor(2, 20), QColor(1, 1, 1)); // outline of the selected row (y 20..37)
    EXPECT_EQ(image.pixelColor(190, 28), QColor(0, 0, 200));
    EXPECT_EQ(image.pixelColor(190, 10), QColor(250, 250, 250));
    EXPECT_EQ(image.pixelColor(190, 148), QColor(1, 1, 1)); // line above the page bar (bar: 149..166)
    EXPECT_EQ(image.pixelColor(190, 150), QColor(220, 230, 240));
}
