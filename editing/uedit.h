#pragma once
// Tfedit ("fedit"): the colour-correction window. It edits a copy of one photo's Corrections
// (nine settings on four pages and the colour / sepia / black-and-white mode on a fifth) and
// shows every change at once on a preview that EDITTHREAD renders in the background; the
// copy goes back to the project only on "AKCEPTUJ". Named correction sets stored in files can
// be previewed, taken over and saved from the current settings.
#include "editing/correctionsfile.h"
#include "imaging/colour.h"
#include "ui/formslot.h"

#include <QDialog>

#include <array>
#include <memory>

class QLabel;
class QLineEdit;
class QPainter;
class QSlider;
class TGradientButton;
class TMousedPanel;
class TPageListBox;
class TPaintBox;
struct EditState;

class Tfedit : public QDialog {
    Q_OBJECT
public:
    explicit Tfedit(QWidget* parent = nullptr);
    ~Tfedit() override;

    // The whole editing of one photo: prepares the preview, shows the window modally and
    // stores the settings when they are accepted.
    void EditPhoto(int index);
    // Shows page tag (1..5) and selects its button.
    void SelectPage(int tag);
    // Fills the list of stored sets from the corrections folder.
    void ScanStoredCorrections();

    const TStoredCorrections& StoredCorrections() const { return stored_; }
    // The state shared with the preview worker while the window is open, else null.
    EditState* State() const { return state_.get(); }

    // ---- controls ----
    struct TSettingControls {
        QLabel* label = nullptr;
        QSlider* tb = nullptr;
        QLineEdit* edit = nullptr;
        TGradientButton* minus = nullptr;
        TGradientButton* plus = nullptr;
        TGradientButton* zero = nullptr;
    };
    TMousedPanel* MousedPanel1 = nullptr; // top bar
    std::array<TGradientButton*, 5> pageButtons {};
    TGradientButton* breset = nullptr;
    TGradientButton* bok = nullptr;
    TGradientButton* bcancel = nullptr;
    TGradientButton* bloadcor = nullptr;
    TGradientButton* bsavecor = nullptr;
    std::array<TMousedPanel*, 5> pages {};
    std::array<TSettingControls, 9> settings {}; // in the order of EditSettings()
    TGradientButton* hbcolor = nullptr;
    TGradientButton* hbsepia = nullptr;
    TGradientButton* hbbw = nullptr;
    TPaintBox* draw = nullptr;
    TMousedPanel* StatusBar1 = nullptr;
    std::array<QLabel*, 2> statusPanels {};
    TMousedPanel* mploadcor = nullptr;
    TPageListBox* lbcorrections = nullptr;
    QLabel* lloadhint = nullptr;

    // ---- handlers ----
    void tbChange(QSlider* trackBar);
    void minusClick(QObject* button);
    void plusClick(QObject* button);
    void zeroClick(QObject* button);
    void editExit(QLineEdit* edit);
    void hbcolorClick();
    void hbsepiaClick();
    void hbbwClick();
    void bresetClick();
    void bokClick();
    void bloadcorClick();
    void bsavecorClick();
    void lbcorrectionsClick();
    void drawPaint(QPainter& painter);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildTopBar();
    void BuildPages();
    void BuildSettingRow(int setting, QWidget* page, int top);
    void BuildModePage();
    void BuildPreview();
    bool PrepareSession(int index); // false when the preview cannot be made

    void SetValue(int setting, int value);
    void SetControlsFromRecord(const Corrections& record);
    void ShowMode(bool sepia, bool blackWhite);
    void SetMode(bool sepia, bool blackWhite);
    Corrections CurrentRecord() const;
    void ReplaceRecord(const Corrections& record); // and the controls, and a new render

    void AcceptStoredSet();
    void CancelStoredSet();
    void HideStoredSets();

    std::unique_ptr<EditState> state_;
    int photoIndex_ = -1;
    Corrections backup_ {};
    TStoredCorrections stored_;
    bool updatingControls_ = false;
    TFormSlotEntry<Tfedit> slot_ { this };
};

inline Tfedit& fedit()
{
    return TFormSlot<Tfedit>::Get();
}
