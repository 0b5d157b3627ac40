// TSkinner's dressing of widgets: what it sets depends only on the widget's class, tested in
// a fixed order (a TNiceCheckBox is a TGradientButton, so it comes first).
#include "skin/skinner.h"

#include "ui/colorframe.h"
#include "ui/columnlistbox.h"
#include "ui/framestyle.h"
#include "ui/gradientbutton.h"
#include "ui/gradientprogressbar.h"
#include "ui/image.h"
#include "ui/line.h"
#include "ui/mousedpanel.h"
#include "ui/nicecheckbox.h"
#include "ui/pagelistbox.h"
#include "ui/statuslabel.h"
#include "ui/widgetcolors.h"

#include <QLabel>
#include <QLineEdit>

namespace {

void SetPaletteColor(QWidget* widget, QPalette::ColorRole role, const QColor& color)
{
    QPalette palette = widget->palette();
    palette.setColor(role, color);
    widget->setPalette(palette);
}

} // namespace

void TSkinner::ApplyToControl(QWidget* control) const
{
    const auto dressFrame = [this](TFramedControl& framed) {
        TFrameStyle style = framed.FrameStyle();
        style.frameColor = GetColor(QStringLiteral("border"));
        style.borderTopColor = GetColor(QStringLiteral("bordertop"));
        style.borderBottomColor = GetColor(QStringLiteral("borderbottom"));
        framed.SetFrameStyle(style);
    };
    if (auto* panel = qobject_cast<TMousedPanel*>(control)) {
        panel->SetColor(GetColor(QStringLiteral("background")));
        panel->SetBorderColor(GetColor(QStringLiteral("border")));
        panel->SetBevelTopColor(GetColor(QStringLiteral("bordertop")));
        panel->SetBevelBottomColor(GetColor(QStringLiteral("borderbottom")));
    } else if (auto* line = qobject_cast<TLine*>(control)) {
        line->SetPenColor(GetColor(QStringLiteral("border")));
    } else if (auto* image = qobject_cast<TImage*>(control)) {
        QImage picture;
        if (CopyImage(image->objectName(), picture))
            image->SetPicture(picture);
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
        SetPaletteColor(label, QPalette::Window, GetColor(QStringLiteral("background")));
        SetPaletteColor(label, QPalette::WindowText, GetColor(QStringLiteral("text")));
    } else if (auto* status = qobject_cast<TStatusLabel*>(control)) {
        status->SetCaptionFontColor(GetColor(QStringLiteral("text")));
        status->SetStatusFontColor(GetColor(QStringLiteral("text")));
    } else if (auto* frame = qobject_cast<TColorFrame*>(control)) {
        frame->SetTopColor(GetColor(QStringLiteral("bordertop")));
        frame->SetBottomColor(GetColor(QStringLiteral("borderbottom")));
        frame->SetFontColor(GetColor(QStringLiteral("text")));
    } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        SetPaletteColor(edit, QPalette::Base, GetColor(QStringLiteral("backgroundtext")));
        SetPaletteColor(edit, QPalette::Text, GetColor(QStringLiteral("text")));
    } else if (auto* list = qobject_cast<TPageListBox*>(control)) {
        list->SetColor(GetColor(QStringLiteral("backgroundtext")));
        dressFrame(*list);
        list->SetSelectedColor(GetColor(QStringLiteral("selected")));
        list->SetFontColor(GetColor(QStringLiteral("text")));
        list->SetPAColor(GetColor(QStringLiteral("backgroundtext")));
        list->SetPAFontColor(GetColor(QStringLiteral("text")));
        list->SetPASelectedColor(GetColor(QStringLiteral("selected")));
        list->SetSelectedFontColor(GetColor(QStringLiteral("selectedtext")));
    } else if (auto* files = qobject_cast<TColumnListBox*>(control)) {
        files->SetColor(GetColor(QStringLiteral("backgroundtext")));
        files->SetFontColor(GetColor(QStringLiteral("text")));
        files->SetSelectedColor(GetColor(QStringLiteral("selected")));
        files->SetSelectedFontColor(GetColor(QStringLiteral("selectedtext")));
    } else if (auto* bar = qobject_cast<TGradientProgressBar*>(control)) {
        bar->SetBackColor(GetColor(QStringLiteral("backgroundtext")));
        bar->SetColor(GetColor(QStringLiteral("color")));
        bar->SetFontColor(GetColor(QStringLiteral("text")));
        dressFrame(*bar);
    } else if (auto* check = qobject_cast<TNiceCheckBox*>(control)) {
        check->SetButtonColor(GetColor(QStringLiteral("color")));
        dressFrame(*check);
        check->SetColor(GetColor(QStringLiteral("background")));
        check->SetFontColor(GetColor(QStringLiteral("text")));
        check->SetHotColor(GetColor(QStringLiteral("hot")));
        check->SetCheckColor(GetColor(QStringLiteral("text")));
    } else if (auto* button = qobject_cast<TGradientButton*>(control)) {
        button->SetColor(GetColor(QStringLiteral("color")));
        dressFrame(*button);
        button->SetHotColor(GetColor(QStringLiteral("hot")));
        button->SetFontColor(GetColor(QStringLiteral("text")));
        button->SetSelColor(GetColor(QStringLiteral("selected")));
        button->SetSelFontColor(GetColor(QStringLiteral("selectedtext")));
        QImage glyph;
        if (CopyIcon(button->objectName(), glyph)) {
            button->SetGlyph(glyph);
            button->SetGlyphTransparent(IconsTransparent());
        }
    }
}

void TSkinner::ApplyToPanel(QWidget* panel) const
{
    if (!qobject_cast<TMousedPanel*>(panel))
        return;
    for (QWidget* child : panel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (qobject_cast<TMousedPanel*>(child))
            ApplyToPanel(child);
        ApplyToControl(child);
    }
}

void TSkinner::ApplyToForm(QWidget* form) const
{
    SetBackgroundColor(form, GetColor(QStringLiteral("background")));
    SetPaletteColor(form, QPalette::WindowText, GetColor(QStringLiteral("text")));
    for (QWidget* control : form->findChildren<QWidget*>())
        ApplyToControl(control);
}
