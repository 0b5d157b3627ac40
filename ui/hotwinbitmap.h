#pragma once
// THotWinBitmap: a flat bitmap button with four looks (normal, hot, selected, hot and
// selected), each with its own picture, colour and font; hot follows the mouse (or the
// press, with hmMousePress) and the focus. Enter or space fires OnClick.
#include "skin/controltypes.h"

#include <QAbstractButton>
#include <QColor>
#include <QFont>
#include <QImage>

class THotWinBitmap : public QAbstractButton {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ text WRITE SetCaption)
    Q_PROPERTY(Qt::Alignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)
    Q_PROPERTY(int Margin READ Margin WRITE SetMargin)
    Q_PROPERTY(QColor FontColor READ FontColor WRITE SetFontColor)
    Q_PROPERTY(QFont HotFont READ HotFont WRITE SetHotFont)
    Q_PROPERTY(QColor HotFontColor READ HotFontColor WRITE SetHotFontColor)
    Q_PROPERTY(QFont SelectedFont READ SelectedFont WRITE SetSelectedFont)
    Q_PROPERTY(QColor SelectedFontColor READ SelectedFontColor WRITE SetSelectedFontColor)
    Q_PROPERTY(QFont HotSelFont READ HotSelFont WRITE SetHotSelFont)
    Q_PROPERTY(QColor HotSelFontColor READ HotSelFontColor WRITE SetHotSelFontColor)
    Q_PROPERTY(QColor Color READ Color WRITE SetColor)
    Q_PROPERTY(QColor HotColor READ HotColor WRITE SetHotColor)
    Q_PROPERTY(QColor SelectedColor READ SelectedColor WRITE SetSelectedColor)
    Q_PROPERTY(QColor HotSelColor READ HotSelColor WRITE SetHotSelColor)
    Q_PROPERTY(QImage Bitmap READ Bitmap WRITE SetBitmap)
    Q_PROPERTY(QImage HotBitmap READ HotBitmap WRITE SetHotBitmap)
    Q_PROPERTY(QImage SelectedBitmap READ SelectedBitmap WRITE SetSelectedBitmap)
    Q_PROPERTY(QImage HotSelBitmap READ HotSelBitmap WRITE SetHotSelBitmap)
    Q_PROPERTY(int BitmapMargin READ BitmapMargin WRITE SetBitmapMargin)
    Q_PROPERTY(bool BitmapTransparent READ BitmapTransparent WRITE SetBitmapTransparent)
    Q_PROPERTY(vd::TDrawMode DrawMode READ DrawMode WRITE SetDrawMode)
    Q_PROPERTY(vd::TSimpleBorderStyle Border READ Border WRITE SetBorder)
    Q_PROPERTY(QColor BorderTopColor READ BorderTopColor WRITE SetBorderTopColor)
    Q_PROPERTY(QColor BorderBottomColor READ BorderBottomColor WRITE SetBorderBottomColor)
    Q_PROPERTY(bool Selected READ Selected WRITE SetSelected)
    Q_PROPERTY(bool Moused READ Moused WRITE SetMoused)
    Q_PROPERTY(bool Advanced READ Advanced WRITE SetAdvanced)
    Q_PROPERTY(vd::THotTrackMethod HotTrackMethod READ HotTrackMethod WRITE SetHotTrackMethod)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)

