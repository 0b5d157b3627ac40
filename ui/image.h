#pragma once
// TImage: a picture control. Shows its picture at the top-left corner, centred or stretched
// (with Proportional, stretched to fit keeping its aspect ratio); with Transparent, the colour of the picture's
// bottom-left pixel is see-through.
#include <QImage>
#include <QWidget>

class TImage : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QImage Picture READ Picture WRITE SetPicture)
    Q_PROPERTY(bool Stretch READ Stretch WRITE SetStretch)
    Q_PROPERTY(bool Center READ Center WRITE SetCenter)
    Q_PROPERTY(bool Proportional READ Proportional WRITE SetProportional)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)

public:
    explicit TImage(QWidget* parent = nullptr);

    const QImage& Picture() const { return picture_; }
    void SetPicture(const QImage& picture);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool stretch);
    bool Center() const { return center_; }
    void SetCenter(bool center);
    bool Proportional() const { return proportional_; }
    void SetProportional(bool proportional);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
    bool stretch_ = false;
    bool center_ = false;
    bool proportional_ = false;
    bool transparent_ = false;
};
