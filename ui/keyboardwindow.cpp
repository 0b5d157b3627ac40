#include "ui/keyboardwindow.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

#include <algorithm>
#include <functional>
#include <iterator>
#include <vector>

namespace {

bool TakesTab(const QWidget* widget)
{
    return (widget->focusPolicy() & Qt::TabFocus) != 0;
}

// A control, or a frame with the controls that lie inside it, where it stands in the window.
struct TPlaced {
    QWidget* widget;
    QRect rect;
    std::vector<TPlaced> inside;
};

// Splits placed into bands along one axis: a control joins the band that its extent overlaps
// by more than a sliver, so a row of a label, an edit and a taller button is one band.
std::vector<std::vector<TPlaced>> Bands(std::vector<TPlaced> placed, bool rows)
{
    const auto start = [rows](const TPlaced& p) { return rows ? p.rect.top() : p.rect.left(); };
    const auto end
        = [rows](const TPlaced& p) { return rows ? p.rect.top() + p.rect.height() : p.rect.left() + p.rect.width(); };
    std::stable_sort(
        placed.begin(), placed.end(), [&start](const TPlaced& a, const TPlaced& b) { return start(a) < start(b); });
    constexpr int kSliver = 2;
    std::vector<std::vector<TPlaced>> bands;
    int bandEnd = 0;
    for (TPlaced& p : placed) {
        if (bands.empty() || start(p) >= bandEnd - kSliver) {
            bands.emplace_back();
            bandEnd = end(p);
        }
        bandEnd = std::max(bandEnd, end(p));
        bands.back().push_back(std::move(p));
    }
    return bands;
}

// Reading order: rows from top to bottom; a row that holds columns (a list beside its
// buttons, two stacked links beside a button row) is read column by column, each column
// again by rows. Controls that overlap both ways keep their order from top to bottom.
void ReadingOrder(std::vector<TPlaced> placed, bool rows, bool otherAxisTried, std::vector<TPlaced>& ordered)
{
    auto bands = Bands(std::move(placed), rows);
    if (bands.size() == 1 && otherAxisTried) {
        std::stable_sort(bands[0].begin(), bands[0].end(), [](const TPlaced& a, const TPlaced& b) {
            return a.rect.top() != b.rect.top() ? a.rect.top() < b.rect.top() : a.rect.left() < b.rect.left();
        });
        std::move(bands[0].begin(), bands[0].end(), std::back_inserter(ordered));
        return;
    }
    if (bands.size() == 1 && bands[0].size() == 1) {
        ordered.push_back(std::move(bands[0][0]));
        return;
    }
    for (auto& band : bands)
        ReadingOrder(std::move(band), !rows, bands.size() == 1, ordered);
}

// The children of container, each control under the smallest shown frame (a sibling that
// takes no focus) that holds it whole.
std::vector<TPlaced> Placed(QWidget* container, QWidget* window)
{
    std::vector<QWidget*> children;
    for (QObject* object : container->children()) {
        auto* child = qobject_cast<QWidget*>(object);
        if (child && !child->isWindow())
            children.push_back(child);
    }
    std::vector<QRect> rects;
    for (QWidget* child : children)
        rects.emplace_back(child->mapTo(window, QPoint(0, 0)), child->size());

    std::vector<int> frameOf(children.size(), -1);
    for (size_t i = 0; i < children.size(); ++i) {
        for (size_t f = 0; f < children.size(); ++f) {
            const QWidget* frame = children[f];
            if (f == i || TakesTab(frame) || frame->isHidden() || !rects[f].contains(rects[i]) || rects[f] == rects[i])
                continue;
            const int best = frameOf[i];
            if (best < 0 || rects[f].width() * rects[f].height() < rects[best].width() * rects[best].height())
                frameOf[i] = int(f);
        }
    }
    // Builds the placed control i with everything its frame role holds.
    std::vector<TPlaced> roots;
    std::function<TPlaced(size_t)> build = [&](size_t i) {
        TPlaced placed { children[i], rects[i], {} };
        for (size_t j = 0; j < children.size(); ++j) {
            if (frameOf[j] == int(i))
                placed.inside.push_back(build(j));
        }
        return placed;
    };
    for (size_t i = 0; i < children.size(); ++i) {
        if (frameOf[i] < 0)
            roots.push_back(build(i));
    }
    return roots;
}

void CollectStops(std::vector<TPlaced> placed, QWidget* window, QList<QWidget*>& stops)
{
    std::vector<TPlaced> ordered;
    if (!placed.empty())
        ReadingOrder(std::move(placed), true, false, ordered);
    for (TPlaced& p : ordered) {
        if (TakesTab(p.widget)) {
            stops << p.widget; // a control's own children are its parts
            continue;
        }
        std::vector<TPlaced> within = Placed(p.widget, window);
        std::move(p.inside.begin(), p.inside.end(), std::back_inserter(within));
        CollectStops(std::move(within), window, stops);
    }
}

class TKeyboardWindow : public QObject {
public:
    TKeyboardWindow(QWidget* window, QWidget* first)
        : QObject(window)
        , window_(window)
        , first_(first)
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == window_ && event->type() == QEvent::EnabledChange && window_->isEnabled())
            RestoreFocus();
        if (watched != window_ && event->type() == QEvent::Hide && !event->spontaneous())
            RestoreFocus();
        if (event->type() != QEvent::Show || event->spontaneous())
            return false;
        if (watched == window_)
            Prepare();
        else
            FocusShownPanel(static_cast<QWidget*>(watched));
        return false;
    }

