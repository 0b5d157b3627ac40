#include "ui/pagelistbox.h"

#include "core/typedlists.h"
#include "skin/drawrules.h"
#include "skin/pagebar.h"
#include "skin/syscolors.h"
#include "ui/repaintingsetter.h"

#include <QKeyEvent>
#include <QMetaMethod>
#include <QPainter>

#include <algorithm>
#include <functional>

// One label of the page bar: centred text, the hand cursor, a click shows its page. Labels
// are reused when the bar is rebuilt, since a click on one rebuilds the bar.
class TPageLabel : public QWidget {
public:
    TPageLabel(QWidget* parent, std::function<void(int)> showPage)
        : QWidget(parent)
        , showPage_(std::move(showPage))
    {
        setCursor(Qt::PointingHandCursor);
    }
    void SetLabel(const TPageBarLabel& label, const QFont& font, const QColor& fontColor, const QColor& background)
    {
        label_ = label;
        setFont(font);
        fontColor_ = fontColor;
        background_ = background;
        update();
    }
    const TPageBarLabel& Label() const { return label_; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        if (label_.current)
            painter.fillRect(rect(), background_);
        painter.setPen(fontColor_);
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, label_.text);
    }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            showPage_(label_.page);
    }

private:
    TPageBarLabel label_;
    std::function<void(int)> showPage_;
    QColor fontColor_;
    QColor background_;
};

TPageListBox::TPageListBox(QWidget* parent)
    : QWidget(parent)
    , color_(SysColor(TSysColor::Window))
    , selectedColor_(SysColor(TSysColor::Highlight))
    , selectedFontColor_(SysColor(TSysColor::HighlightText))
    , paColor_(SysColor(TSysColor::Window))
    , paSelectedColor_(SysColor(TSysColor::Highlight))
    , paFont_(font())
    , paFontColor_(SysColor(TSysColor::WindowText))
    , fontColor_(SysColor(TSysColor::WindowText))
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(200, 169);
}

TPageListBox::~TPageListBox() = default;

// ----- items, selection and pages -----

void TPageListBox::SetItems(const QStringList& items)
{
    items_ = items;
    Refresh();
}

void TPageListBox::AddItem(const QString& item)
{
    items_ << item;
    Refresh();
}

void TPageListBox::Clear()
{
    items_.clear();
    Refresh();
}

void TPageListBox::SetItemIndex(int index)
{
    index = std::max(index, -1);
    if (index > int(items_.size()) - 1)
        throw EListError("PageListBox itemindex out of Bounds !");
    if (index == itemIndex_)
        return;
    itemIndex_ = index;
    currentPage_ = index < 0 ? 0 : index / RowsPerPage();
    Refresh();
    Q_EMIT OnIndexChanged();
}

void TPageListBox::SetItemHeight(int height)
{
    itemHeight_ = std::max(height, 1);
    Refresh();
}

void TPageListBox::SetCurrentPage(int page)
{
    currentPage_ = page;
    Refresh();
}

int TPageListBox::RowsPerPage() const
{
    return ::RowsPerPage(RowsArea().height(), itemHeight_);
}

int TPageListBox::PageCount() const
{
    return ::PageCount(int(items_.size()), RowsPerPage());
}

void TPageListBox::Refresh()
{
    itemIndex_ = std::min(itemIndex_, int(items_.size()) - 1);
    currentPage_ = std::clamp(currentPage_, 0, std::max(PageCount() - 1, 0));
    RebuildLabels();
    update();
}

// ----- geometry and the page bar -----

QRect TPageListBox::ListArea() const
{
    return Shrunk(rect(), frame_.Thickness());
}

void TPageListBox::FrameStyleChanged(const TFrameStyle& before)
{
    if (before.Thickness() != frame_.Thickness())
        Refresh();
    else
        update();
}

QRect TPageListBox::RowsArea() const
{
    QRect area = ListArea();
    area.setHeight(std::max(area.height() - paHeight_, 0));
    return area;
}

