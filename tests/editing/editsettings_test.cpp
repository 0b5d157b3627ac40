// The colour-correction window's settings: which control belongs to which field, ranges and
// the edit boxes' reading of text.
#include "editing/editsettings.h"

#include <gtest/gtest.h>

TEST(EditSettings, EachSettingEditsItsOwnFieldWithinItsRange)
{
    const struct {
        const char* control;
        std::int32_t Corrections::*field;
        int min, max;
    } cases[] = {
        { "inten_tb", &Corrections::inten, -100, 100 },
        { "contr_edit", &Corrections::contr, -100, 100 },
        { "balr_plus", &Corrections::balr, -100, 100 },
        { "balg_minus", &Corrections::balg, -100, 100 },
        { "balb_zero", &Corrections::balb, -100, 100 },
        { "sat_tb", &Corrections::sat, -100, 100 },
        { "hue1_tb", &Corrections::hue1, -180, 180 },
        { "hue2_edit", &Corrections::hue2, -100, 100 },
        { "hue3_tb", &Corrections::hue3, -100, 100 },
    };
    for (const auto& c : cases) {
        const int setting = EditSettingOfControl(QLatin1String(c.control));
        ASSERT_GE(setting, 0) << c.control;
        Corrections record;
        InitCorrections(record);
        SetSettingValue(record, setting, 37);
        EXPECT_EQ(record.*c.field, 37) << c.control;
        EXPECT_EQ(SettingValue(record, setting), 37);
        EXPECT_EQ(LimitSetting(setting, 1000), c.max);
        EXPECT_EQ(LimitSetting(setting, -1000), c.min);
        record.*c.field = 0;
        EXPECT_TRUE(HasNoColourChange(record)) << c.control << " wrote another field";
    }
    EXPECT_EQ(EditSettingOfControl(QStringLiteral("bok")), -1);
    EXPECT_EQ(EditSettingOfControl(QStringLiteral("hue_tb")), -1);
}

TEST(EditSettings, EditBoxTextThatIsNoWholeNumberCountsAsTheMaximum)
{
    EXPECT_EQ(SettingTextValue(QStringLiteral("150")), 150);
    EXPECT_EQ(SettingTextValue(QStringLiteral("-42")), -42);
    for (const char* text : { "abc", "", "1.5", "12x", "99999999999" })
        EXPECT_EQ(SettingTextValue(QLatin1String(text)), kNotANumber) << text;
    EXPECT_EQ(
        LimitSetting(EditSettingOfControl(QStringLiteral("inten_edit")), SettingTextValue(QStringLiteral("abc"))), 100);
}

TEST(EditSettings, ResetAndStoredSetsKeepTheGeometry)
{
    Corrections photo;
    InitCorrections(photo);
    photo.rotation = 3;
    photo.crop = { 0.1f, 0.1f, 0.5f, 0.5f, 0.6f, 0.6f };
    photo.inten = 20;
    photo.sepia = 1;
    photo.blackWhite = 1;
    Corrections reset = photo;
    ResetColourSettings(reset);
    EXPECT_TRUE(HasNoColourChange(reset));
    EXPECT_EQ(reset.rotation, 3);
    EXPECT_EQ(reset.crop.right, 0.6f);

    Corrections stored;
    InitCorrections(stored);
    stored.rotation = 1;
    stored.hue1 = 90;
    const Corrections applied = WithGeometryOf(stored, photo);
    EXPECT_EQ(applied.hue1, 90);
    EXPECT_EQ(applied.inten, 0);
    EXPECT_EQ(applied.rotation, 3);
    EXPECT_EQ(applied.crop.left, 0.1f);
}