public:
    explicit THotWinBitmap(QWidget* parent = nullptr);

    void SetCaption(const QString& caption);
    Qt::Alignment Alignment() const { return alignment_; }
    void SetAlignment(Qt::Alignment alignment);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wrap);
    int Margin() const { return margin_; }
    void SetMargin(int margin);
    QColor FontColor() const { return fontColor_; }
    void SetFontColor(const QColor& color);
    QFont HotFont() const { return hotFont_; }
    void SetHotFont(const QFont& font);
    QColor HotFontColor() const { return hotFontColor_; }
    void SetHotFontColor(const QColor& color);
    QFont SelectedFont() const { return selectedFont_; }
    void SetSelectedFont(const QFont& font);
    QColor SelectedFontColor() const { return selectedFontColor_; }
    void SetSelectedFontColor(const QColor& color);
    QFont HotSelFont() const { return hotSelFont_; }
    void SetHotSelFont(const QFont& font);
    QColor HotSelFontColor() const { return hotSelFontColor_; }
    void SetHotSelFontColor(const QColor& color);
    QColor Color() const { return color_; }
    void SetColor(const QColor& color);
    QColor HotColor() const { return hotColor_; }
    void SetHotColor(const QColor& color);
    QColor SelectedColor() const { return selectedColor_; }
    void SetSelectedColor(const QColor& color);
    QColor HotSelColor() const { return hotSelColor_; }
    void SetHotSelColor(const QColor& color);
    const QImage& Bitmap() const { return bitmap_; }
    void SetBitmap(const QImage& bitmap); // with AutoSize, the control takes its size
    const QImage& HotBitmap() const { return hotBitmap_; }
    void SetHotBitmap(const QImage& bitmap);
    const QImage& SelectedBitmap() const { return selectedBitmap_; }
    void SetSelectedBitmap(const QImage& bitmap);
    const QImage& HotSelBitmap() const { return hotSelBitmap_; }
    void SetHotSelBitmap(const QImage& bitmap);
    int BitmapMargin() const { return bitmapMargin_; }
    void SetBitmapMargin(int margin);
    bool BitmapTransparent() const { return bitmapTransparent_; }
    void SetBitmapTransparent(bool transparent);
    vd::TDrawMode DrawMode() const { return drawMode_; }
    void SetDrawMode(vd::TDrawMode mode);
    vd::TSimpleBorderStyle Border() const { return border_; }
    void SetBorder(vd::TSimpleBorderStyle border);
    QColor BorderTopColor() const { return borderTopColor_; }
    void SetBorderTopColor(const QColor& color);
    QColor BorderBottomColor() const { return borderBottomColor_; }
    void SetBorderBottomColor(const QColor& color);
    bool Selected() const { return selected_; }
    void SetSelected(bool selected);
    bool Moused() const { return moused_; }
    void SetMoused(bool moused); // fires OnMouseEnter or OnMouseLeave when it changes
    bool Advanced() const { return advanced_; }
    void SetAdvanced(bool advanced);
    vd::THotTrackMethod HotTrackMethod() const { return hotTrackMethod_; }
    void SetHotTrackMethod(vd::THotTrackMethod method);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);

Q_SIGNALS:
    void OnClick();
    void OnMouseEnter();
    void OnMouseLeave();
    void OnMouseDown();
    void OnMouseUp();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    QSize sizeHint() const override { return { 80, 24 }; }

private:
    struct TLook {
        const QImage& picture;
        QColor color;
        const QFont& font;
        QColor fontColor;
    };
    TLook StateLook() const;

    Qt::Alignment alignment_ = Qt::AlignHCenter;
    bool wordWrap_ = false;
    int margin_ = 5;
    QColor fontColor_;
    QFont hotFont_;
    QColor hotFontColor_;
    QFont selectedFont_;
    QColor selectedFontColor_;
    QFont hotSelFont_;
    QColor hotSelFontColor_;
    QColor color_;
    QColor hotColor_;
    QColor selectedColor_;
    QColor hotSelColor_;
    QImage bitmap_;
    QImage hotBitmap_;
    QImage selectedBitmap_;
    QImage hotSelBitmap_;
    int bitmapMargin_ = 4;
    bool bitmapTransparent_ = false;
    vd::TDrawMode drawMode_ = vd::dmOpaque;
    vd::TSimpleBorderStyle border_ = vd::sbsSunken;
    QColor borderTopColor_;
    QColor borderBottomColor_;
    bool selected_ = false;
    bool moused_ = false;
    bool advanced_ = false;
    vd::THotTrackMethod hotTrackMethod_ = vd::hmMouseMove;
    bool autoSize_ = false;
};
