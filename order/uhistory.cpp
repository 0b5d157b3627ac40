#include "order/uhistory.h"

#include "core/coreobjects.h"
#include "order/historyfolder.h"
#include "order/historyview.h"
#include "skin/skinner.h"
#include "ui/designfonts.h"
#include "ui/gradientbutton.h"
#include "ui/image.h"
#include "ui/keyboardwindow.h"
#include "ui/mousedpanel.h"
#include "ui/statuslabel.h"
#include "ui/umydialog.h"
#include "ui/windowparts.h"

#include <QApplication>
#include <QBoxLayout>
#include <QListWidget>
#include <QPainter>
#include <QScopeGuard>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStyledItemDelegate>

#include <algorithm>

namespace {

constexpr int kMargin = 6; // between the window's edges and the main panel
constexpr int kTextIndent = 2;
constexpr int kValueGap = 5; // between the widest detail label and the values
constexpr int kLabelRole = Qt::UserRole;
constexpr int kValueRole = Qt::UserRole + 1;

QColor SkinColor(const char* name, const QColor& fallback)
{
    return Core().skinner ? Core().skinner->GetColor(QLatin1String(name)) : fallback;
}

QFont Bold(QFont font)
{
    font.setBold(true);
    return font;
}

// Draws the lines of both lists in the skin's colours; with a label width, a details row: its
// label in bold, its value labelWidth + 5 pixels further right.
class THistoryLineDrawer : public QStyledItemDelegate {
public:
    THistoryLineDrawer(QObject* parent, const int* labelWidth)
        : QStyledItemDelegate(parent)
        , labelWidth_(labelWidth)
    {
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool selected = option.state.testFlag(QStyle::State_Selected);
        painter->save();
        painter->fillRect(option.rect,
            selected ? SkinColor("selected", option.palette.highlight().color()) : option.palette.base().color());
        painter->setPen(selected ? SkinColor("selectedtext", option.palette.highlightedText().color())
                                 : SkinColor("text", option.palette.text().color()));
        const QRect text = option.rect.adjusted(kTextIndent, 0, 0, 0);
        constexpr int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
        if (labelWidth_) {
            painter->setFont(Bold(option.font));
            painter->drawText(text, flags, index.data(kLabelRole).toString());
            painter->setFont(option.font);
            painter->drawText(
                text.adjusted(*labelWidth_ + kValueGap, 0, 0, 0), flags, index.data(kValueRole).toString());
        } else {
            painter->setFont(option.font);
            painter->drawText(text, flags, index.data(Qt::DisplayRole).toString());
        }
        painter->restore();
    }

    // As wide as the whole line: a line wider than its list (a bank account number) scrolls
    // into view rather than being cut off.
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        const QFontMetrics normal(option.font);
        int width = normal.horizontalAdvance(index.data(Qt::DisplayRole).toString());
        if (labelWidth_)
            width = *labelWidth_ + kValueGap + normal.horizontalAdvance(index.data(kValueRole).toString());
        size.setWidth(kTextIndent + width + kTextIndent);
        return size;
    }

private:
    const int* labelWidth_;
};

QListWidget* MakeList(QWidget* parent, const char* name, const int* labelWidth)
{
    auto* list = MakeNamed<QListWidget>(parent, name);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setItemDelegate(new THistoryLineDrawer(list, labelWidth));
    list->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    return list;
}

int SelectedRow(const QListWidget* list)
{
    const QModelIndexList selected = list->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.front().row();
}

} // namespace

Tfhistory::Tfhistory(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("fhistory"));
    setWindowTitle(QStringLiteral("Historia zamówień"));
    setFont(DesignFont(QStringLiteral("Tahoma"), 8));
    setModal(true);
    setSizeGripEnabled(true);
    setMinimumSize(420, 300);
    resize(635, 490);

    Panel1 = MakeNamed<TMousedPanel>(this, "Panel1");
    Splitter1 = MakeNamed<QSplitter>(Panel1, "Splitter1");
    Splitter1->setOrientation(Qt::Horizontal);
    Splitter1->setChildrenCollapsible(false);
    auto* panelLayout = new QHBoxLayout(Panel1);
    panelLayout->setContentsMargins(4, 4, 4, 4);
    panelLayout->addWidget(Splitter1);

    Splitter2 = MakeNamed<QSplitter>(Splitter1, "Splitter2");
    Splitter2->setOrientation(Qt::Vertical);
    Splitter2->setChildrenCollapsible(false);
    lbhistory = MakeList(Splitter2, "lbhistory", nullptr);
    lbdet = MakeList(Splitter2, "lbdet", &labelWidth);
    connect(lbhistory, &QListWidget::itemSelectionChanged, this, &Tfhistory::lbhistoryClick);

    auto* right = MakeNamed<QWidget>(Splitter1, "Panel2");
    Image1 = MakeNamed<TImage>(right, "Image1");
    Image1->SetStretch(true);
    Image1->SetProportional(true);
    Image1->SetCenter(true);
    slpage = MakeNamed<TStatusLabel>(right, "slpage");
    slpage->SetCaption(QStringLiteral("Strona:"));
    slpage->SetStatus(QString());
    slpage->setFixedHeight(18);
    bprev = MakeTextButton(right, "bprev", QStringLiteral("poprzednia"), QRect(0, 0, 80, 25));
    bnext = MakeTextButton(right, "bnext", QStringLiteral("następna"), QRect(0, 0, 80, 25));
    bdelete = MakeGlyphButton(right, "bdelete", QStringLiteral("usuń z historii"), "delete", QRect(0, 0, 110, 25));
    for (TGradientButton* button : { bprev, bnext, bdelete })
        button->setFixedSize(button->size());
    connect(bprev, &TGradientButton::OnClick, this, &Tfhistory::bprevClick);
    connect(bnext, &TGradientButton::OnClick, this, &Tfhistory::bnextClick);
    connect(bdelete, &TGradientButton::OnClick, this, &Tfhistory::bdeleteClick);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(6);
    buttons->addWidget(bprev);
    buttons->addWidget(bnext);
    buttons->addStretch();
    buttons->addWidget(bdelete);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(4, 0, 0, 0);
    rightLayout->setSpacing(6);
    rightLayout->addWidget(Image1, 1);
    rightLayout->addWidget(slpage);
    rightLayout->addLayout(buttons);

    // A larger window gives its room to the page and the details.
    Splitter1->setStretchFactor(1, 1);
    Splitter2->setStretchFactor(1, 1);
    Splitter1->setSizes({ 280, 335 });
    Splitter2->setSizes({ 150, 310 });
    UseFromKeyboard(this, lbhistory);
}

