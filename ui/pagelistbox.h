#pragma once
// TPageListBox: a list that shows its items one page at a time, with a bar of page numbers
// at the bottom. Left and Right turn pages, Up and Down move the selection within the page,
// Page Up and Page Down move it a page further, Home and End to the ends; Enter counts as a
// double click on the selected row. A click on a row selects it and a click on a page label
// shows that page. OnIndexChanged fires after ItemIndex changed.
#include "skin/controltypes.h"
#include "ui/framestyle.h"

#include <QColor>
#include <QFont>
#include <QStringList>
#include <QWidget>

#include <memory>
#include <vector>

class TPageLabel;

class TPageListBox : public QWidget, public TFramedControl {
    Q_OBJECT
    Q_PROPERTY(QStringList Items READ Items WRITE SetItems)
    Q_PROPERTY(int ItemIndex READ ItemIndex WRITE SetItemIndex)
    Q_PROPERTY(int ItemHeight READ ItemHeight WRITE SetItemHeight)
    Q_PROPERTY(int CurrentPage READ CurrentPage WRITE SetCurrentPage)
    Q_PROPERTY(QColor Color READ Color WRITE SetColor)
    Q_PROPERTY(bool Gradient READ Gradient WRITE SetGradient)
    Q_PROPERTY(int Brightness READ Brightness WRITE SetBrightness)
    Q_PROPERTY(QColor SelectedColor READ SelectedColor WRITE SetSelectedColor)
    Q_PROPERTY(QColor SelectedFontColor READ SelectedFontColor WRITE SetSelectedFontColor)
    Q_PROPERTY(bool Framed READ Framed WRITE SetFramed)
    Q_PROPERTY(QColor FrameColor READ FrameColor WRITE SetFrameColor)
    Q_PROPERTY(vd::TMBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
    Q_PROPERTY(QColor BorderTopColor READ BorderTopColor WRITE SetBorderTopColor)
    Q_PROPERTY(QColor BorderBottomColor READ BorderBottomColor WRITE SetBorderBottomColor)
    Q_PROPERTY(int PAHeight READ PAHeight WRITE SetPAHeight)
    Q_PROPERTY(QColor PAColor READ PAColor WRITE SetPAColor)
    Q_PROPERTY(QColor PASelectedColor READ PASelectedColor WRITE SetPASelectedColor)
    Q_PROPERTY(QFont PAFont READ PAFont WRITE SetPAFont)
    Q_PROPERTY(QColor PAFontColor READ PAFontColor WRITE SetPAFontColor)
    Q_PROPERTY(bool PAShowLine READ PAShowLine WRITE SetPAShowLine)
    Q_PROPERTY(bool PASimpleLine READ PASimpleLine WRITE SetPASimpleLine)
    Q_PROPERTY(QColor FontColor READ FontColor WRITE SetFontColor)

public:
    explicit TPageListBox(QWidget* parent = nullptr);
    ~TPageListBox() override;

    const QStringList& Items() const { return items_; }
    void SetItems(const QStringList& items);
    void AddItem(const QString& item);
    void Clear();

    int ItemIndex() const { return itemIndex_; }
    // Below -1 becomes -1; past the last item raises EListError "PageListBox itemindex out
    // of Bounds !". Shows the selected item's page (the first when none).
    void SetItemIndex(int index);
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int height); // at least 1
    int CurrentPage() const { return currentPage_; }
    void SetCurrentPage(int page); // clamped to the pages there are

    int RowsPerPage() const;
    int PageCount() const;

    QColor Color() const { return color_; }
    void SetColor(const QColor& color);
    bool Gradient() const { return gradient_; }
    void SetGradient(bool gradient);
    int Brightness() const { return brightness_; }
    void SetBrightness(int brightness);
    QColor SelectedColor() const { return selectedColor_; }
    void SetSelectedColor(const QColor& color);
    QColor SelectedFontColor() const { return selectedFontColor_; }
    void SetSelectedFontColor(const QColor& color);
    int PAHeight() const { return paHeight_; }
    void SetPAHeight(int height);
    QColor PAColor() const { return paColor_; }
    void SetPAColor(const QColor& color);
    QColor PASelectedColor() const { return paSelectedColor_; }
    void SetPASelectedColor(const QColor& color);
    QFont PAFont() const { return paFont_; }
    void SetPAFont(const QFont& font);
    QColor PAFontColor() const { return paFontColor_; }
    void SetPAFontColor(const QColor& color);
    bool PAShowLine() const { return paShowLine_; }
    void SetPAShowLine(bool show);
    bool PASimpleLine() const { return paSimpleLine_; }
    void SetPASimpleLine(bool simple);
    QColor FontColor() const { return fontColor_; }
    void SetFontColor(const QColor& color);

    // The page labels as they stand (text, page, geometry within the list).
    struct TShownLabel {
        QString text;
        int page;
        QRect geometry;
        bool current;
    };
    std::vector<TShownLabel> PageLabels() const;

Q_SIGNALS:
    void OnIndexChanged();
    void OnClick();
    void OnDblClick();
    void OnKeyPress(const QString& text);
    void OnExit();

protected:
    void FrameStyleChanged(const TFrameStyle& before) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QRect ListArea() const; // inside the outline and the edge
    QRect RowsArea() const; // the list area above the page bar
    void Refresh(); // clamps, rebuilds the labels, repaints
    void RebuildLabels();
    bool SelectWithinPage(int index);

    QStringList items_;
    int itemIndex_ = -1;
    int itemHeight_ = 18;
    int currentPage_ = 0;
    QColor color_;
    bool gradient_ = true;
    int brightness_ = 40;
    QColor selectedColor_;
    QColor selectedFontColor_;
    int paHeight_ = 18;
    QColor paColor_;
    QColor paSelectedColor_;
    QFont paFont_;
    QColor paFontColor_;
    bool paShowLine_ = true;
    bool paSimpleLine_ = true;
    QColor fontColor_;
    std::vector<std::unique_ptr<TPageLabel>> labels_; // child widgets; the unused ones hidden
};
