#pragma once
// Tfpreview ("fpreview"): the final picture of one photo exactly as it goes to the lab,
// shown modally with zoom ("100 %", "dopasuj", the mouse wheel) and scrolling. The caption
// tells the scale, the picture's size in pixels and its size in memory.
#include "ui/formslot.h"

#include <QDialog>
#include <QImage>

class TGradientButton;
class TImageView;
class TMousedPanel;

class Tfpreview : public QDialog {
    Q_OBJECT
public:
    explicit Tfpreview(QWidget* parent = nullptr);

    // Shows a copy of the picture at scale 1.0, modally; nothing of it is kept afterwards.
    void ShowPreview(const QImage& picture);
    // Renders the print of the project's photo index (wait cursor meanwhile) and shows it.
    void ShowPrint(int index);

    TMousedPanel* Panel1 = nullptr; // the button bar
    TGradientButton* b100 = nullptr; // "100 %"
    TGradientButton* bfit = nullptr; // "dopasuj"
    TGradientButton* bclose = nullptr; // "zamknij"
    TImageView* view = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void done(int result) override;

private:
    void viewChange();
    TFormSlotEntry<Tfpreview> slot_ { this };
};

inline Tfpreview& fpreview()
{
    return TFormSlot<Tfpreview>::Get();
}
