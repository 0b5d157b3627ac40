#pragma once
// TLine: a straight line as thick as its pen, across the middle of the control. The
// control's thickness (height of a horizontal line, width of a vertical one) always equals
// the pen width.
#include "skin/controltypes.h"

#include <QColor>
#include <QWidget>

class TLine : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QColor PenColor READ PenColor WRITE SetPenColor)
    Q_PROPERTY(int PenWidth READ PenWidth WRITE SetPenWidth)
    Q_PROPERTY(vd::TLineOrientation Orientation READ Orientation WRITE SetOrientation)

public:
    explicit TLine(QWidget* parent = nullptr);

    QColor PenColor() const { return penColor_; }
    void SetPenColor(const QColor& color);
    int PenWidth() const { return penWidth_; }
    void SetPenWidth(int width); // re-sizes the control
    vd::TLineOrientation Orientation() const { return orientation_; }
    void SetOrientation(vd::TLineOrientation orientation);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void FitThickness();

    QColor penColor_;
    int penWidth_ = 2;
    vd::TLineOrientation orientation_ = vd::LHorizontal;
};