void TPageListBox::RebuildLabels()
{
    const QRect area = ListArea();
    const QFontMetrics metrics(paFont_);
    const int height = std::min(metrics.height(), paHeight_);
    const int top = area.y() + area.height() - paHeight_ + (paHeight_ - height) / 2;
    const auto layout = LayoutPageBar(PageCount(), currentPage_, area.width(),
        [&metrics](const QString& text) { return metrics.horizontalAdvance(text); });
    while (labels_.size() < layout.size())
        labels_.push_back(std::make_unique<TPageLabel>(this, [this](int page) { SetCurrentPage(page); }));
    for (size_t i = 0; i < labels_.size(); ++i) {
        TPageLabel& label = *labels_[i];
        if (i >= layout.size()) {
            label.hide();
            continue;
        }
        // The current number stands on PASelectedColor, so it takes the selected font colour.
        const QColor& fontColor = layout[i].current ? selectedFontColor_ : paFontColor_;
        label.SetLabel(layout[i], paFont_, fontColor, paSelectedColor_);
        label.setGeometry(area.x() + layout[i].left, top, layout[i].width, height);
        label.show();
    }
}

std::vector<TPageListBox::TShownLabel> TPageListBox::PageLabels() const
{
    std::vector<TShownLabel> shown;
    for (const auto& label : labels_) {
        if (label->isHidden())
            continue;
        shown.push_back({ label->Label().text, label->Label().page, label->geometry(), label->Label().current });
    }
    return shown;
}

void TPageListBox::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Refresh();
}

// ----- looks -----

void TPageListBox::SetColor(const QColor& color)
{
    SetAndRepaint(*this, color_, color);
}
void TPageListBox::SetGradient(bool gradient)
{
    SetAndRepaint(*this, gradient_, gradient);
}
void TPageListBox::SetBrightness(int brightness)
{
    SetAndRepaint(*this, brightness_, brightness);
}
void TPageListBox::SetSelectedColor(const QColor& color)
{
    SetAndRepaint(*this, selectedColor_, color);
}
void TPageListBox::SetSelectedFontColor(const QColor& color)
{
    selectedFontColor_ = color;
    Refresh();
}
void TPageListBox::SetPAColor(const QColor& color)
{
    SetAndRepaint(*this, paColor_, color);
}
void TPageListBox::SetPAShowLine(bool show)
{
    SetAndRepaint(*this, paShowLine_, show);
}
void TPageListBox::SetPASimpleLine(bool simple)
{
    SetAndRepaint(*this, paSimpleLine_, simple);
}
void TPageListBox::SetFontColor(const QColor& color)
{
    SetAndRepaint(*this, fontColor_, color);
}

void TPageListBox::SetPAHeight(int height)
{
    paHeight_ = std::max(height, 0);
    Refresh();
}

void TPageListBox::SetPASelectedColor(const QColor& color)
{
    paSelectedColor_ = color;
    Refresh();
}

void TPageListBox::SetPAFont(const QFont& font)
{
    paFont_ = font;
    Refresh();
}

void TPageListBox::SetPAFontColor(const QColor& color)
{
    paFontColor_ = color;
    Refresh();
}

void TPageListBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setFont(font());
    QRect area = rect();
    if (frame_.framed) {
        Outline(painter, area, frame_.frameColor);
        area = Shrunk(area, 1);
    }
    if (frame_.borderStyle == vd::mbsSunken) {
        Edge3D(painter, area, frame_.borderBottomColor, frame_.borderTopColor);
        area = Shrunk(area, 1);
    }
    if (gradient_)
        ShadedFill(painter, area, color_, brightness_);
    else
        painter.fillRect(area, color_);

    const int barTop = area.y() + area.height() - paHeight_;
    painter.fillRect(QRect(area.x(), barTop, area.width(), paHeight_), paColor_);
    if (paShowLine_) {
        if (paSimpleLine_) {
            painter.fillRect(QRect(area.x(), barTop - 1, area.width(), 1), frame_.frameColor);
        } else {
            painter.fillRect(QRect(area.x(), barTop - 2, area.width(), 1), frame_.borderTopColor);
            painter.fillRect(QRect(area.x(), barTop - 1, area.width(), 1), frame_.borderBottomColor);
        }
    }

    const int rows = RowsPerPage();
    const int first = currentPage_ * rows;
    for (int row = 0; row < rows && first + row < items_.size(); ++row) {
        const int item = first + row;
        const QRect rowRect(area.x(), area.y() + row * itemHeight_, area.width(), itemHeight_);
        const bool selected = item == itemIndex_;
        if (selected) {
            painter.fillRect(rowRect, selectedColor_);
            Outline(painter, rowRect, frame_.frameColor);
        }
        painter.setPen(selected ? selectedFontColor_ : fontColor_);
        painter.drawText(
            rowRect.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, items_[item]);
        if (selected && hasFocus())
            FocusRect(painter, Shrunk(rowRect, 2));
    }
    if (items_.isEmpty() && hasFocus())
        FocusRect(painter, Shrunk(QRect(area.x(), area.y(), area.width(), itemHeight_), 2));
}

// ----- keys and mouse -----

bool TPageListBox::SelectWithinPage(int index)
{
    if (index == itemIndex_)
        return false;
    SetItemIndex(index);
    return true;
}

void TPageListBox::keyPressEvent(QKeyEvent* event)
{
    const int rows = RowsPerPage();
    const int first = currentPage_ * rows;
    const int last = std::min(first + rows, int(items_.size())) - 1;
    bool handled = false;
    switch (event->key()) {
    case Qt::Key_Left:
        if (currentPage_ > 0) {
            SetCurrentPage(currentPage_ - 1);
            handled = true;
        }
        break;
    case Qt::Key_Right:
        if (currentPage_ < PageCount() - 1) {
            SetCurrentPage(currentPage_ + 1);
            handled = true;
        }
        break;
    case Qt::Key_Up:
        if (last >= first)
            handled = SelectWithinPage(itemIndex_ - 1 >= first && itemIndex_ - 1 <= last ? itemIndex_ - 1 : last);
        break;
    case Qt::Key_Down:
        if (last >= first)
            handled = SelectWithinPage(itemIndex_ + 1 >= first && itemIndex_ + 1 <= last ? itemIndex_ + 1 : first);
        break;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
        // A page further, on the same row; without a selection, from the shown page's top.
        const int from = itemIndex_ >= 0 ? itemIndex_ : first;
        const int step = event->key() == Qt::Key_PageUp ? -rows : rows;
        if (!items_.isEmpty())
            handled = SelectWithinPage(std::clamp(from + step, 0, int(items_.size()) - 1));
        break;
    }
    case Qt::Key_Home:
        if (!items_.isEmpty())
            handled = SelectWithinPage(0);
        break;
    case Qt::Key_End:
        if (!items_.isEmpty())
            handled = SelectWithinPage(int(items_.size()) - 1);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Enter chooses the selected item as a double click does, where the window takes a
        // double click; elsewhere it goes on to the window's default button.
        if (isSignalConnected(QMetaMethod::fromSignal(&TPageListBox::OnDblClick))) {
            Q_EMIT OnDblClick();
            handled = true;
        }
        break;
    default:
        if (!event->text().isEmpty())
            Q_EMIT OnKeyPress(event->text());
        break;
    }
    if (!handled)
        QWidget::keyPressEvent(event);
}

void TPageListBox::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    const QRect rowsArea = RowsArea();
    const QPoint point = event->position().toPoint();
    if (event->button() != Qt::LeftButton || !rowsArea.contains(point))
        return;
    const int row = (point.y() - rowsArea.y()) / itemHeight_;
    const int item = currentPage_ * RowsPerPage() + row;
    if (row < RowsPerPage() && item < items_.size())
        SetItemIndex(item);
}

void TPageListBox::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT OnClick();
}

void TPageListBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    mousePressEvent(event);
    Q_EMIT OnDblClick();
}

void TPageListBox::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    update();
}

void TPageListBox::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update();
    Q_EMIT OnExit();
}
