#pragma once
// TThumbView: the main window's paint box `draw`, the thumbnail grid inside the scroll box.
// It paints only the cells in the visible band, turns clicks and keys into selection and
// focus changes of the project, and takes dropped files and folders.
#include "project/thumbgrid.h"

#include <QWidget>

class QScrollArea;
class TImage;
class TVDImage;

class TThumbView : public QWidget {
    Q_OBJECT
public:
    explicit TThumbView(QScrollArea* scrollBox);

    // The picture controls whose pictures are drawn for a photo waiting for its thumbnail,
    // over a low-quality thumbnail, and centred in an empty project (a skin or the start-up
    // may change them at any time).
    void SetPictures(const TImage* locked, const TImage* lowQuality, const TImage* splash);

    TThumbGrid Grid() const;
    int Columns() const;
    int HitTest(int x, int y) const;
    // Repaints the cell when it meets the visible band; other indices are ignored.
    void RepaintCell(int index);
    // Height = the grid's scroll range (at least the scroll box's), width = the scroll box's.
    void UpdateScrollRange();
    // Scrolls so that the cell is wholly visible.
    void EnsureVisible(int index);
    // The text lines under a photo's thumbnail as painted: cut to the cell's width.
    QStringList ShownTexts(int index) const;

Q_SIGNALS:
    void SelectionChanged(); // the status bar must follow
    void DeletePressed();
    void OpenPressed(); // Enter on a focused photo, or a double click on a photo
    void FilesDropped(const QStringList& paths);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void PaintCell(class QPainter& painter, int index, const QPoint& origin);
    void MoveFocus(TGridMove move, bool extend);
    // Where Shift extends the selection from: the anchor while the focus is still where this
    // view put it, else the focused photo (or target without a focus).
    int ExtendAnchor(int target);
    int VisibleTop() const;
    int VisibleHeight() const;

    QScrollArea* scrollBox_;
    const TImage* locked_ = nullptr;
    const TImage* lowQuality_ = nullptr;
    const TImage* splash_ = nullptr;
    int anchor_ = -1; // where Shift+click and Shift+arrows extend the selection from
    int placedFocus_ = -1; // the focus as this view last set it
};
