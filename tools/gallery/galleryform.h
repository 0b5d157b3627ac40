#pragma once
// The gallery window: every control of the shell in each of its states, the shell's glyph
// family at 24 and 50 pixels, and the seven kinds of message dialog plus the wait window,
// all under one skin. Skin designers and reviewers look at it.
#include <QWidget>

class TSkinner;

class TGalleryForm : public QWidget {
    Q_OBJECT
public:
    explicit TGalleryForm(const TSkinner& skinner, QWidget* parent = nullptr);

    // Puts the controls into their shown states (hot, pressed, focused); call once the
    // window is visible.
    void ShowStates();

private:
    void AddButtons(QWidget* area);
    void AddCheckBoxes(QWidget* area);
    void AddListsAndBars(QWidget* area);
    void AddPanelsAndLabels(QWidget* area);
    void AddGlyphs(QWidget* area);
    void AddDialogs(QWidget* area);

    const TSkinner& skinner_;
    QList<QWidget*> hot_; // shown as under the mouse
    QList<QWidget*> pressed_; // shown as pressed
    QWidget* focused_ = nullptr;
};
