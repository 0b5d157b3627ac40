#include "ui/hotwinbitmap.h"

#include "skin/drawrules.h"
#include "skin/glyphdrawing.h"
#include "skin/syscolors.h"
#include "ui/designfonts.h"
#include "ui/repaintingsetter.h"

#include <QKeyEvent>
#include <QPainter>

THotWinBitmap::THotWinBitmap(QWidget* parent)
    : QAbstractButton(parent)
    , fontColor_(SysColor(TSysColor::BtnText))
    , hotFont_(DesignFont(QStringLiteral("Tahoma"), 8))
    , hotFontColor_(SysColor(TSysColor::HighlightText))
    , selectedFont_(hotFont_)
    , selectedFontColor_(SysColor(TSysColor::WindowText))
    , hotSelFont_(hotFont_)
    , hotSelFontColor_(SysColor(TSysColor::HighlightText))
    , color_(SysColor(TSysColor::BtnFace))
    , hotColor_(SysColor(TSysColor::Highlight))
    , selectedColor_(SysColor(TSysColor::Window))
    , hotSelColor_(SysColor(TSysColor::Highlight))
    , borderTopColor_(SysColor(TSysColor::BtnHighlight))
    , borderBottomColor_(SysColor(TSysColor::BtnShadow))
{
    setFont(hotFont_);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    connect(this, &QAbstractButton::clicked, this, &THotWinBitmap::OnClick);
    resize(80, 24);
}

void THotWinBitmap::SetCaption(const QString& caption)
{
    setText(caption);
    update();
}

void THotWinBitmap::SetAlignment(Qt::Alignment alignment)
{
    SetAndRepaint(*this, alignment_, alignment);
}

void THotWinBitmap::SetWordWrap(bool wrap)
{
    SetAndRepaint(*this, wordWrap_, wrap);
}

void THotWinBitmap::SetMargin(int margin)
{
    SetAndRepaint(*this, margin_, margin);
}

void THotWinBitmap::SetFontColor(const QColor& color)
{
    SetAndRepaint(*this, fontColor_, color);
}

void THotWinBitmap::SetHotFont(const QFont& font)
{
    SetAndRepaint(*this, hotFont_, font);
}

void THotWinBitmap::SetHotFontColor(const QColor& color)
{
    SetAndRepaint(*this, hotFontColor_, color);
}

void THotWinBitmap::SetSelectedFont(const QFont& font)
{
    SetAndRepaint(*this, selectedFont_, font);
}

void THotWinBitmap::SetSelectedFontColor(const QColor& color)
{
    SetAndRepaint(*this, selectedFontColor_, color);
}

void THotWinBitmap::SetHotSelFont(const QFont& font)
{
    SetAndRepaint(*this, hotSelFont_, font);
}

void THotWinBitmap::SetHotSelFontColor(const QColor& color)
{
    SetAndRepaint(*this, hotSelFontColor_, color);
}

void THotWinBitmap::SetColor(const QColor& color)
{
    SetAndRepaint(*this, color_, color);
}

void THotWinBitmap::SetHotColor(const QColor& color)
{
    SetAndRepaint(*this, hotColor_, color);
}

void THotWinBitmap::SetSelectedColor(const QColor& color)
{
    SetAndRepaint(*this, selectedColor_, color);
}

void THotWinBitmap::SetHotSelColor(const QColor& color)
{
    SetAndRepaint(*this, hotSelColor_, color);
}

void THotWinBitmap::SetHotBitmap(const QImage& bitmap)
{
    SetAndRepaint(*this, hotBitmap_, bitmap);
}

void THotWinBitmap::SetSelectedBitmap(const QImage& bitmap)
{
    SetAndRepaint(*this, selectedBitmap_, bitmap);
}

void THotWinBitmap::SetHotSelBitmap(const QImage& bitmap)
{
    SetAndRepaint(*this, hotSelBitmap_, bitmap);
}

void THotWinBitmap::SetBitmapMargin(int margin)
{
    SetAndRepaint(*this, bitmapMargin_, margin);
}

void THotWinBitmap::SetBitmapTransparent(bool transparent)
{
    SetAndRepaint(*this, bitmapTransparent_, transparent);
}

void THotWinBitmap::SetDrawMode(vd::TDrawMode mode)
{
    SetAndRepaint(*this, drawMode_, mode);
}

void THotWinBitmap::SetBorder(vd::TSimpleBorderStyle border)
{
    SetAndRepaint(*this, border_, border);
}

void THotWinBitmap::SetBorderTopColor(const QColor& color)
{
    SetAndRepaint(*this, borderTopColor_, color);
}

