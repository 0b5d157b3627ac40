#include "editing/ucrop.h"

#include "core/core.h"
#include "core/coreobjects.h"
#include "editing/paintbox.h"
#include "editing/uformat.h"
#include "imaging/colour.h"
#include "project/uvdimage.h"
#include "ui/designfonts.h"
#include "ui/gradientbutton.h"
#include "ui/hotlabel.h"
#include "ui/keyboardwindow.h"
#include "ui/mousedpanel.h"
#include "ui/pictures.h"
#include "ui/umydialog.h"
#include "ui/windowparts.h"

#include <QKeyEvent>
#include <QPainter>

#include <chrono>
#include <cmath>

namespace {

constexpr int kTopBarHeight = 37;
// Two presses closer than this accept the crop (a double click).
constexpr std::int64_t kDoublePressMs = 200;
constexpr int kHandDragCursorSlot = 5;
// The black border reaches this far outside the white frame.
constexpr int kBlackMargin = 2;

TVDImage& Project()
{
    return *Core().vdimage;
}

std::int64_t SteadyMilliseconds()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

QCursor ZoneCursor(TFrameZone zone)
{
    switch (zone) {
    case kTopLeft:
    case kBottomRight:
        return Qt::SizeFDiagCursor;
    case kTopRight:
    case kBottomLeft:
        return Qt::SizeBDiagCursor;
    default:
        return CursorForSlot(kHandDragCursorSlot);
    }
}

} // namespace

Tfcrop::Tfcrop(QWidget* parent)
    : QDialog(parent)
    , clock_(&SteadyMilliseconds)
{
    setObjectName(QStringLiteral("fcrop"));
    setWindowTitle(QStringLiteral("Kadruj"));
    setFont(DesignFont(QStringLiteral("Tahoma"), 8));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setSizeGripEnabled(true);
    setModal(true);
    resize(672, 520);
    CentreOnScreen(this);

    MousedPanel1 = MakeNamed<TMousedPanel>(this, "MousedPanel1");
    brotleft = MakeTextButton(MousedPanel1, "brotleft", QStringLiteral("90 ° w lewo"), QRect(6, 6, 90, 25));
    brotright = MakeTextButton(MousedPanel1, "brotright", QStringLiteral("90 ° w prawo"), QRect(100, 6, 90, 25));
    bautocrop
        = MakeTextButton(MousedPanel1, "bautocrop", QStringLiteral("kadruj automatycznie"), QRect(194, 6, 130, 25));
    bformat = MakeTextButton(MousedPanel1, "bformat", QStringLiteral("format"), QRect(328, 6, 70, 25));
    bok = MakeTextButton(MousedPanel1, "bok", QStringLiteral("AKCEPTUJ"), QRect(402, 6, 90, 25));
    bcancel = MakeTextButton(MousedPanel1, "bcancel", QStringLiteral("ANULUJ"), QRect(496, 6, 90, 25));
    connect(brotleft, &TGradientButton::OnClick, this, &Tfcrop::brotleftClick);
    connect(brotright, &TGradientButton::OnClick, this, &Tfcrop::brotrightClick);
    connect(bautocrop, &TGradientButton::OnClick, this, &Tfcrop::bautocropClick);
    connect(bformat, &TGradientButton::OnClick, this, &Tfcrop::bformatClick);
    connect(bok, &TGradientButton::OnClick, this, &QDialog::accept);
    connect(bcancel, &TGradientButton::OnClick, this, &QDialog::reject);

    draw = MakeNamed<TPaintBox>(this, "draw");
    connect(draw, &TPaintBox::OnPaint, this, &Tfcrop::drawPaint);
    shapeblack = new TShape(draw, Qt::black, 6, false);
    shapeblack->setObjectName(QStringLiteral("shapeblack"));
    shapewhite = new TShape(draw, Qt::white, 2, true);
    shapewhite->setObjectName(QStringLiteral("shapewhite"));
    connect(shapewhite, &TShape::OnMouseDown, this, &Tfcrop::shapewhiteMouseDown);
    connect(shapewhite, &TShape::OnMouseMove, this, &Tfcrop::shapewhiteMouseMove);
    connect(shapewhite, &TShape::OnMouseUp, this, &Tfcrop::shapewhiteMouseUp);

    lgranularity = MakeNamed<THotLabel>(draw, "lgranularity", QRect(0, 0, 70, 20));
    lgranularity->setText(QStringLiteral("JAKOŚĆ !"));
    lgranularity->setAlignment(Qt::AlignCenter);
    lgranularity->setCursor(Qt::PointingHandCursor);
    lgranularity->hide();
    connect(lgranularity, &THotLabel::OnClick, this, &Tfcrop::lgranularityClick);
    lgranularity->SetFocusable(true);
    SetDefaultButtons(this, { bok });
    UseFromKeyboard(this);
    // The arrows move the frame whichever control holds the focus (a button would move the
    // focus with them).
    for (QWidget* control : findChildren<QWidget*>())
        control->installEventFilter(this);
}

