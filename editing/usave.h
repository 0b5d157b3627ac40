#pragma once
// Tfsave ("fsave"): writes the project's photos as finished JPEG files, each exactly as it
// would be printed. The user chooses which photos, where, how the files are named, what
// happens to existing files and whether a new dated folder takes them. The window keeps its
// choices for the whole run of the program.
#include "editing/savenaming.h"
#include "editing/savestrip.h"
#include "ui/formslot.h"

#include <QDateTime>
#include <QDialog>

#include <functional>
#include <optional>

class QLabel;
class QLineEdit;
class TAdvProgressBar;
class TColorFrame;
class THotWinBitmap;
class TImage;
class TMCheckBox;

class Tfsave : public QDialog {
    Q_OBJECT
public:
    explicit Tfsave(QWidget* parent = nullptr);

    // The time a run starts (the dated folder's name).
    using TClock = std::function<QDateTime()>;
    void SetClock(TClock clock) { clock_ = std::move(clock); }

    // The choices as they stand; nothing when a numbering field holds no usable number (the
    // reason is then in message).
    std::optional<TSaveOptions> ChosenOptions(QString& message) const;

    // ---- controls, by section ----
    TColorFrame* GroupBox1 = nullptr; // "1. Które pliki zapisać ?"
    TMCheckBox* cbsel = nullptr;
    TMCheckBox* cball = nullptr;
    TColorFrame* GroupBox2 = nullptr; // "2. Gdzie zapisać ?"
    TMCheckBox* cborygpath = nullptr;
    TMCheckBox* cbpath = nullptr;
    QLineEdit* epath = nullptr;
    THotWinBitmap* hwbbrowse = nullptr;
    TColorFrame* GroupBox3 = nullptr; // "3. Jak nazwać pliki ?"
    TMCheckBox* cborygnames = nullptr;
    TMCheckBox* cbcount = nullptr;
    QLabel* lcountstart = nullptr;
    QLineEdit* ecountstart = nullptr;
    QLabel* lcountalign = nullptr;
    QLineEdit* ecountalign = nullptr;
    TColorFrame* GroupBox4 = nullptr; // "4. Istniejące pliki ..."
    TMCheckBox* cbrename = nullptr;
    TMCheckBox* cboverwrite = nullptr;
    TMCheckBox* cbskip = nullptr;
    TColorFrame* GroupBox5 = nullptr; // "5. Dodatkowe opcje"
    TMCheckBox* cbadddate = nullptr;
    TMCheckBox* cbraport = nullptr;
    TImage* iprev = nullptr;
    THotWinBitmap* hwbsave = nullptr;
    THotWinBitmap* hwbcancel = nullptr;
    TAdvProgressBar* pb = nullptr;

    // ---- handlers ----
    void hwbbrowseClick();
    void hwbsaveClick();
    void cbrenameClick();
    void cboverwriteClick();
    void cbskipClick();

private:
    void BuildSections();
    void SaveAll(const TSaveOptions& options);
    // The bar and the strip after each photo; runs the pending events once (the window is
    // disabled, so only painting and timers act), as the renders run without an event loop.
    void AfterPhoto(int percent, const QImage* rendered);

    TSaveStrip strip_;
    TClock clock_;
    TFormSlotEntry<Tfsave> slot_ { this };
};

inline Tfsave& fsave()
{
    return TFormSlot<Tfsave>::Get();
}
