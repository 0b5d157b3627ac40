#pragma once
// TPaintBox: a surface that its window paints (OnPaint), and TShape: an outline of a given
// colour and width along the inside of its bounds, see-through inside. A shape passes the
// mouse through unless it is made to receive it; then it reports presses, moves (also
// without a button, for the cursor) and releases with the cursor's screen position.
#include <QColor>
#include <QPoint>
#include <QWidget>

class TPaintBox : public QWidget {
    Q_OBJECT
public:
    explicit TPaintBox(QWidget* parent = nullptr);

Q_SIGNALS:
    void OnPaint(QPainter& painter);

protected:
    void paintEvent(QPaintEvent* event) override;
};

class TShape : public QWidget {
    Q_OBJECT
public:
    TShape(QWidget* parent, const QColor& color, int penWidth, bool receivesMouse);

Q_SIGNALS:
    // local: inside the shape; global: on the screen.
    void OnMouseDown(const QPoint& local, const QPoint& global);
    void OnMouseMove(const QPoint& local, const QPoint& global);
    void OnMouseUp(const QPoint& local, const QPoint& global);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QColor color_;
    int penWidth_;
};
