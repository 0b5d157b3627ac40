#pragma once
// TMousedPanel: a panel with bevels in its own colours, an optional solid border band, a
// plain, picture or gradient background, an optional caption, and mouse enter and leave
// events. The program's windows use the plain colour background.
#include "skin/controltypes.h"

#include <QImage>
#include <QWidget>

class TMousedPanel : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QColor Color READ Color WRITE SetColor)
    Q_PROPERTY(vd::TBevelCut BevelOuter READ BevelOuter WRITE SetBevelOuter)
    Q_PROPERTY(vd::TBevelCut BevelInner READ BevelInner WRITE SetBevelInner)
    Q_PROPERTY(int BevelWidth READ BevelWidth WRITE SetBevelWidth)
    Q_PROPERTY(QColor BevelTopColor READ BevelTopColor WRITE SetBevelTopColor)
    Q_PROPERTY(QColor BevelBottomColor READ BevelBottomColor WRITE SetBevelBottomColor)
    Q_PROPERTY(bool DrawBorder READ DrawBorder WRITE SetDrawBorder)
    Q_PROPERTY(QColor BorderColor READ BorderColor WRITE SetBorderColor)
    Q_PROPERTY(int BorderWidth READ BorderWidth WRITE SetBorderWidth)
    Q_PROPERTY(vd::TBackgroundMode BackgroundMode READ BackgroundMode WRITE SetBackgroundMode)
    Q_PROPERTY(QImage Background READ Background WRITE SetBackground)
    Q_PROPERTY(vd::TTextureMode TextureMode READ TextureMode WRITE SetTextureMode)
    Q_PROPERTY(QColor GradientStartColor READ GradientStartColor WRITE SetGradientStartColor)
    Q_PROPERTY(QColor GradientEndColor READ GradientEndColor WRITE SetGradientEndColor)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(bool ShowCaption READ ShowCaption WRITE SetShowCaption)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int CaptionSpace READ CaptionSpace WRITE SetCaptionSpace)
    Q_PROPERTY(Qt::Alignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(QColor FontColor READ FontColor WRITE SetFontColor)

public:
    explicit TMousedPanel(QWidget* parent = nullptr);

    QColor Color() const { return color_; }
    void SetColor(const QColor& color); // also the colour the panel's children see behind them
    vd::TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(vd::TBevelCut cut);
    vd::TBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(vd::TBevelCut cut);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int width);
    QColor BevelTopColor() const { return bevelTopColor_; }
    void SetBevelTopColor(const QColor& color);
    QColor BevelBottomColor() const { return bevelBottomColor_; }
    void SetBevelBottomColor(const QColor& color);
    bool DrawBorder() const { return drawBorder_; }
    void SetDrawBorder(bool draw);
    QColor BorderColor() const { return borderColor_; }
    void SetBorderColor(const QColor& color);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int width);
    vd::TBackgroundMode BackgroundMode() const { return backgroundMode_; }
    void SetBackgroundMode(vd::TBackgroundMode mode);
    const QImage& Background() const { return background_; }
    void SetBackground(const QImage& picture);
    vd::TTextureMode TextureMode() const { return textureMode_; }
    void SetTextureMode(vd::TTextureMode mode);
    QColor GradientStartColor() const { return gradientStartColor_; }
    void SetGradientStartColor(const QColor& color);
    QColor GradientEndColor() const { return gradientEndColor_; }
    void SetGradientEndColor(const QColor& color);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);
    bool ShowCaption() const { return showCaption_; }
    void SetShowCaption(bool show);
    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    int CaptionSpace() const { return captionSpace_; }
    void SetCaptionSpace(int space);
    Qt::Alignment Alignment() const { return alignment_; }
    void SetAlignment(Qt::Alignment alignment);
    QColor FontColor() const { return fontColor_; }
    void SetFontColor(const QColor& color);

Q_SIGNALS:
    void OnMouseEnter();
    void OnMouseLeave();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void PaintBackground(QPainter& painter, const QRect& area) const;
    QRect PaintBevel(QPainter& painter, QRect area, vd::TBevelCut cut) const;

    QColor color_;
    vd::TBevelCut bevelOuter_ = vd::bvRaised;
    vd::TBevelCut bevelInner_ = vd::bvNone;
    int bevelWidth_ = 1;
    QColor bevelTopColor_;
    QColor bevelBottomColor_;
    bool drawBorder_ = false;
    QColor borderColor_;
    int borderWidth_ = 0;
    vd::TBackgroundMode backgroundMode_ = vd::bmColor;
    QImage background_;
    vd::TTextureMode textureMode_ = vd::tmNormal;
    QColor gradientStartColor_;
    QColor gradientEndColor_;
    bool transparent_ = false;
    bool showCaption_ = false;
    QString caption_;
    int captionSpace_ = 0;
    Qt::Alignment alignment_ = Qt::AlignHCenter;
    QColor fontColor_;
};
