#include "ui/gradientbutton.h"

#include "skin/drawrules.h"
#include "skin/glyphdrawing.h"
#include "skin/syscolors.h"
#include "ui/keyboardwindow.h"
#include "ui/repaintingsetter.h"

#include <QAction>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QPainter>

#include <algorithm>

TGradientButton::TGradientButton(QWidget* parent)
    : QPushButton(parent)
    , color_(SysColor(TSysColor::BtnFace))
    , hotColor_(SysColor(TSysColor::HotLight))
    , selColor_(SysColor(TSysColor::Highlight))
    , selFontColor_(SysColor(TSysColor::HighlightText))
    , fontColor_(SysColor(TSysColor::WindowText))
{
    setAutoDefault(false);
    connect(this, &QAbstractButton::clicked, this, &TGradientButton::OnClick);
}

void TGradientButton::SetColor(const QColor& color)
{
    SetAndRepaint(*this, color_, color);
}
void TGradientButton::SetHotColor(const QColor& color)
{
    SetAndRepaint(*this, hotColor_, color);
}
void TGradientButton::SetSelColor(const QColor& color)
{
    SetAndRepaint(*this, selColor_, color);
}
void TGradientButton::SetSelFontColor(const QColor& color)
{
    SetAndRepaint(*this, selFontColor_, color);
}
void TGradientButton::SetSelected(bool selected)
{
    SetAndRepaint(*this, selected_, selected);
}
void TGradientButton::SetBrightness(int brightness)
{
    SetAndRepaint(*this, brightness_, brightness);
}
void TGradientButton::SetGlyphTransparent(bool transparent)
{
    SetAndRepaint(*this, glyphTransparent_, transparent);
}
void TGradientButton::SetDisabledGlyphStyle(vd::TDisabledGlyphStyle style)
{
    SetAndRepaint(*this, disabledGlyphStyle_, style);
}
void TGradientButton::SetAlignment(Qt::Alignment alignment)
{
    SetAndRepaint(*this, alignment_, alignment);
}
void TGradientButton::SetFontColor(const QColor& color)
{
    SetAndRepaint(*this, fontColor_, color);
}

void TGradientButton::SetGlyph(const QImage& glyph)
{
    glyph_ = glyph;
    update();
}

void TGradientButton::SetUseActionCaption(bool use)
{
    SetAndRepaint(*this, useActionCaption_, use);
}

void TGradientButton::SetCaption(const QString& caption)
{
    setText(caption);
    update();
}

void TGradientButton::SetAction(QAction* action)
{
    if (action_) {
        disconnect(action_, nullptr, this, nullptr);
        disconnect(this, nullptr, action_, nullptr);
    }
    action_ = action;
    if (action) {
        connect(action, &QAction::changed, this, &TGradientButton::SyncWithAction);
        connect(this, &QAbstractButton::clicked, action, &QAction::trigger);
        SyncWithAction();
    }
    update();
}

void TGradientButton::SyncWithAction()
{
    if (!action_)
        return;
    setEnabled(action_->isEnabled());
    setVisible(action_->isVisible());
    setToolTip(action_->toolTip());
    update();
}

QString TGradientButton::ShownCaption() const
{
    return useActionCaption_ && action_ ? action_->text() : text();
}

QSize TGradientButton::sizeHint() const
{
    return { 75, 25 };
}

namespace {

// Space between a left- or right-aligned caption and the button's edge.
constexpr int kCaptionMargin = 4;

// The button under the pointer. A leave event can go missing (a window hidden under the
// pointer, a modal window opened over it), so entering a button also cools the last one.
QPointer<TGradientButton>& HotButton()
{
    static QPointer<TGradientButton> hot;
    return hot;
}

} // namespace

void TGradientButton::SetHot(bool hot)
{
    if (hot_ == hot)
        return;
    if (hot && HotButton() && HotButton() != this)
        HotButton()->SetHot(false);
    hot_ = hot;
    if (hot)
        HotButton() = this;
    else if (HotButton() == this)
        HotButton() = nullptr;
    update();
    if (hot)
        Q_EMIT OnMouseEnter();
    else
        Q_EMIT OnMouseLeave();
}

