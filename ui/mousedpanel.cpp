#include "ui/mousedpanel.h"

#include "skin/drawrules.h"
#include "skin/glyphdrawing.h"
#include "skin/syscolors.h"
#include "ui/repaintingsetter.h"

#include <QPainter>

TMousedPanel::TMousedPanel(QWidget* parent)
    : QWidget(parent)
    , color_(SysColor(TSysColor::BtnFace))
    , bevelTopColor_(SysColor(TSysColor::BtnHighlight))
    , bevelBottomColor_(SysColor(TSysColor::BtnShadow))
    , borderColor_(color_)
    , gradientStartColor_(SysColor(TSysColor::ActiveCaption))
    , gradientEndColor_(SysColor(TSysColor::InactiveCaption))
    , fontColor_(SysColor(TSysColor::WindowText))
{
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, color_);
    setPalette(palette);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(185, 41);
}

void TMousedPanel::SetColor(const QColor& color)
{
    color_ = color;
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, color);
    setPalette(palette);
    update();
}

void TMousedPanel::SetBevelOuter(vd::TBevelCut cut)
{
    SetAndRepaint(*this, bevelOuter_, cut);
}
void TMousedPanel::SetBevelInner(vd::TBevelCut cut)
{
    SetAndRepaint(*this, bevelInner_, cut);
}
void TMousedPanel::SetBevelWidth(int width)
{
    SetAndRepaint(*this, bevelWidth_, width);
}
void TMousedPanel::SetBevelTopColor(const QColor& color)
{
    SetAndRepaint(*this, bevelTopColor_, color);
}
void TMousedPanel::SetBevelBottomColor(const QColor& color)
{
    SetAndRepaint(*this, bevelBottomColor_, color);
}
void TMousedPanel::SetDrawBorder(bool draw)
{
    SetAndRepaint(*this, drawBorder_, draw);
}
void TMousedPanel::SetBorderColor(const QColor& color)
{
    SetAndRepaint(*this, borderColor_, color);
}
void TMousedPanel::SetBorderWidth(int width)
{
    SetAndRepaint(*this, borderWidth_, width);
}
void TMousedPanel::SetBackgroundMode(vd::TBackgroundMode mode)
{
    SetAndRepaint(*this, backgroundMode_, mode);
}
void TMousedPanel::SetTextureMode(vd::TTextureMode mode)
{
    SetAndRepaint(*this, textureMode_, mode);
}
void TMousedPanel::SetGradientStartColor(const QColor& color)
{
    SetAndRepaint(*this, gradientStartColor_, color);
}
void TMousedPanel::SetGradientEndColor(const QColor& color)
{
    SetAndRepaint(*this, gradientEndColor_, color);
}
void TMousedPanel::SetTransparent(bool transparent)
{
    SetAndRepaint(*this, transparent_, transparent);
}
void TMousedPanel::SetShowCaption(bool show)
{
    SetAndRepaint(*this, showCaption_, show);
}
void TMousedPanel::SetCaption(const QString& caption)
{
    SetAndRepaint(*this, caption_, caption);
}
void TMousedPanel::SetCaptionSpace(int space)
{
    SetAndRepaint(*this, captionSpace_, space);
}
void TMousedPanel::SetAlignment(Qt::Alignment alignment)
{
    SetAndRepaint(*this, alignment_, alignment);
}
void TMousedPanel::SetFontColor(const QColor& color)
{
    SetAndRepaint(*this, fontColor_, color);
}

void TMousedPanel::SetBackground(const QImage& picture)
{
    background_ = picture;
    update();
}

void TMousedPanel::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    Q_EMIT OnMouseEnter();
}

void TMousedPanel::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    Q_EMIT OnMouseLeave();
}

void TMousedPanel::PaintBackground(QPainter& painter, const QRect& area) const
{
    switch (backgroundMode_) {
    case vd::bmColor:
        break;
    case vd::bmPicture: {
        if (background_.isNull())
            break;
        const QImage picture = transparent_ ? GlyphForDrawing(background_, TGlyphLook { true }) : background_;
        if (textureMode_ == vd::tmStrech)
            painter.drawImage(area, picture);
        else if (textureMode_ == vd::tmTexture)
            painter.drawTiledPixmap(area, QPixmap::fromImage(picture));
        else
            painter.drawImage(area.topLeft(), picture);
        break;
    }
    case vd::bmLRGradient:
        LinearGradient(painter, area, gradientStartColor_, gradientEndColor_, TGradientAxis::Horizontal);
        break;
    case vd::bmUDGradient:
        LinearGradient(painter, area, gradientStartColor_, gradientEndColor_, TGradientAxis::Vertical);
        break;
    }
}

QRect TMousedPanel::PaintBevel(QPainter& painter, QRect area, vd::TBevelCut cut) const
{
    if (cut == vd::bvNone)
        return area;
    const bool raised = cut == vd::bvRaised;
    for (int i = 0; i < bevelWidth_; ++i) {
        Edge3D(painter, area, raised ? bevelTopColor_ : bevelBottomColor_, raised ? bevelBottomColor_ : bevelTopColor_);
        area = Shrunk(area, 1);
    }
    return area;
}

void TMousedPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QRect area = rect();
    if (drawBorder_) {
        painter.fillRect(area, borderColor_);
        area = Shrunk(area, borderWidth_);
    }
    painter.fillRect(area, color_);
    PaintBackground(painter, area);
    area = PaintBevel(painter, area, bevelOuter_);
    area = PaintBevel(painter, area, bevelInner_);

    if (!showCaption_)
        return;
    QRect textArea = area;
    if (!(alignment_ & Qt::AlignHCenter))
        textArea.adjust(captionSpace_, 0, -captionSpace_, 0);
    painter.setFont(font());
    painter.setPen(fontColor_);
    painter.drawText(
        textArea, int(alignment_ & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter | Qt::TextSingleLine, caption_);
}
