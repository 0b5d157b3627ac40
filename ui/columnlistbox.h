#pragma once
// TColumnListBox: an owner-drawn list with multiple selection whose lines are texts in
// columns, each column's text starting at its own x (the file lists of the virtual account:
// a name, then its size ...). A text that would run into the next column ends in "…".
// Colours: Color (background), FontColor (text), SelectedColor, SelectedFontColor; the skin
// sets them from "backgroundtext", "text", "selected" and "selectedtext".
#include <QColor>
#include <QList>
#include <QListWidget>
#include <QStringList>

class TColumnListBox : public QListWidget {
    Q_OBJECT
    Q_PROPERTY(QColor Color READ Color WRITE SetColor)
    Q_PROPERTY(QColor FontColor READ FontColor WRITE SetFontColor)
    Q_PROPERTY(QColor SelectedColor READ SelectedColor WRITE SetSelectedColor)
    Q_PROPERTY(QColor SelectedFontColor READ SelectedFontColor WRITE SetSelectedFontColor)

public:
    static constexpr int kItemHeight = 16;

    explicit TColumnListBox(QWidget* parent = nullptr);

    // The x of each column's text, left to right.
    void SetColumns(const QList<int>& lefts);
    const QList<int>& Columns() const { return columns_; }

    // A line of column texts at the end; the texts of line row.
    void AddLine(const QStringList& texts);
    QStringList LineTexts(int row) const;
    void SetLineTexts(int row, const QStringList& texts);
    // The rows of the selected lines, in list order.
    QList<int> SelectedRows() const;

    QColor Color() const { return color_; }
    void SetColor(const QColor& color);
    QColor FontColor() const { return fontColor_; }
    void SetFontColor(const QColor& color);
    QColor SelectedColor() const { return selectedColor_; }
    void SetSelectedColor(const QColor& color);
    QColor SelectedFontColor() const { return selectedFontColor_; }
    void SetSelectedFontColor(const QColor& color);

private:
    friend class TColumnLineDelegate;

    QList<int> columns_ { 2 };
    QColor color_;
    QColor fontColor_;
    QColor selectedColor_;
    QColor selectedFontColor_;
};
