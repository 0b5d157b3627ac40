#pragma once
// TAdvProgressBar: a progress bar painted with colour gradients (or flat colours) for its
// filled and empty parts, an optional caption (its own or the percentage) and a border.
#include "skin/controltypes.h"

#include <QColor>
#include <QWidget>

class TAdvProgressBar : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int Min READ Min WRITE SetMin)
    Q_PROPERTY(int Max READ Max WRITE SetMax)
    Q_PROPERTY(int Position READ Position WRITE SetPosition)
    Q_PROPERTY(vd::TFillType ForegroundFillType READ ForegroundFillType WRITE SetForegroundFillType)
    Q_PROPERTY(vd::TFillType BackgroundFillType READ BackgroundFillType WRITE SetBackgroundFillType)
    Q_PROPERTY(QColor ForegroundColor READ ForegroundColor WRITE SetForegroundColor)
    Q_PROPERTY(QColor ForegroundEndingColor READ ForegroundEndingColor WRITE SetForegroundEndingColor)
    Q_PROPERTY(QColor BackgroundColor READ BackgroundColor WRITE SetBackgroundColor)
    Q_PROPERTY(QColor BackgroundEndingColor READ BackgroundEndingColor WRITE SetBackgroundEndingColor)
    Q_PROPERTY(vd::TGradientDirection GradientDirection READ GradientDirection WRITE SetGradientDirection)
    Q_PROPERTY(vd::TGradientMode GradientMode READ GradientMode WRITE SetGradientMode)
    Q_PROPERTY(vd::TBarBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
    Q_PROPERTY(int BorderWidth READ BorderWidth WRITE SetBorderWidth)
    Q_PROPERTY(QColor BorderDarkColor READ BorderDarkColor WRITE SetBorderDarkColor)
    Q_PROPERTY(QColor BorderLightColor READ BorderLightColor WRITE SetBorderLightColor)
    Q_PROPERTY(bool ShowCaption READ ShowCaption WRITE SetShowCaption)
    Q_PROPERTY(bool AutoCaption READ AutoCaption WRITE SetAutoCaption)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(bool TextTransparent READ TextTransparent WRITE SetTextTransparent)
    Q_PROPERTY(QColor TextBackgroundColor READ TextBackgroundColor WRITE SetTextBackgroundColor)
    Q_PROPERTY(QColor FontColor READ FontColor WRITE SetFontColor)

public:
    explicit TAdvProgressBar(QWidget* parent = nullptr);

    int Min() const { return min_; }
    void SetMin(int min);
    int Max() const { return max_; }
    void SetMax(int max);
    int Position() const { return position_; }
    void SetPosition(int position); // repaints at once
    vd::TFillType ForegroundFillType() const { return foregroundFillType_; }
    void SetForegroundFillType(vd::TFillType type);
    vd::TFillType BackgroundFillType() const { return backgroundFillType_; }
    void SetBackgroundFillType(vd::TFillType type);
    QColor ForegroundColor() const { return foregroundColor_; }
    void SetForegroundColor(const QColor& color);
    QColor ForegroundEndingColor() const { return foregroundEndingColor_; }
    void SetForegroundEndingColor(const QColor& color);
    QColor BackgroundColor() const { return backgroundColor_; }
    void SetBackgroundColor(const QColor& color);
    QColor BackgroundEndingColor() const { return backgroundEndingColor_; }
    void SetBackgroundEndingColor(const QColor& color);
    vd::TGradientDirection GradientDirection() const { return gradientDirection_; }
    void SetGradientDirection(vd::TGradientDirection direction);
    vd::TGradientMode GradientMode() const { return gradientMode_; }
    void SetGradientMode(vd::TGradientMode mode);
    vd::TBarBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(vd::TBarBorderStyle style);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int width);
    QColor BorderDarkColor() const { return borderDarkColor_; }
    void SetBorderDarkColor(const QColor& color);
    QColor BorderLightColor() const { return borderLightColor_; }
    void SetBorderLightColor(const QColor& color);
    bool ShowCaption() const { return showCaption_; }
    void SetShowCaption(bool show);
    bool AutoCaption() const { return autoCaption_; }
    void SetAutoCaption(bool automatic);
    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    bool TextTransparent() const { return textTransparent_; }
    void SetTextTransparent(bool transparent);
    QColor TextBackgroundColor() const { return textBackgroundColor_; }
    void SetTextBackgroundColor(const QColor& color);
    QColor FontColor() const { return fontColor_; }
    void SetFontColor(const QColor& color);

    // Width of the filled part and the caption drawn, for the present range and position.
    int FilledWidth() const;
    QString ShownCaption() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    QSize sizeHint() const override { return { 200, 20 }; }

private:
    int RangeMax() const; // Max, or Min + 1 when Max is below Min
    int ClampedPosition() const;

    int min_ = 0;
    int max_ = 100;
    int position_ = 50;
    vd::TFillType foregroundFillType_ = vd::btGradient;
    vd::TFillType backgroundFillType_ = vd::btGradient;
    QColor foregroundColor_ = QColor(255, 0, 0);
    QColor foregroundEndingColor_ = QColor(0, 0, 255);
    QColor backgroundColor_ = QColor(128, 0, 0);
    QColor backgroundEndingColor_ = QColor(0, 0, 128);
    vd::TGradientDirection gradientDirection_ = vd::gdHorizontal;
    vd::TGradientMode gradientMode_ = vd::gmWhole;
    vd::TBarBorderStyle borderStyle_ = vd::bsSingle;
    int borderWidth_ = 1;
    QColor borderDarkColor_;
    QColor borderLightColor_;
    bool showCaption_ = false;
    bool autoCaption_ = false;
    QString caption_;
    bool textTransparent_ = true;
    QColor textBackgroundColor_ = QColor(255, 255, 255);
    QColor fontColor_;
};
