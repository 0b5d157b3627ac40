// The status bar's texts, the enabled actions and the text lines under a thumbnail.
#include "tests/project/projectfixture.h"

#include "project/celltexts.h"
#include "project/mainstatus.h"
#include "project/selection.h"

#include <QLocale>

#include <gtest/gtest.h>

namespace {

class MainStatusTest : public ::testing::Test {
protected:
    TProjectFixture f;
    TVDImage& project = *f.project;

    void AddPhotos(int count)
    {
        for (int i = 0; i < count; ++i)
            ASSERT_TRUE(project.AddPhoto(f.WritePhoto(QStringLiteral("IMG_%1.JPG").arg(i), 600, 400)));
    }
    TMainStatus Status() { return ComputeMainStatus(project, f.formats, f.engine); }
};

TEST_F(MainStatusTest, EmptyProject)
{
    const TMainStatus s = Status();
    EXPECT_EQ(s.count, QStringLiteral("0(0)"));
    EXPECT_EQ(s.photo, QString());
    EXPECT_EQ(s.size, QString());
    EXPECT_EQ(s.format, QStringLiteral("Brak."));
    EXPECT_EQ(s.price, QStringLiteral("0.00 zł (~ 0.00 zł)"));
    EXPECT_FALSE(s.sendOrder || s.deleteSelected || s.anyPhoto || s.focused || s.selectAll || s.selectNone);
}

TEST_F(MainStatusTest, FocusedPhotoAndPrices)
{
    AddPhotos(2);
    project.SetFormat(1, kFormat10x15);
    project.Photo(1).quantity = 3;
    project.focus = 1;
    f.engine.min_price = 500;
    f.engine.open_price = 250;
    f.engine.delivery_pricepre = 1000;
    f.engine.delivery_price = 700;

    const TMainStatus s = Status();
    EXPECT_EQ(s.count, QStringLiteral("2(4)"));
    EXPECT_EQ(s.photo, QStringLiteral("IMG_1.JPG"));
    EXPECT_EQ(s.size, QStringLiteral("600 x 400 px, 5.1 x 3.4 cm"));
    EXPECT_EQ(s.format, QStringLiteral("10x15 - 0.50 zł"));
    EXPECT_EQ(s.price, QStringLiteral("1.50 zł (~ 14.00 zł)")); // 1.50 + 2.50 opening + 10.00 delivery
    EXPECT_TRUE(project.openingChargeApplied);
    EXPECT_TRUE(s.sendOrder && s.anyPhoto && s.focused && s.selectAll);
    EXPECT_FALSE(s.deleteSelected || s.selectNone);
}

TEST_F(MainStatusTest, PolishSeparator)
{
    AddPhotos(1);
    project.SetFormat(0, kFormat13x18);
    project.focus = 0;
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    const TMainStatus s = Status();
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(s.format, QStringLiteral("13x18 - 1,20 zł"));
    EXPECT_EQ(s.size, QStringLiteral("600 x 400 px, 5,1 x 3,4 cm"));
}

TEST_F(MainStatusTest, SelectionEnablesActions)
{
    AddPhotos(3);
    ClickPhoto(project, 1, false);
    TMainStatus s = Status();
    EXPECT_TRUE(s.deleteSelected && s.selectAll && s.selectNone && s.focused);

    ClickPhoto(project, 1, true); // Ctrl+click on the only selected photo
    s = Status();
    EXPECT_EQ(project.SelectedCount(), 0);
    EXPECT_EQ(project.focus, 1);
    EXPECT_FALSE(s.selectNone || s.deleteSelected);
    EXPECT_TRUE(s.focused);

    SelectAll(project);
    s = Status();
    EXPECT_FALSE(s.selectAll);
    EXPECT_TRUE(s.selectNone);

    project.Photo(0).quantity = 0; // no prints at all
    project.Photo(1).quantity = 0;
    project.Photo(2).quantity = 0;
    EXPECT_FALSE(Status().sendOrder);
}

TEST_F(MainStatusTest, CellTextsInOrderWhenEnabled)
{
    AddPhotos(1);
    f.config.thumbresolution = f.config.thumbsize = f.config.thumbname = f.config.thumbprice = true;
    QStringList lines = CellTexts(project, 0, f.config, f.formats);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], QStringLiteral("600x400"));
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral(" Kb"))) << lines[1].toStdString();
    EXPECT_EQ(lines[2], QStringLiteral("IMG_0.JPG"));
    EXPECT_EQ(lines[3], QStringLiteral("1 * 0.00 = 0.00 zł"));

    project.SetFormat(0, kFormat13x18);
    project.Photo(0).quantity = 3;
    project.Photo(0).name = QStringLiteral("/x/wakacje");
    f.config.thumbresolution = f.config.thumbsize = false;
    lines = CellTexts(project, 0, f.config, f.formats);
    EXPECT_EQ(lines, (QStringList { QStringLiteral("wakacje"), QStringLiteral("3 * 1.20 = 3.60 zł") }));

    f.config.thumbname = f.config.thumbprice = false;
    EXPECT_TRUE(CellTexts(project, 0, f.config, f.formats).isEmpty());
}

} // namespace
