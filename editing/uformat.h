#pragma once
// Tfformat ("fformat"): the print format chooser, a list of the lab's formats with their
// prices. Assignment mode ("Format" in the main window) gives the chosen format to the
// selected photos or to all of them, and may make it the default for photos added later.
// Pick mode only returns the chosen format's identifier (-1 when cancelled).
#include "ui/formslot.h"

#include <QDialog>

class QLabel;
class TColorFrame;
class TGradientButton;
class TNiceCheckBox;
class TPageListBox;

class Tfformat : public QDialog {
    Q_OBJECT
public:
    explicit Tfformat(QWidget* parent = nullptr);

    void AssignFormat();
    int PickFormat(bool setDefault);

    TPageListBox* lbformat = nullptr;
    TColorFrame* GroupBox1 = nullptr; // "Zastosuj format do ... zdjęć"
    TNiceCheckBox* cbsel = nullptr; // "zaznaczonych"
    TNiceCheckBox* cball = nullptr; // "wszystkich"
    TNiceCheckBox* cbsetdef = nullptr;
    QLabel* Label1 = nullptr; // "*domyślny format"
    TGradientButton* bok = nullptr; // "AKCEPTUJ"
    TGradientButton* bcancel = nullptr; // "ANULUJ"

    void bokClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void SetAssignControlsEnabled(bool enabled);
    void ApplyToProject(int formatId);

    bool pickMode_ = false;
    int result_ = -1;
    TFormSlotEntry<Tfformat> slot_ { this };
};

inline Tfformat& fformat()
{
    return TFormSlot<Tfformat>::Get();
}