bool Tfcrop::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    if (modifiers != Qt::NoModifier && modifiers != Qt::ShiftModifier)
        return false;
    constexpr int kLongStep = 10; // with Shift
    const int step = modifiers == Qt::ShiftModifier ? kLongStep : 1;
    switch (key->key()) {
    case Qt::Key_Left:
        MoveFrameBy(-step, 0);
        return true;
    case Qt::Key_Right:
        MoveFrameBy(step, 0);
        return true;
    case Qt::Key_Up:
        MoveFrameBy(0, -step);
        return true;
    case Qt::Key_Down:
        MoveFrameBy(0, step);
        return true;
    default:
        return false;
    }
}

void Tfcrop::CropPhoto(int index)
{
    TVDImage& project = Project();
    if (index < 0 || index >= project.Count())
        return;
    const Corrections record = project.GetCorrections(index);
    photoIndex_ = index;
    rotation_ = record.rotation;
    crop_ = record.crop;
    formatChanged_ = false;
    dragMode_ = kNoDrag;
    ReloadPicture();
    if (crop_.left < 0)
        crop_ = AutoCrop();
    Shade();
    PlaceFrame();
    const bool accepted = exec() == QDialog::Accepted;
    if (accepted) {
        Corrections stored = project.GetCorrections(index);
        stored.rotation = rotation_;
        stored.crop = crop_;
        project.SetCorrections(index, stored);
    }
    // A format chosen here has changed the photo even when the crop is not taken.
    if (accepted || formatChanged_)
        project.RefreshThumbnail(index);
    working_ = QImage();
    display_ = QImage();
}

// ---- picture and frame --------------------------------------------------------------------

void Tfcrop::ReloadPicture()
{
    TVDImage& project = Project();
    project.LoadPreview(photoIndex_, working_);
    RotateQuarter(working_, rotation_);
    ApplyCorrections(working_, project.GetCorrections(photoIndex_), false);
    display_ = working_;
}

CropFractions Tfcrop::AutoCrop() const
{
    const int format = Project().Photo(photoIndex_).formatId;
    const TRect bounds = PictureBounds(working_);
    return AutoCropFractions(format != -1 ? Project().OutputFormatRect(format) : bounds, bounds);
}

void Tfcrop::Shade()
{
    const TConfig& config = *Core().config;
    const TRect cropRect = FractionsToRect(crop_, working_.width(), working_.height());
    display_ = ShadeOutsideCrop(working_, cropRect, config.cropalpha, config.cropbackground);
    lgranularity->hide();
    const TVDImage& project = Project();
    const int format = project.Photo(photoIndex_).formatId;
    if (format == -1)
        return;
    int width = 0, height = 0;
    project.GetImageSize(photoIndex_, width, height);
    lgranularity->setVisible(CropEnlargement(project.OutputFormatRect(format), width, height, rotation_, crop_) > 1.0f);
}

TDisplayTransform Tfcrop::Transform() const
{
    return FitPictureInto({ 0, 0, draw->width(), draw->height() }, display_.width(), display_.height());
}

TRect Tfcrop::FrameOnScreen() const
{
    return ::FrameOnScreen(Transform(), display_.width(), display_.height(), crop_);
}

TRect Tfcrop::ImageOnScreen() const
{
    return ::ImageOnScreen(Transform(), display_.width(), display_.height());
}

void Tfcrop::PlaceFrame()
{
    if (display_.isNull())
        return;
    frame_ = FrameOnScreen();
    ShowFrame(frame_);
}

void Tfcrop::ShowFrame(const TRect& frame)
{
    shapewhite->setGeometry(frame.Left, frame.Top, frame.Width(), frame.Height());
    shapeblack->setGeometry(frame.Left - kBlackMargin, frame.Top - kBlackMargin, frame.Width() + 2 * kBlackMargin,
        frame.Height() + 2 * kBlackMargin);
}

