#pragma once
// TGradientButton: the program's push button with a shaded face, an outline, a sunken
// edge, an optional glyph left of the caption, and hot, selected, pressed and focused looks.
// Events: OnClick (also after the second press of a double click), OnMouseEnter, OnMouseLeave.
// From the keyboard: Tab reaches it, Space presses it, and Enter presses it while it has the
// focus (a window's default button takes Enter from the other controls).
#include "skin/controltypes.h"
#include "ui/framestyle.h"

#include <QImage>
#include <QPointer>
#include <QPushButton>

class QAction;

class TGradientButton : public QPushButton, public TFramedControl {
    Q_OBJECT
    Q_PROPERTY(QColor Color READ Color WRITE SetColor)
    Q_PROPERTY(QColor HotColor READ HotColor WRITE SetHotColor)
    Q_PROPERTY(QColor SelColor READ SelColor WRITE SetSelColor)
    Q_PROPERTY(QColor SelFontColor READ SelFontColor WRITE SetSelFontColor)
    Q_PROPERTY(bool Selected READ Selected WRITE SetSelected)
    Q_PROPERTY(int Brightness READ Brightness WRITE SetBrightness)
    Q_PROPERTY(bool Framed READ Framed WRITE SetFramed)
    Q_PROPERTY(QColor FrameColor READ FrameColor WRITE SetFrameColor)
    Q_PROPERTY(vd::TMBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
    Q_PROPERTY(QColor BorderTopColor READ BorderTopColor WRITE SetBorderTopColor)
    Q_PROPERTY(QColor BorderBottomColor READ BorderBottomColor WRITE SetBorderBottomColor)
    Q_PROPERTY(QImage Glyph READ Glyph WRITE SetGlyph)
    Q_PROPERTY(bool GlyphTransparent READ GlyphTransparent WRITE SetGlyphTransparent)
    Q_PROPERTY(vd::TDisabledGlyphStyle DisabledGlyphStyle READ DisabledGlyphStyle WRITE SetDisabledGlyphStyle)
    Q_PROPERTY(Qt::Alignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(bool UseActionCaption READ UseActionCaption WRITE SetUseActionCaption)
    Q_PROPERTY(QString Caption READ text WRITE SetCaption)
    Q_PROPERTY(QColor FontColor READ FontColor WRITE SetFontColor)

public:
    explicit TGradientButton(QWidget* parent = nullptr);

    QColor Color() const { return color_; }
    void SetColor(const QColor& color);
    QColor HotColor() const { return hotColor_; }
    void SetHotColor(const QColor& color);
    QColor SelColor() const { return selColor_; }
    void SetSelColor(const QColor& color);
    QColor SelFontColor() const { return selFontColor_; }
    void SetSelFontColor(const QColor& color);
    bool Selected() const { return selected_; }
    void SetSelected(bool selected);
    int Brightness() const { return brightness_; }
    void SetBrightness(int brightness);
    const QImage& Glyph() const { return glyph_; }
    void SetGlyph(const QImage& glyph);
    bool GlyphTransparent() const { return glyphTransparent_; }
    void SetGlyphTransparent(bool transparent);
    vd::TDisabledGlyphStyle DisabledGlyphStyle() const { return disabledGlyphStyle_; }
    void SetDisabledGlyphStyle(vd::TDisabledGlyphStyle style);
    Qt::Alignment Alignment() const { return alignment_; }
    void SetAlignment(Qt::Alignment alignment);
    bool UseActionCaption() const { return useActionCaption_; }
    void SetUseActionCaption(bool use);
    void SetCaption(const QString& caption);
    QColor FontColor() const { return fontColor_; }
    void SetFontColor(const QColor& color);

    // The linked action: a click triggers it, and its enabled and visible states and its
    // caption (with UseActionCaption) follow it.
    QAction* Action() const { return action_; }
    void SetAction(QAction* action);

    // The caption drawn: the action's text with UseActionCaption and a linked action.
    QString ShownCaption() const;
    // True while the mouse is over the enabled button. One button of the program is hot at a
    // time: a hidden button, one whose window a modal window blocks (whose leave events never
    // arrive) and the one the pointer came from all drop the hot look.
    bool Hot() const { return hot_; }

Q_SIGNALS:
    void OnClick();
    void OnMouseEnter();
    void OnMouseLeave();

protected:
    void FrameStyleChanged(const TFrameStyle&) override { update(); }
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    QSize sizeHint() const override;

private:
    void SyncWithAction();
    void SetHot(bool hot);

    QColor color_;
    QColor hotColor_;
    QColor selColor_;
    QColor selFontColor_;
    bool selected_ = false;
    int brightness_ = -100;
    QImage glyph_;
    bool glyphTransparent_ = false;
    vd::TDisabledGlyphStyle disabledGlyphStyle_ = vd::dgBW;
    Qt::Alignment alignment_ = Qt::AlignHCenter;
    bool useActionCaption_ = false;
    QColor fontColor_;
    QPointer<QAction> action_;
    bool hot_ = false;
};
