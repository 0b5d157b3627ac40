#pragma once
// TImageView: a scrollable view of one picture at any scale, drawn with nearest-neighbour
// sampling, centred when smaller than the view, grey (127) around it.
#include <QAbstractScrollArea>
#include <QImage>

class TImageView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TImageView(QWidget* parent = nullptr);

    const QImage& Picture() const { return picture_; }
    void SetPicture(const QImage& picture);
    double Scale() const { return scale_; }
    void SetScale(double scale);
    // The largest scale at which the whole picture fits the view (also above 1).
    double FitScale() const;

Q_SIGNALS:
    void ViewChanged(); // picture or scale
    void WheelTurned(int steps); // positive: toward the user

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void UpdateScrollBars();
    QSize ScaledSize() const;

    QImage picture_;
    double scale_ = 1.0;
    int wheelRest_ = 0;
};
