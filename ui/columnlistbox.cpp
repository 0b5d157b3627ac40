#include "ui/columnlistbox.h"

#include "skin/drawrules.h"
#include "skin/syscolors.h"

#include <QPainter>
#include <QStyledItemDelegate>

namespace {

constexpr int kColumnTexts = Qt::UserRole + 1;
constexpr int kColumnGap = 4; // a text stops this far before the next column

} // namespace

// Paints one line: its background, each column's text on one line, vertically centred, and
// the focus rectangle of the current line.
class TColumnLineDelegate : public QStyledItemDelegate {
public:
    explicit TColumnLineDelegate(TColumnListBox* list)
        : QStyledItemDelegate(list)
        , list_(list)
    {
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        painter->save();
        painter->fillRect(option.rect, selected ? list_->selectedColor_ : list_->color_);
        painter->setPen(selected ? list_->selectedFontColor_ : list_->fontColor_);
        painter->setFont(option.font);
        const QStringList texts = index.data(kColumnTexts).toStringList();
        const QList<int>& columns = list_->columns_;
        for (qsizetype c = 0; c < texts.size() && c < columns.size(); ++c) {
            const int left = option.rect.left() + columns[c];
            const int right
                = c + 1 < columns.size() ? option.rect.left() + columns[c + 1] - kColumnGap : option.rect.right();
            const QRect box(left, option.rect.top(), std::max(0, right - left), option.rect.height());
            painter->drawText(box, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                option.fontMetrics.elidedText(texts[c], Qt::ElideRight, box.width()));
        }
        if ((option.state & QStyle::State_HasFocus) && list_->hasFocus())
            FocusRect(*painter, option.rect);
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        return { option.rect.width(), TColumnListBox::kItemHeight };
    }

private:
    TColumnListBox* list_;
};

TColumnListBox::TColumnListBox(QWidget* parent)
    : QListWidget(parent)
    , color_(SysColor(TSysColor::Window))
    , fontColor_(SysColor(TSysColor::WindowText))
    , selectedColor_(SysColor(TSysColor::Highlight))
    , selectedFontColor_(SysColor(TSysColor::HighlightText))
{
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setUniformItemSizes(true);
    setItemDelegate(new TColumnLineDelegate(this));
    SetColor(color_);
}

void TColumnListBox::SetColumns(const QList<int>& lefts)
{
    columns_ = lefts;
    viewport()->update();
}

void TColumnListBox::AddLine(const QStringList& texts)
{
    auto* item = new QListWidgetItem(texts.value(0), this);
    item->setData(kColumnTexts, texts);
}

QStringList TColumnListBox::LineTexts(int row) const
{
    const QListWidgetItem* line = item(row);
    return line ? line->data(kColumnTexts).toStringList() : QStringList();
}

void TColumnListBox::SetLineTexts(int row, const QStringList& texts)
{
    if (QListWidgetItem* line = item(row)) {
        line->setText(texts.value(0));
        line->setData(kColumnTexts, texts);
    }
}

QList<int> TColumnListBox::SelectedRows() const
{
    QList<int> rows;
    for (int row = 0; row < count(); ++row)
        if (item(row)->isSelected())
            rows << row;
    return rows;
}

void TColumnListBox::SetColor(const QColor& color)
{
    color_ = color;
    QPalette colours = palette();
    colours.setColor(QPalette::Base, color);
    setPalette(colours);
    viewport()->update();
}

void TColumnListBox::SetFontColor(const QColor& color)
{
    fontColor_ = color;
    viewport()->update();
}

void TColumnListBox::SetSelectedColor(const QColor& color)
{
    selectedColor_ = color;
    viewport()->update();
}

void TColumnListBox::SetSelectedFontColor(const QColor& color)
{
    selectedFontColor_ = color;
    viewport()->update();
}
