#pragma once
// The outline and sunken edge that the gradient button (and so the nice check box), the
// gradient progress bar and the page list draw around themselves, with their properties
// written once: each of these controls derives from TFramedControl and names the properties
// in its own Q_PROPERTY list, which the skins and the designs address.
#include "skin/controltypes.h"
#include "skin/syscolors.h"

#include <QColor>

struct TFrameStyle {
    bool framed = true;
    QColor frameColor = SysColor(TSysColor::WindowFrame);
    vd::TMBorderStyle borderStyle = vd::mbsSunken;
    QColor borderTopColor = SysColor(TSysColor::BtnHighlight);
    QColor borderBottomColor = SysColor(TSysColor::BtnShadow);

    // Pixels the outline and the edge take from each side.
    int Thickness() const { return (framed ? 1 : 0) + (borderStyle == vd::mbsSunken ? 1 : 0); }
    bool operator==(const TFrameStyle&) const = default;
};

class TFramedControl {
public:
    virtual ~TFramedControl() = default;

    const TFrameStyle& FrameStyle() const { return frame_; }
    void SetFrameStyle(const TFrameStyle& style)
    {
        if (style == frame_)
            return;
        const TFrameStyle before = frame_;
        frame_ = style;
        FrameStyleChanged(before);
    }

    bool Framed() const { return frame_.framed; }
    void SetFramed(bool framed) { Change(&TFrameStyle::framed, framed); }
    QColor FrameColor() const { return frame_.frameColor; }
    void SetFrameColor(const QColor& color) { Change(&TFrameStyle::frameColor, color); }
    vd::TMBorderStyle BorderStyle() const { return frame_.borderStyle; }
    void SetBorderStyle(vd::TMBorderStyle style) { Change(&TFrameStyle::borderStyle, style); }
    QColor BorderTopColor() const { return frame_.borderTopColor; }
    void SetBorderTopColor(const QColor& color) { Change(&TFrameStyle::borderTopColor, color); }
    QColor BorderBottomColor() const { return frame_.borderBottomColor; }
    void SetBorderBottomColor(const QColor& color) { Change(&TFrameStyle::borderBottomColor, color); }

protected:
    // The control repaints (and lays itself out again when the thickness changed).
    virtual void FrameStyleChanged(const TFrameStyle& before) = 0;

    TFrameStyle frame_;

private:
    template <typename T> void Change(T TFrameStyle::*field, const T& value)
    {
        TFrameStyle style = frame_;
        style.*field = value;
        SetFrameStyle(style);
    }
};
