#pragma once
// TNiceCheckBox: a check box drawn like the program's buttons: a shaded square box with a
// tick, the caption beside it. A click flips Checked, then OnClick fires.
#include "ui/gradientbutton.h"

class TNiceCheckBox : public TGradientButton {
    Q_OBJECT
    Q_PROPERTY(bool Checked READ isChecked WRITE SetChecked)
    Q_PROPERTY(QColor Color READ BackgroundColor WRITE SetColor)
    Q_PROPERTY(QColor ButtonColor READ ButtonColor WRITE SetButtonColor)
    Q_PROPERTY(QColor CheckColor READ CheckColor WRITE SetCheckColor)

public:
    explicit TNiceCheckBox(QWidget* parent = nullptr);

    bool Checked() const { return isChecked(); }
    void SetChecked(bool checked);
    QColor ButtonColor() const { return buttonColor_; }
    void SetButtonColor(const QColor& color);
    QColor CheckColor() const { return checkColor_; }
    void SetCheckColor(const QColor& color);

    // The background: the colour set by SetColor, or the parent's colour until one is set.
    QColor BackgroundColor() const;
    void SetColor(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;
    QSize sizeHint() const override;

private:
    QColor buttonColor_;
    QColor checkColor_;
    bool ownColor_ = false;
};