void Tfhistory::SetListColors(const QColor& background, const QColor& text)
{
    for (QListWidget* list : { lbhistory, lbdet }) {
        QPalette palette = list->palette();
        palette.setColor(QPalette::Base, background);
        palette.setColor(QPalette::Text, text);
        list->setPalette(palette);
    }
}

void Tfhistory::showEvent(QShowEvent* event)
{
    CentreOnScreen(this);
    QDialog::showEvent(event);
    ListEntries();
}

void Tfhistory::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    Panel1->setGeometry(kMargin, kMargin, width() - 2 * kMargin, height() - 2 * kMargin);
}

void Tfhistory::ListEntries()
{
    {
        const QSignalBlocker quiet(lbhistory);
        lbhistory->clear();
    }
    paths.clear();
    ClearEntry();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
    const std::vector<THistoryListing> entries = ListHistoryEntries(HistoryFolder());
    for (const THistoryListing& entry : entries) {
        lbhistory->addItem(entry.line);
        paths << entry.path;
    }
    // The latest order is the one a customer comes to look at.
    const int newest = NewestHistoryEntry(entries);
    if (newest >= 0) {
        lbhistory->setCurrentRow(newest);
        lbhistory->scrollToItem(lbhistory->item(newest));
    }
}

void Tfhistory::ClearEntry()
{
    loaded_ = -1;
    page = 0;
    labelWidth = 0;
    lbdet->clear();
    Image1->SetPicture(QImage());
    slpage->SetStatus(QString());
}

void Tfhistory::lbhistoryClick()
{
    // Nothing selected, or an entry that no longer reads, leaves nothing shown: the details,
    // the paging and the deletion always belong to the selected line.
    const int row = SelectedRow(lbhistory);
    if (row < 0 || row >= paths.size() || !history_.LoadEntry(paths[row])) {
        ClearEntry();
        return;
    }
    loaded_ = row;
    page = 1;
    lbdet->clear();
    const QFontMetrics bold(Bold(lbdet->font()));
    labelWidth = 0;
    for (const THistoryDetail& detail : HistoryDetails(history_.lines)) {
        auto* item = new QListWidgetItem(detail.Line(), lbdet);
        item->setToolTip(detail.Line());
        item->setData(kLabelRole, detail.label);
        item->setData(kValueRole, detail.value);
        labelWidth = std::max(labelWidth, bold.horizontalAdvance(detail.label));
    }
    ShowPage();
}

void Tfhistory::ShowPage()
{
    QImage picture = Image1->Picture();
    history_.LoadPage(page, picture); // a missing page keeps the picture shown
    Image1->SetPicture(picture);
    slpage->SetStatus(PageStatus(page, history_.pageCount));
}

void Tfhistory::TurnPage(int step)
{
    if (loaded_ < 0)
        return;
    page = StepPage(page, history_.pageCount, step);
    ShowPage();
}

void Tfhistory::bprevClick()
{
    TurnPage(-1);
}

void Tfhistory::bnextClick()
{
    TurnPage(1);
}

void Tfhistory::bdeleteClick()
{
    const int row = SelectedRow(lbhistory);
    if (row < 0 || row != loaded_) {
        fdialog().Warning(QStringLiteral("Zaznacz pozycje w historii aby usunąć !"));
        return;
    }
    if (!fdialog().Question(QStringLiteral("Usunąć wybraną pozycję ?")))
        return;
    DeleteHistoryEntry(history_, paths[row]);
    {
        const QSignalBlocker quiet(lbhistory);
        delete lbhistory->takeItem(row);
        lbhistory->clearSelection();
        lbhistory->setCurrentRow(-1);
    }
    paths.removeAt(row);
    history_.pageCount = 0;
    ClearEntry();
}
