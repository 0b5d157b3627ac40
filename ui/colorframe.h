#pragma once
// TColorFrame: an etched frame with an optional caption in its top line. It only draws;
// the mouse passes through it to what lies beneath.
#include <QWidget>

class TColorFrame : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QColor TopColor READ TopColor WRITE SetTopColor)
    Q_PROPERTY(QColor BottomColor READ BottomColor WRITE SetBottomColor)
    Q_PROPERTY(bool ReverseColors READ ReverseColors WRITE SetReverseColors)
    Q_PROPERTY(bool AutoFrameColor READ AutoFrameColor WRITE SetAutoFrameColor)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int CaptionSpace READ CaptionSpace WRITE SetCaptionSpace)
    Q_PROPERTY(QColor Color READ Color WRITE SetColor)
    Q_PROPERTY(QColor FontColor READ FontColor WRITE SetFontColor)

public:
    explicit TColorFrame(QWidget* parent = nullptr);

    QColor TopColor() const { return topColor_; }
    void SetTopColor(const QColor& color);
    QColor BottomColor() const { return bottomColor_; }
    void SetBottomColor(const QColor& color);
    bool ReverseColors() const { return reverseColors_; }
    void SetReverseColors(bool reverse);
    bool AutoFrameColor() const { return autoFrameColor_; }
    void SetAutoFrameColor(bool automatic);
    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    int CaptionSpace() const { return captionSpace_; }
    void SetCaptionSpace(int space); // negative values become 0
    // The parent's colour until one is set.
    QColor Color() const;
    void SetColor(const QColor& color);
    QColor FontColor() const { return fontColor_; }
    void SetFontColor(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor topColor_;
    QColor bottomColor_;
    bool reverseColors_ = false;
    bool autoFrameColor_ = false;
    QString caption_;
    int captionSpace_ = 5;
    QColor color_; // invalid: the parent's colour
    QColor fontColor_;
};
