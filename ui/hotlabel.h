#pragma once
// THotLabel: a label (often a link) that takes HotFont, HotColor and HotTransparent while
// the mouse is over it and gives back its own font, colours and transparency when it leaves.
// A link (Focusable) is a Tab stop: it looks hot while it has the focus, and Enter or Space
// clicks it.
#include <QColor>
#include <QFont>
#include <QLabel>

class THotLabel : public QLabel {
    Q_OBJECT
    Q_PROPERTY(QFont HotFont READ HotFont WRITE SetHotFont)
    Q_PROPERTY(QColor HotFontColor READ HotFontColor WRITE SetHotFontColor)
    Q_PROPERTY(QColor HotColor READ HotColor WRITE SetHotColor)
    Q_PROPERTY(bool HotTransparent READ HotTransparent WRITE SetHotTransparent)

public:
    explicit THotLabel(QWidget* parent = nullptr);

    QFont HotFont() const { return hotFont_; }
    void SetHotFont(const QFont& font);
    QColor HotFontColor() const { return hotFontColor_; }
    void SetHotFontColor(const QColor& color);
    QColor HotColor() const { return hotColor_; }
    void SetHotColor(const QColor& color);
    bool HotTransparent() const { return hotTransparent_; }
    void SetHotTransparent(bool transparent);
    bool Hot() const { return hot_; }
    // Makes the label a Tab stop that Enter and Space click.
    void SetFocusable(bool focusable);

Q_SIGNALS:
    void OnClick();
    void OnMouseEnter();
    void OnMouseLeave();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void SetHot(bool hot);

    QFont hotFont_;
    QColor hotFontColor_;
    QColor hotColor_;
    bool hotTransparent_ = false;
    bool hot_ = false;
    // What the label looked like before the mouse came.
    QFont ownFont_;
    QPalette ownPalette_;
    bool ownAutoFill_ = false;
};
