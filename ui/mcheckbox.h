#pragma once
// TMCheckBox: a check box with a square dot area; the dot is filled when Checked. A click
// flips Checked, repaints, then fires OnClick.
#include <QAbstractButton>
#include <QColor>

class TMCheckBox : public QAbstractButton {
    Q_OBJECT
    Q_PROPERTY(bool Checked READ isChecked WRITE setChecked)
    Q_PROPERTY(QColor BorderColor READ BorderColor WRITE SetBorderColor)
    Q_PROPERTY(QColor SelectedColor READ SelectedColor WRITE SetSelectedColor)
    Q_PROPERTY(QColor DotAreaColor READ DotAreaColor WRITE SetDotAreaColor)
    Q_PROPERTY(QColor HotDotAreaColor READ HotDotAreaColor WRITE SetHotDotAreaColor)
    Q_PROPERTY(int DotAreaSize READ DotAreaSize WRITE SetDotAreaSize)
    Q_PROPERTY(int DotSize READ DotSize WRITE SetDotSize)
    Q_PROPERTY(QString Caption READ text WRITE setText)
    Q_PROPERTY(QColor Color READ Color WRITE SetColor)
    Q_PROPERTY(QColor FontColor READ FontColor WRITE SetFontColor)

public:
    explicit TMCheckBox(QWidget* parent = nullptr);

    QColor BorderColor() const { return borderColor_; }
    void SetBorderColor(const QColor& color);
    QColor SelectedColor() const { return selectedColor_; }
    void SetSelectedColor(const QColor& color);
    QColor DotAreaColor() const { return dotAreaColor_; }
    void SetDotAreaColor(const QColor& color);
    QColor HotDotAreaColor() const { return hotDotAreaColor_; }
    void SetHotDotAreaColor(const QColor& color);
    int DotAreaSize() const { return dotAreaSize_; }
    void SetDotAreaSize(int size);
    int DotSize() const { return dotSize_; }
    void SetDotSize(int size);
    // The parent's colour until one is set.
    QColor Color() const;
    void SetColor(const QColor& color);
    QColor FontColor() const { return fontColor_; }
    void SetFontColor(const QColor& color);

Q_SIGNALS:
    void OnClick();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    QSize sizeHint() const override { return { 64, 16 }; }

private:
    QColor borderColor_;
    QColor selectedColor_;
    QColor dotAreaColor_ = QColor(255, 255, 255);
    QColor hotDotAreaColor_ = QColor(166, 202, 240);
    int dotAreaSize_ = 12;
    int dotSize_ = 6;
    QColor color_; // invalid: the parent's colour
    QColor fontColor_;
    bool hot_ = false;
};
