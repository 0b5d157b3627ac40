#pragma once
// TGradientProgressBar: a flat progress bar whose filled part is shaded, with an optional
// caption (its own text or the percentage) that can follow the end of the filled part.
// Setting Position repaints at once, so a loop that never yields still shows progress.
#include "skin/controltypes.h"
#include "ui/framestyle.h"

#include <QColor>
#include <QWidget>

class TGradientProgressBar : public QWidget, public TFramedControl {
    Q_OBJECT
    Q_PROPERTY(int Min READ Min WRITE SetMin)
    Q_PROPERTY(int Max READ Max WRITE SetMax)
    Q_PROPERTY(int Position READ Position WRITE SetPosition)
    Q_PROPERTY(int Percent READ Percent)
    Q_PROPERTY(QColor Color READ Color WRITE SetColor)
    Q_PROPERTY(QColor BackColor READ BackColor WRITE SetBackColor)
    Q_PROPERTY(int Brightness READ Brightness WRITE SetBrightness)
    Q_PROPERTY(bool Framed READ Framed WRITE SetFramed)
    Q_PROPERTY(QColor FrameColor READ FrameColor WRITE SetFrameColor)
    Q_PROPERTY(vd::TMBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
    Q_PROPERTY(QColor BorderTopColor READ BorderTopColor WRITE SetBorderTopColor)
    Q_PROPERTY(QColor BorderBottomColor READ BorderBottomColor WRITE SetBorderBottomColor)
    Q_PROPERTY(bool ShowCaption READ ShowCaption WRITE SetShowCaption)
    Q_PROPERTY(bool AutoCaption READ AutoCaption WRITE SetAutoCaption)
    Q_PROPERTY(bool SnapCaption READ SnapCaption WRITE SetSnapCaption)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(QColor FontColor READ FontColor WRITE SetFontColor)

public:
    explicit TGradientProgressBar(QWidget* parent = nullptr);

    int Min() const { return min_; }
    void SetMin(int min); // a Min above Max swaps them
    int Max() const { return max_; }
    void SetMax(int max); // a Max below Min swaps them
    int Position() const { return position_; }
    void SetPosition(int position); // clamped into Min..Max
    // (Position - Min) * 100 / (Max - Min), rounded; 0 when Max = Min.
    int Percent() const;

    QColor Color() const { return color_; }
    void SetColor(const QColor& color);
    QColor BackColor() const { return backColor_; }
    void SetBackColor(const QColor& color);
    int Brightness() const { return brightness_; }
    void SetBrightness(int brightness);
    bool ShowCaption() const { return showCaption_; }
    void SetShowCaption(bool show);
    bool AutoCaption() const { return autoCaption_; }
    void SetAutoCaption(bool automatic);
    bool SnapCaption() const { return snapCaption_; }
    void SetSnapCaption(bool snap);
    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    QColor FontColor() const { return fontColor_; }
    void SetFontColor(const QColor& color);

    // The text the caption shows: Caption, or the percentage as "25 %" with AutoCaption.
    QString ShownCaption() const;

protected:
    void FrameStyleChanged(const TFrameStyle&) override { update(); }
    void paintEvent(QPaintEvent* event) override;
    QSize sizeHint() const override { return { 100, 18 }; }

private:
    void NormaliseRange();

    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
    QColor color_;
    QColor backColor_;
    int brightness_ = -100;
    bool showCaption_ = false;
    bool autoCaption_ = false;
    bool snapCaption_ = false;
    QString caption_;
    QColor fontColor_;
};