void Tfcrop::drawPaint(QPainter& painter)
{
    painter.fillRect(draw->rect(), draw->palette().color(QPalette::Window));
    if (display_.isNull())
        return;
    TRect place = PictureBounds(display_);
    const TRect box { 0, 0, draw->width(), draw->height() };
    FitRect(box, place, true);
    CenterRect(box, place);
    StretchDraw(display_, PictureBounds(display_), place, false, painter);
}

void Tfcrop::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    lastPress_ = clock_();
    PlaceFrame();
}

void Tfcrop::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    MousedPanel1->setGeometry(0, 0, width(), kTopBarHeight);
    draw->setGeometry(0, kTopBarHeight, width(), height() - kTopBarHeight);
    PlaceFrame();
}

// ---- buttons ------------------------------------------------------------------------------

void Tfcrop::Turn(int step)
{
    rotation_ = (rotation_ + step + 4) % 4;
    ReloadPicture();
    crop_ = AutoCrop(); // a turn always discards the manual crop
    Shade();
    draw->update();
    PlaceFrame();
}

void Tfcrop::brotleftClick()
{
    Turn(-1);
}

void Tfcrop::brotrightClick()
{
    Turn(1);
}

void Tfcrop::bautocropClick()
{
    crop_ = AutoCrop();
    Shade();
    PlaceFrame();
    draw->update();
}

void Tfcrop::bformatClick()
{
    const int format = fformat().PickFormat(false);
    if (format < 0)
        return;
    TVDImage& project = Project();
    project.SetFormat(photoIndex_, format);
    formatChanged_ = true;
    const Corrections record = project.GetCorrections(photoIndex_);
    rotation_ = record.rotation;
    crop_ = record.crop;
    ReloadPicture();
    if (crop_.left < 0)
        crop_ = AutoCrop();
    Shade();
    PlaceFrame();
    draw->update();
}

void Tfcrop::lgranularityClick()
{
    fdialog().Warning(QStringLiteral(
        "Jakość zdjęcia, lub obecne kadrowanie sprawia, że aby wygenerować zdjęcie musi ono zostać rozciągnięte. Taki "
        "proces może utworzyć \"ziarnistość\" na zdjęciu, w rezultacie pogarszając jego jakość."));
}

// ---- the frame and the mouse --------------------------------------------------------------

void Tfcrop::shapewhiteMouseDown(const QPoint& local, const QPoint& global)
{
    const std::int64_t now = clock_();
    if (now - lastPress_ < kDoublePressMs) {
        dragMode_ = kNoDrag;
        move_.reset();
        accept();
        return;
    }
    lastPress_ = now;
    dragMode_ = FrameZoneAt(local.x(), local.y(), shapewhite->width(), shapewhite->height());
    dragStart_ = global;
    dragFrame_ = frame_;
    if (dragMode_ == kMoveZone)
        move_.emplace(global.x(), global.y(), frame_, ImageOnScreen());
}

void Tfcrop::shapewhiteMouseMove(const QPoint& local, const QPoint& global)
{
    if (dragMode_ == kNoDrag) {
        shapewhite->setCursor(ZoneCursor(FrameZoneAt(local.x(), local.y(), shapewhite->width(), shapewhite->height())));
        return;
    }
    if (dragMode_ == kMoveZone) {
        frame_ = move_->FrameAt(global.x(), global.y());
        ShowFrame(frame_);
        return;
    }
    const TRect resized = ResizeFrame(dragFrame_, dragMode_, dragStart_.x() - global.x());
    if (!FrameFits(resized, ImageOnScreen()))
        return; // the frame stays at the last size that fitted
    frame_ = resized;
    ShowFrame(frame_);
}

void Tfcrop::shapewhiteMouseUp(const QPoint&, const QPoint&)
{
    if (dragMode_ == kNoDrag)
        return;
    dragMode_ = kNoDrag;
    move_.reset();
    crop_ = FrameToCrop(frame_, Transform(), display_.width(), display_.height());
    ShowCrop();
}

void Tfcrop::MoveFrameBy(int dx, int dy)
{
    if (dragMode_ != kNoDrag || display_.isNull())
        return;
    // One screen pixel in pixels of the picture, at least one.
    const float scale = Transform().scale;
    const int step = scale > 0 && scale < 1 ? int(std::lround(1 / scale)) : 1;
    crop_ = MoveCrop(crop_, dx * step, dy * step, display_.width(), display_.height());
    ShowCrop();
}

void Tfcrop::ShowCrop()
{
    Shade();
    draw->update();
    PlaceFrame();
}