private:
    void Prepare()
    {
        const QList<QWidget*> stops = TabStopsByLayout(window_);
        for (qsizetype i = 1; i < stops.size(); ++i)
            QWidget::setTabOrder(stops[i - 1], stops[i]);
        QWidget* focus = first_;
        if (!focus || !Open(focus))
            focus = FirstOpenStop(stops, window_);
        if (focus)
            focus->setFocus(Qt::TabFocusReason);
        // Panels that take turns (the pages of a window) are watched for when they show.
        for (QWidget* panel : window_->findChildren<QWidget*>()) {
            if (!TakesTab(panel) && !panel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly).isEmpty())
                panel->installEventFilter(this);
        }
    }

    // A window that disabled itself for its work (a fetch, an order), or a page hidden after
    // the next one showed, has left the focus nowhere or on a hidden control: it goes back to
    // where the window opens.
    void RestoreFocus()
    {
        const QWidget* focus = window_->focusWidget();
        if (focus && Open(focus))
            return;
        QWidget* first = first_ && Open(first_) ? first_.data() : FirstOpenStop(TabStopsByLayout(window_), window_);
        if (first)
            first->setFocus(Qt::TabFocusReason);
    }

    bool Open(const QWidget* control) const { return control->isEnabled() && control->isVisibleTo(window_); }

    QWidget* FirstOpenStop(const QList<QWidget*>& stops, const QWidget* within) const
    {
        const auto open = std::find_if(stops.begin(), stops.end(),
            [this, within](QWidget* stop) { return Open(stop) && (within == window_ || within->isAncestorOf(stop)); });
        return open != stops.end() ? *open : nullptr;
    }

    // A page shown after the one holding the focus was hidden takes it, at its first control:
    // Qt leaves the focus on the hidden control, where no key would reach anything.
    void FocusShownPanel(QWidget* panel)
    {
        const QWidget* focus = window_->focusWidget();
        if (focus && Open(focus))
            return;
        if (QWidget* first = FirstOpenStop(TabStopsByLayout(window_), panel))
            first->setFocus(Qt::TabFocusReason);
    }

    QWidget* window_;
    QPointer<QWidget> first_;
};

class TEnterAccepts : public QObject {
public:
    TEnterAccepts(QAbstractItemView* list, std::function<void()> accept)
        : QObject(list)
        , accept_(std::move(accept))
    {
        list->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress || !IsEnterKey(*static_cast<QKeyEvent*>(event)))
            return false;
        accept_();
        return true;
    }

private:
    std::function<void()> accept_;
};

class TDefaultButtons : public QObject {
public:
    TDefaultButtons(QWidget* window, const QList<QAbstractButton*>& buttons)
        : QObject(window)
        , window_(window)
    {
        for (QAbstractButton* button : buttons)
            buttons_ << button;
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != window_ || event->type() != QEvent::KeyPress || !IsEnterKey(*static_cast<QKeyEvent*>(event)))
            return false;
        for (QAbstractButton* button : buttons_) {
            if (button && button->isVisibleTo(window_) && button->isEnabled()) {
                button->click();
                return true;
            }
        }
        return false;
    }

private:
    QWidget* window_;
    QList<QPointer<QAbstractButton>> buttons_;
};

} // namespace

QList<QWidget*> TabStopsByLayout(QWidget* window)
{
    QList<QWidget*> stops;
    CollectStops(Placed(window, window), window, stops);
    return stops;
}

void UseFromKeyboard(QWidget* window, QWidget* first)
{
    new TKeyboardWindow(window, first);
}

void AcceptOnEnter(QAbstractItemView* list, std::function<void()> accept)
{
    new TEnterAccepts(list, std::move(accept));
}

bool IsEnterKey(const QKeyEvent& event)
{
    const auto modifiers = event.modifiers() & ~Qt::KeypadModifier;
    return (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter) && modifiers == Qt::NoModifier;
}

void SetDefaultButtons(QWidget* window, QList<QAbstractButton*> buttons)
{
    new TDefaultButtons(window, buttons);
}
