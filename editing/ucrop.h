#pragma once
// Tfcrop ("fcrop"): the crop window. It turns a photo by quarter turns and chooses the part to
// print with a frame of the print format's aspect, moved and resized with the mouse over the
// whole picture (faded outside the frame). "JAKOŚĆ !" warns when the chosen part has too few
// pixels for the print. Rotation and crop go to the photo only when accepted; a format
// chosen here stays even when the window is then cancelled.
#include "editing/cropframe.h"
#include "ui/formslot.h"

#include <QDialog>
#include <QImage>

#include <cstdint>
#include <functional>
#include <optional>

class QPainter;
class TGradientButton;
class THotLabel;
class TMousedPanel;
class TPaintBox;
class TShape;

class Tfcrop : public QDialog {
    Q_OBJECT
public:
    explicit Tfcrop(QWidget* parent = nullptr);

    // The whole cropping of one photo.
    void CropPhoto(int index);

    // Milliseconds of a steady clock; the double press is measured with it.
    using TClock = std::function<std::int64_t()>;
    void SetClock(TClock clock) { clock_ = std::move(clock); }

    int Rotation() const { return rotation_; }
    const CropFractions& Crop() const { return crop_; }
    // The frame and the picture on the paint box.
    TRect FrameOnScreen() const;
    TRect ImageOnScreen() const;

    // ---- controls ----
    TMousedPanel* MousedPanel1 = nullptr; // top bar
    TGradientButton* brotleft = nullptr; // "90 ° w lewo"
    TGradientButton* brotright = nullptr; // "90 ° w prawo"
    TGradientButton* bautocrop = nullptr; // "kadruj automatycznie"
    TGradientButton* bformat = nullptr;
    TGradientButton* bok = nullptr;
    TGradientButton* bcancel = nullptr;
    TPaintBox* draw = nullptr;
    TShape* shapeblack = nullptr;
    TShape* shapewhite = nullptr;
    THotLabel* lgranularity = nullptr; // "JAKOŚĆ !"

    // ---- handlers ----
    void brotleftClick();
    void brotrightClick();
    void bautocropClick();
    void bformatClick();
    void lgranularityClick();
    void drawPaint(QPainter& painter);
    void shapewhiteMouseDown(const QPoint& local, const QPoint& global);
    void shapewhiteMouseMove(const QPoint& local, const QPoint& global);
    void shapewhiteMouseUp(const QPoint& local, const QPoint& global);

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Turn(int step);
    void ReloadPicture();
    CropFractions AutoCrop() const;
    void Shade();
    void PlaceFrame();
    void ShowFrame(const TRect& frame);
    // Moves the crop by about (dx, dy) screen pixels, kept on the picture, its size unchanged.
    void MoveFrameBy(int dx, int dy);
    // The crop as it now is: the shading, the picture and the frame.
    void ShowCrop();
    TDisplayTransform Transform() const;

    int photoIndex_ = -1;
    int rotation_ = 0;
    CropFractions crop_ { kNoCrop, 0, 0, 0, 0, 0 };
    QImage working_;
    QImage display_;
    bool formatChanged_ = false;

    TFrameZone dragMode_ = kNoDrag;
    QPoint dragStart_; // the cursor on the screen when the drag started
    TRect dragFrame_; // the frame when the drag started
    TRect frame_; // the frame shown now
    std::optional<TFrameMove> move_;
    std::int64_t lastPress_ = 0;
    TClock clock_;
    TFormSlotEntry<Tfcrop> slot_ { this };
};

inline Tfcrop& fcrop()
{
    return TFormSlot<Tfcrop>::Get();
}