void THotWinBitmap::SetBorderBottomColor(const QColor& color)
{
    SetAndRepaint(*this, borderBottomColor_, color);
}

void THotWinBitmap::SetSelected(bool selected)
{
    SetAndRepaint(*this, selected_, selected);
}

void THotWinBitmap::SetAdvanced(bool advanced)
{
    SetAndRepaint(*this, advanced_, advanced);
}

void THotWinBitmap::SetHotTrackMethod(vd::THotTrackMethod method)
{
    hotTrackMethod_ = method;
}

void THotWinBitmap::SetBitmap(const QImage& bitmap)
{
    bitmap_ = bitmap;
    if (autoSize_ && !bitmap_.isNull())
        resize(bitmap_.size());
    update();
}

void THotWinBitmap::SetAutoSize(bool autoSize)
{
    autoSize_ = autoSize;
    if (autoSize_ && !bitmap_.isNull())
        resize(bitmap_.size());
}

void THotWinBitmap::SetMoused(bool moused)
{
    if (moused == moused_)
        return;
    moused_ = moused;
    update();
    if (moused)
        Q_EMIT OnMouseEnter();
    else
        Q_EMIT OnMouseLeave();
}

THotWinBitmap::TLook THotWinBitmap::StateLook() const
{
    if (moused_ && selected_ && advanced_)
        return { hotSelBitmap_, hotSelColor_, hotSelFont_, hotSelFontColor_ };
    if (moused_)
        return { hotBitmap_, hotColor_, hotFont_, hotFontColor_ };
    if (selected_)
        return { selectedBitmap_, selectedColor_, selectedFont_, selectedFontColor_ };
    return { bitmap_, color_, font(), fontColor_ };
}

void THotWinBitmap::enterEvent(QEnterEvent* event)
{
    QAbstractButton::enterEvent(event);
    if (hotTrackMethod_ == vd::hmMouseMove && isEnabled())
        SetMoused(true);
}

void THotWinBitmap::leaveEvent(QEvent* event)
{
    QAbstractButton::leaveEvent(event);
    if (hotTrackMethod_ == vd::hmMouseMove && !hasFocus())
        SetMoused(false);
}

void THotWinBitmap::focusInEvent(QFocusEvent* event)
{
    QAbstractButton::focusInEvent(event);
    if (hotTrackMethod_ == vd::hmMouseMove)
        SetMoused(true);
}

void THotWinBitmap::focusOutEvent(QFocusEvent* event)
{
    QAbstractButton::focusOutEvent(event);
    if (hotTrackMethod_ == vd::hmMouseMove)
        SetMoused(false);
}

void THotWinBitmap::mousePressEvent(QMouseEvent* event)
{
    QAbstractButton::mousePressEvent(event);
    if (hotTrackMethod_ == vd::hmMousePress)
        SetMoused(true);
    Q_EMIT OnMouseDown();
}

void THotWinBitmap::mouseReleaseEvent(QMouseEvent* event)
{
    QAbstractButton::mouseReleaseEvent(event);
    if (hotTrackMethod_ == vd::hmMousePress)
        SetMoused(false);
    Q_EMIT OnMouseUp();
}

void THotWinBitmap::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

void THotWinBitmap::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const TLook look = StateLook();
    if (look.picture.isNull() || look.picture.size() != size())
        painter.fillRect(rect(), look.color);
    if (!look.picture.isNull()) {
        const QImage picture = bitmapTransparent_ ? GlyphForDrawing(look.picture, TGlyphLook { true }) : look.picture;
        switch (drawMode_) {
        case vd::dmOpaque:
            painter.drawImage(bitmapMargin_, (height() - picture.height()) / 2, picture);
            break;
        case vd::dmStretched:
            painter.drawImage(rect(), picture);
            break;
        case vd::dmTiled:
            painter.drawTiledPixmap(rect(), QPixmap::fromImage(picture));
            break;
        }
    }

    painter.setFont(look.font);
    painter.setPen(look.fontColor);
    const int flags = int(alignment_ & Qt::AlignHorizontal_Mask) | (wordWrap_ ? Qt::TextWordWrap : Qt::TextSingleLine);
    QRect textRect = painter.boundingRect(rect().adjusted(margin_, 0, 0, 0), flags | Qt::AlignTop, text());
    textRect.moveTop((height() - textRect.height()) / 2);
    painter.drawText(textRect, flags, text());

    if (border_ != vd::sbsNone)
        Edge3D(painter, rect(), border_ == vd::sbsSunken ? borderTopColor_ : borderBottomColor_, borderBottomColor_);
    if (hasFocus())
        FocusRect(painter, rect());
}