void TGradientButton::enterEvent(QEnterEvent* event)
{
    QPushButton::enterEvent(event);
    if (isEnabled())
        SetHot(true);
}

void TGradientButton::leaveEvent(QEvent* event)
{
    QPushButton::leaveEvent(event);
    SetHot(false);
}

void TGradientButton::hideEvent(QHideEvent* event)
{
    QPushButton::hideEvent(event);
    SetHot(false);
}

bool TGradientButton::event(QEvent* event)
{
    // Qt drops the leave events of a window that a modal window blocks.
    if (event->type() == QEvent::WindowBlocked)
        SetHot(false);
    return QPushButton::event(event);
}

void TGradientButton::changeEvent(QEvent* event)
{
    QPushButton::changeEvent(event);
    if (event->type() == QEvent::EnabledChange && !isEnabled())
        SetHot(false);
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::FontChange)
        update();
}

void TGradientButton::keyPressEvent(QKeyEvent* event)
{
    if (IsEnterKey(*event) && !isCheckable()) {
        click();
        return;
    }
    QPushButton::keyPressEvent(event);
}

void TGradientButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setFont(font());
    const bool pressed = isDown();

    QColor face = selected_ ? selColor_ : color_;
    if (hot_)
        face = hotColor_;
    QRect rect = this->rect();
    if (pressed)
        rect.translate(1, 1);

    const QRect faceRect = rect;
    ShadedFill(painter, faceRect, face, brightness_);
    if (frame_.framed) {
        Outline(painter, rect, frame_.frameColor);
        rect = Shrunk(rect, 1);
    }
    if (frame_.borderStyle == vd::mbsSunken) {
        if (pressed)
            Edge3D(painter, rect, frame_.borderBottomColor, frame_.borderTopColor);
        else
            Edge3D(painter, rect, frame_.borderTopColor, frame_.borderBottomColor);
        rect = Shrunk(rect, 1);
    }
    const QRect inner = rect;

    QRect captionRect = rect;
    if (glyph_.width() > 0) {
        const TGlyphLook look { glyphTransparent_, !isEnabled(), disabledGlyphStyle_, brightness_ };
        const QImage picture = GlyphForDrawing(glyph_, look);
        const int left = rect.x() + 2;
        const int top = rect.y() + (rect.height() - picture.height()) / 2;
        painter.drawImage(left, top, picture);
        captionRect.setLeft(left + picture.width() + 2);
    } else if (alignment_ & Qt::AlignLeft) {
        captionRect.setLeft(captionRect.left() + kCaptionMargin);
    }
    if (alignment_ & Qt::AlignRight)
        captionRect.setRight(captionRect.right() - kCaptionMargin);

    // The caption colour belongs to the face it is drawn on: SelFontColor to the selected face
    // only. Under the mouse the face is HotColor, selected or not, so the caption keeps the
    // font colour that a skin pairs with it.
    QColor textColor = selected_ && !hot_ ? selFontColor_ : fontColor_;
    if (!isEnabled()) {
        // Readable on the shaded face's rows that the caption covers, with a row to spare on
        // each side for the text engine's rounding of the centred line.
        const int textHeight = painter.fontMetrics().height();
        const int top = captionRect.y() + (captionRect.height() - textHeight) / 2;
        const int firstRow = std::max(top - 1, faceRect.top());
        const int lastRow = std::min(top + textHeight, faceRect.bottom());
        textColor = DisabledCaptionColor(face, ShadedRowColor(faceRect, face, brightness_, firstRow),
            ShadedRowColor(faceRect, face, brightness_, lastRow));
    }
    painter.setPen(textColor);
    painter.drawText(captionRect,
        int(alignment_ & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextShowMnemonic,
        ShownCaption());

    if (hasFocus())
        FocusRect(painter, Shrunk(inner, 2));
}
