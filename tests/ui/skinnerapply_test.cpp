#include "skin/skinbuilder.h"
#include "skin/skinner.h"
#include "tests/support/testsupport.h"
#include "ui/colorframe.h"
#include "ui/gradientbutton.h"
#include "ui/gradientprogressbar.h"
#include "ui/hotlabel.h"
#include "ui/image.h"
#include "ui/line.h"
#include "ui/mcheckbox.h"
#include "ui/mousedpanel.h"
#include "ui/nicecheckbox.h"
#include "ui/pagelistbox.h"
#include "ui/statuslabel.h"

#include <QLabel>
#include <QLineEdit>

#include <gtest/gtest.h>

namespace {

// A skin whose ten colours are all different, with icons "bok" and "bempty" (an empty
// picture) and the image "iquestion".
class Dressing : public testing::Test {
protected:
    void SetUp() override
    {
        TSkinSource source;
        source.schemeName = QStringLiteral("test");
        for (size_t i = 0; i < kSkinColorNames.size(); ++i)
            source.colorLines << QStringLiteral("%1=%2,%3,%4")
                                     .arg(QLatin1String(kSkinColorNames[i]))
                                     .arg(i + 1)
                                     .arg(i + 11)
                                     .arg(i + 21);
        source.iconsTransparent = true;
        QImage icon(3, 3, QImage::Format_RGB32);
        icon.fill(QColor(9, 8, 7));
        source.icons.emplace_back(QStringLiteral("bok"), TFFBitmap::FromImage(icon));
        source.icons.emplace_back(QStringLiteral("bempty"), TFFBitmap());
        source.images.emplace_back(QStringLiteral("iquestion"), TFFBitmap::FromImage(icon.scaled(5, 5)));
        QString error;
        const QString path = dir_.Path(QStringLiteral("test.vdskin"));
        ASSERT_TRUE(WriteSkinFile(path, source, error)) << error.toStdString();
        ASSERT_TRUE(skinner_.LoadFromFile(path));
    }
    QColor Named(const char* name) const { return skinner_.GetColor(QLatin1String(name)); }

