#include "project/thumbview.h"

#include "core/core.h"
#include "core/coreobjects.h"
#include "lab/formats.h"
#include "project/celltexts.h"
#include "project/selection.h"
#include "project/thumbcell.h"
#include "project/uvdimage.h"
#include "skin/skinner.h"
#include "ui/image.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyleOptionFocusRect>
#include <QUrl>

namespace {

QColor SkinColor(const char* name)
{
    return Core().skinner->GetColor(QLatin1String(name));
}

TVDImage& Project()
{
    return *Core().vdimage;
}

// The window exists before the core objects are built and after they are gone; until then
// it shows an empty grid.
bool CoreReady()
{
    const TCoreObjects& core = Core();
    return core.config && core.vdimage && core.formats && core.skinner;
}

QStringList LocalFiles(const QMimeData* data)
{
    QStringList paths;
    if (!data->hasUrls())
        return paths;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile())
            paths << url.toLocalFile();
    return paths;
}

} // namespace

TThumbView::TThumbView(QScrollArea* scrollBox)
    : QWidget(scrollBox)
    , scrollBox_(scrollBox)
{
    setObjectName(QStringLiteral("draw"));
    setFocusPolicy(Qt::StrongFocus);
    setAcceptDrops(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TThumbView::SetPictures(const TImage* locked, const TImage* lowQuality, const TImage* splash)
{
    locked_ = locked;
    lowQuality_ = lowQuality;
    splash_ = splash;
    update();
}

TThumbGrid TThumbView::Grid() const
{
    return TThumbGrid(*Core().config);
}

int TThumbView::Columns() const
{
    return Grid().Columns(width());
}

int TThumbView::HitTest(int x, int y) const
{
    if (!CoreReady())
        return -1;
    return Grid().HitTest(x, y, Project().Count(), Columns());
}

int TThumbView::VisibleTop() const
{
    return scrollBox_->verticalScrollBar()->value();
}

int TThumbView::VisibleHeight() const
{
    return scrollBox_->viewport()->height();
}

void TThumbView::RepaintCell(int index)
{
    if (!CoreReady() || index < 0 || index >= Project().Count())
        return;
    const QRect cell = Grid().CellRect(index, Columns());
    if (cell.bottom() >= VisibleTop() && cell.top() < VisibleTop() + VisibleHeight())
        update(cell);
}

void TThumbView::UpdateScrollRange()
{
    // The scroll bar shows only when there is something to scroll: the grid takes the box's
    // whole width when its rows fit in the box, else the width beside the scroll bar.
    const QSize box = scrollBox_->contentsRect().size();
    if (!CoreReady()) {
        resize(box);
        return;
    }
    const TThumbGrid grid = Grid();
    const int count = Project().Count();
    int width = box.width();
    int range = grid.ScrollRange(count, grid.Columns(width));
    if (range > box.height()) {
        width = std::max(width - scrollBox_->verticalScrollBar()->sizeHint().width(), 0);
        range = grid.ScrollRange(count, grid.Columns(width));
    }
    resize(width, std::max(range, box.height()));
}

QStringList TThumbView::ShownTexts(int index) const
{
    // A text wider than the cell ends in "…" instead of losing letters at both ends.
    const TConfig& config = *Core().config;
    return FitCellTexts(CellTexts(Project(), index, config, *Core().formats), fontMetrics(), config.cellWidth);
}

void TThumbView::EnsureVisible(int index)
{
    if (!CoreReady() || index < 0 || index >= Project().Count())
        return;
    const TThumbGrid grid = Grid();
    const QRect cell = grid.CellRect(index, Columns());
    scrollBox_->ensureVisible(
        cell.center().x(), cell.center().y(), cell.width() / 2 + grid.Space(), cell.height() / 2 + grid.Space());
}

void TThumbView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect area = event->rect();
    if (!CoreReady()) {
        painter.fillRect(area, palette().window());
        return;
    }
    painter.fillRect(area, SkinColor("background"));
    TVDImage& project = Project();
    if (project.Count() == 0) {
        const QRect visible(0, VisibleTop(), width(), VisibleHeight());
        const QImage& splash = splash_->Picture();
        QRect picture(QPoint(), splash.size());
        picture.moveCenter(visible.center());
        painter.drawImage(picture.topLeft(), splash);
        return;
    }
    const TThumbGrid grid = Grid();
    const int columns = grid.Columns(width());
    int first = 0, end = 0;
    grid.VisibleRange(area.top(), area.height(), project.Count(), columns, first, end);
    for (int i = first; i < end; ++i)
        PaintCell(painter, i, grid.CellOrigin(i, columns));
}

void TThumbView::PaintCell(QPainter& painter, int index, const QPoint& origin)
{
    const TVDImage& project = Project();
    const TConfig& config = *Core().config;
    const TPhoto& photo = project.Photo(index);
    const TThumbCell cell { origin, QSize(config.cellWidth, config.cellHeight),
        QSize(config.thumbbitmapwidth, config.thumbbitmapheight), config.thumbborder, photo.selected,
        CellTexts(project, index, config, *Core().formats) };
    PaintThumbCell(painter, *Core().skinner, cell, [this, &photo](QPainter& cellPainter, const QRect& pictureArea) {
        if (photo.thumbPending) {
            cellPainter.drawImage(pictureArea.topLeft(), locked_->Picture());
            return;
        }
        QRect placed(QPoint(), photo.thumbnail.size());
        placed.moveCenter(pictureArea.center());
        cellPainter.drawImage(placed.topLeft(), photo.thumbnail);
        if (photo.lowQuality)
            cellPainter.drawImage(placed.topLeft(), lowQuality_->Picture());
    });

    if (index == project.focus && hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = QRect(cell.origin, cell.size).adjusted(2, 2, -2, -2);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

void TThumbView::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    if (!CoreReady())
        return;
    const int index = HitTest(event->position().toPoint().x(), event->position().toPoint().y());
    if (index < 0)
        return;
    if (event->button() == Qt::LeftButton) {
        TVDImage& project = Project();
        if (event->modifiers() & Qt::ShiftModifier) {
            MoveFocusTo(project, index, true, ExtendAnchor(index));
            update();
        } else {
            const int previous = project.focus;
            if (ClickPhoto(project, index, event->modifiers() & Qt::ControlModifier))
                update();
            RepaintCell(previous);
            RepaintCell(index);
            anchor_ = index;
        }
        placedFocus_ = index;
    }
    Q_EMIT SelectionChanged();
}

void TThumbView::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The first click of the two has focused the photo; the second one opens it.
    if (event->button() == Qt::LeftButton && CoreReady()
        && HitTest(event->position().toPoint().x(), event->position().toPoint().y()) >= 0)
        Q_EMIT OpenPressed();
}

int TThumbView::ExtendAnchor(int target)
{
    const TVDImage& project = Project();
    if (anchor_ < 0 || anchor_ >= project.Count() || project.focus != placedFocus_)
        anchor_ = project.focus >= 0 ? project.focus : target;
    return anchor_;
}

void TThumbView::MoveFocus(TGridMove move, bool extend)
{
    TVDImage& project = Project();
    const int pageRows = std::max(VisibleHeight() / (Grid().CellHeight() + Grid().Space()), 1);
    const int target = MovedFocus(project.focus, move, project.Count(), Columns(), pageRows);
    if (target < 0)
        return;
    if (!extend)
        anchor_ = target;
    MoveFocusTo(project, target, extend, extend ? ExtendAnchor(target) : target);
    placedFocus_ = target;
    update();
    EnsureVisible(target);
    Q_EMIT SelectionChanged();
}

void TThumbView::keyPressEvent(QKeyEvent* event)
{
    if (!CoreReady()) {
        QWidget::keyPressEvent(event);
        return;
    }
    static const struct {
        int key;
        TGridMove move;
    } moves[] = {
        { Qt::Key_Left, TGridMove::Left },
        { Qt::Key_Right, TGridMove::Right },
        { Qt::Key_Up, TGridMove::Up },
        { Qt::Key_Down, TGridMove::Down },
        { Qt::Key_PageUp, TGridMove::PageUp },
        { Qt::Key_PageDown, TGridMove::PageDown },
        { Qt::Key_Home, TGridMove::Home },
        { Qt::Key_End, TGridMove::End },
    };
    for (const auto& entry : moves) {
        if (event->key() == entry.key) {
            MoveFocus(entry.move, event->modifiers() & Qt::ShiftModifier);
            return;
        }
    }
    switch (event->key()) {
    case Qt::Key_Space:
        ToggleFocused(Project());
        RepaintCell(Project().focus);
        Q_EMIT SelectionChanged();
        return;
    case Qt::Key_Delete:
        Q_EMIT DeletePressed();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Q_EMIT OpenPressed();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

// The focused cell shows the focus rectangle only while the grid has the keyboard focus.
void TThumbView::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    if (CoreReady())
        RepaintCell(Project().focus);
}

void TThumbView::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    if (CoreReady())
        RepaintCell(Project().focus);
}

void TThumbView::dragEnterEvent(QDragEnterEvent* event)
{
    if (!LocalFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TThumbView::dropEvent(QDropEvent* event)
{
    const QStringList paths = LocalFiles(event->mimeData());
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    Q_EMIT FilesDropped(paths);
}