    ScopedAppDir dir_;
    TSkinner skinner_;
};

template <typename T> T* Make(QWidget* parent, const char* name)
{
    auto* widget = new T(parent);
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

TEST_F(Dressing, ApplyToFormDressesEveryControlByItsClass)
{
    QWidget form;
    auto* panel = Make<TMousedPanel>(&form, "MousedPanel1");
    auto* inner = Make<TMousedPanel>(panel, "MousedPanel2");
    auto* ok = Make<TGradientButton>(inner, "bOK");
    auto* keeps = Make<TGradientButton>(panel, "bempty");
    QImage ownGlyph(2, 2, QImage::Format_RGB32);
    ownGlyph.fill(Qt::red);
    keeps->SetGlyph(ownGlyph);
    auto* check = Make<TNiceCheckBox>(&form, "cbflag");
    auto* line = Make<TLine>(&form, "Line1");
    auto* image = Make<TImage>(&form, "IQuestion");
    auto* label = Make<QLabel>(&form, "Label1");
    auto* hotLabel = Make<THotLabel>(&form, "hlwww");
    auto* status = Make<TStatusLabel>(&form, "slprice");
    auto* frame = Make<TColorFrame>(&form, "cf1");
    auto* edit = Make<QLineEdit>(&form, "ename");
    auto* list = Make<TPageListBox>(&form, "lbformats");
    auto* bar = Make<TGradientProgressBar>(&form, "pb");
    auto* other = Make<TMCheckBox>(&form, "cbother");
    const QColor otherBorder = other->BorderColor();

    skinner_.ApplyToForm(&form);

    EXPECT_EQ(form.palette().color(QPalette::Window), Named("background"));
    EXPECT_EQ(form.palette().color(QPalette::WindowText), Named("text"));
    for (TMousedPanel* p : { panel, inner }) {
        EXPECT_EQ(p->Color(), Named("background"));
        EXPECT_EQ(p->BorderColor(), Named("border"));
        EXPECT_EQ(p->BevelTopColor(), Named("bordertop"));
        EXPECT_EQ(p->BevelBottomColor(), Named("borderbottom"));
    }
    EXPECT_EQ(ok->Color(), Named("color"));
    EXPECT_EQ(ok->HotColor(), Named("hot"));
    EXPECT_EQ(ok->SelColor(), Named("selected"));
    EXPECT_EQ(ok->SelFontColor(), Named("selectedtext"));
    EXPECT_EQ(ok->FrameColor(), Named("border"));
    EXPECT_EQ(ok->FontColor(), Named("text"));
    EXPECT_EQ(ok->Glyph().size(), QSize(3, 3)); // "bOK" matches the icon "bok"
    EXPECT_TRUE(ok->GlyphTransparent());
    EXPECT_EQ(keeps->Glyph().size(), QSize(2, 2)); // an empty icon leaves its own glyph
    EXPECT_FALSE(keeps->GlyphTransparent());

    EXPECT_EQ(check->BackgroundColor(), Named("background")); // the check-box row, not the button row
    EXPECT_EQ(check->ButtonColor(), Named("color"));
    EXPECT_EQ(check->CheckColor(), Named("text"));
    EXPECT_EQ(check->HotColor(), Named("hot"));
    EXPECT_EQ(check->SelColor(), QColor(0, 120, 215)); // untouched

    EXPECT_EQ(line->PenColor(), Named("border"));
    EXPECT_EQ(image->Picture().size(), QSize(5, 5));
    for (QLabel* l : { label, static_cast<QLabel*>(hotLabel) }) {
        EXPECT_EQ(l->palette().color(QPalette::Window), Named("background"));
        EXPECT_EQ(l->palette().color(QPalette::WindowText), Named("text"));
    }
    EXPECT_EQ(status->CaptionFontColor(), Named("text"));
    EXPECT_EQ(status->StatusFontColor(), Named("text"));
    EXPECT_EQ(frame->TopColor(), Named("bordertop"));
    EXPECT_EQ(frame->BottomColor(), Named("borderbottom"));
    EXPECT_EQ(edit->palette().color(QPalette::Base), Named("backgroundtext"));
    EXPECT_EQ(edit->palette().color(QPalette::Text), Named("text"));
    EXPECT_EQ(list->Color(), Named("backgroundtext"));
    EXPECT_EQ(list->PAColor(), Named("backgroundtext"));
    EXPECT_EQ(list->PASelectedColor(), Named("selected"));
    EXPECT_EQ(list->SelectedFontColor(), Named("selectedtext"));
    EXPECT_EQ(list->FrameColor(), Named("border"));
    EXPECT_EQ(bar->BackColor(), Named("backgroundtext"));
    EXPECT_EQ(bar->Color(), Named("color"));
    EXPECT_EQ(bar->FrameColor(), Named("border"));
    EXPECT_EQ(other->BorderColor(), otherBorder); // no row for this class
}

TEST_F(Dressing, ApplyToPanelDressesOnlyWhatAPanelHolds)
{
    QWidget form;
    auto* loose = Make<TGradientButton>(&form, "bloose");
    skinner_.ApplyToPanel(&form); // not a panel: nothing happens
    EXPECT_NE(loose->Color(), Named("color"));

    auto* panel = Make<TMousedPanel>(&form, "MousedPanel1");
    auto* inner = Make<TMousedPanel>(panel, "MousedPanel2");
    auto* deep = Make<TGradientButton>(inner, "bdeep");
    auto* direct = Make<TLine>(panel, "Line1");
    skinner_.ApplyToPanel(panel);
    EXPECT_EQ(deep->Color(), Named("color"));
    EXPECT_EQ(direct->PenColor(), Named("border"));
    EXPECT_EQ(inner->Color(), Named("background"));
    EXPECT_NE(panel->Color(), Named("background")); // the panel itself takes a separate ApplyToControl
    EXPECT_NE(loose->Color(), Named("color"));
}
