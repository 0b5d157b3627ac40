#pragma once
// Tfmain ("fmain"): the main window. It opens after a successful start-up with the lab's
// program name as its caption and shows the project as a grid of thumbnails, a status bar
// with facts about the focused photo and the order's price, and the project actions as
// buttons: twelve picture buttons in the top bar (their captions appear as hints below
// them) and ten buttons in the left bar. Closing it emits Closed, on which the program shuts down.
//
// Windows of other parts of the program (edit, crop, format, preview, send order, settings,
// history, provider, virtual account, tips, about) are attached with AttachWindow by the
// program's window list (app/forms.cpp); until then the action that opens them stays hidden
// (format and preview: does nothing). Changes
// made by other windows arrive through ProjectEvents() (project/projectevents.h).
#include "ui/formslot.h"

#include <QMainWindow>
#include <QPointer>
#include <QRect>

#include <functional>
#include <map>

class QAction;
class QFileDialog;
class QLabel;
class QScrollArea;
class TGradientButton;
class TImage;
class TMousedPanel;
class TStatusLabel;
class TThumbView;
class Tflog;
struct TPreparedPhoto;
struct TSavedProject;

// What the settings window returns when the thumbnail settings changed: the main window then
// makes every thumbnail again.
inline constexpr int kThumbSettingsChanged = 8;

// Format assigns a format to the photos; PickDefaultFormat returns the chosen format, -1 for
// none; Preview shows the focused photo's print.
enum class TMainLink {
    EditPhoto,
    CropPhoto,
    SendOrder,
    Settings,
    History,
    Provider,
    Virtual,
    Tip,
    About,
    Save,
    Format,
    PickDefaultFormat,
    Preview
};

class Tfmain : public QMainWindow {
    Q_OBJECT
public:
    explicit Tfmain(QWidget* parent = nullptr);
    ~Tfmain() override;

    // The log window the "LOG" action shows and hides.
    void SetLogWindow(Tflog* log);
    // Shows the window where the customer left it (the configuration's window keys), on a first
    // start at a share of the screen (project/windowplacement.h), and maximised again when it
    // was closed so. Closing the window writes its place back into the configuration.
    void ShowPlaced();
    // open shows the window modally and returns its result; a hidden action becomes visible
    // (except "Zapisz...", which this window never offers: it works but stays hidden).
    void AttachWindow(TMainLink link, std::function<int()> open);

    void UpdateStatus();
    void RepaintCell(int index);
    void RepaintGrid();
    int HitTest(int x, int y) const;
    void UpdateScrollRange();
    void RegenerateThumbnails();
    // Adds the files in order with the wait window's progress; a file that cannot be added
    // is named in a question whether to go on.
    void AddFiles(const QStringList& files);
    // Adds files and folders as a drop does, after the default format when one must be chosen.
    void OpenPaths(const QStringList& paths);
    bool Adding() const { return adding_; }
    // When the project file at path holds photos: asks whether to restore them; "OK" restores
    // them (RestoreProject), "NIE" empties the file. A damaged file is only logged.
    void OfferSavedProject(const QString& path);
    // Runs send, during which the send-order window has the project: its "Nowy projekt" after a
    // sent order clears without asking (the send action, and an order a start-up finishes).
    void WhileSendingOrder(const std::function<void()>& send);
    // Decodes the saved photos' sources again with the wait window's progress and gives each
    // photo what the customer had set on it; sources that cannot be read are left out and
    // named in one warning. The project file is not rewritten until every photo is back, and
    // not at all in this run when a full disk or the window's close cuts the restore short.
    void RestoreProject(const TSavedProject& saved);

    // ---- controls ----
    TMousedPanel* MousedPanel1 = nullptr; // top bar
    QLabel* lhint = nullptr;
    TMousedPanel* MousedPanel3 = nullptr; // left bar
    TMousedPanel* MousedPanel2 = nullptr; // status bar
    TStatusLabel* slphoto = nullptr;
    TStatusLabel* slcount = nullptr;
    TStatusLabel* slsize = nullptr;
    TStatusLabel* slformat = nullptr;
    TStatusLabel* slprice = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    TThumbView* draw = nullptr;
    TImage* ilocked = nullptr;
    TImage* igran = nullptr;
    TImage* isplash = nullptr; // the start-up picture, also for the about window
    QFileDialog* od = nullptr;

    // ---- actions ----
    QAction* anewproject = nullptr;
    QAction* aaddphotos = nullptr;
    QAction* adelete = nullptr;
    QAction* arename = nullptr;
    QAction* aquantity = nullptr;
    QAction* areset = nullptr;
    QAction* aeditphoto = nullptr;
    QAction* acrop = nullptr;
    QAction* aformat = nullptr;
    QAction* apreview = nullptr;
    QAction* aselall = nullptr;
    QAction* aselinv = nullptr;
    QAction* aselnone = nullptr;
    QAction* afullscreen = nullptr;
    QAction* asendorder = nullptr;
    QAction* asettings = nullptr;
    QAction* ahistory = nullptr;
    QAction* aprovider = nullptr;
    QAction* avirtual = nullptr;
    QAction* atip = nullptr;
    QAction* aabout = nullptr;
    QAction* asave = nullptr; // never offered here: hidden from creation
    QAction* alog = nullptr; // "LOG": visible only with the -log switch
    QAction* aexit = nullptr;

    // ---- action handlers (mainactions.cpp) ----
    void anewprojectExecute();
    void aaddphotosExecute();
    void adeleteExecute();
    void arenameExecute();
    void aquantityExecute();
    void aresetExecute();
    void aeditphotoExecute();
    void acropExecute();
    void aformatExecute();
    void apreviewExecute();
    void aselallExecute();
    void aselinvExecute();
    void aselnoneExecute();
    void afullscreenExecute();
    void asendorderExecute();
    void asettingsExecute();
    void alogExecute();
    void aexitExecute();

Q_SIGNALS:
    // The window closed for good: the program entry shuts down and ends its message loop.
    void Closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void FormCreate();
    QAction* MakeAction(const char* name, const QString& caption, void (Tfmain::*handler)());
    void BuildTopBar();
    void BuildLeftBar();
    void BuildStatusBar();
    void BuildGrid();
    void LayOutBars();
    void LayOutStatusBar();
    QSize MinimumLayoutSize() const;
    void ShowHint(const QString& hint);
    int OpenAttached(TMainLink link);
    void AfterProjectChange(); // scroll range, repaint, status
    // Decodes files on all cores with the wait window and hands each result to take in order
    // (take returns false to stop); a close meanwhile stops it too. Runs pending events while
    // it waits for the workers, so the window paints and the close box works.
    void TakeDecoded(const QStringList& files, const std::function<bool(int, TPreparedPhoto&)>& take);
    void AfterDecoding(); // AfterProjectChange, then the close that waited, if any
    bool AskFormatFirst();
    bool ConfirmExit(); // "Zakończyć pracę programu ?", unless told not to ask again
    void RememberPlacement() const;

    QList<TGradientButton*> topButtons_;
    QList<TGradientButton*> leftButtons_;
    std::map<TMainLink, std::function<int()>> links_;
    std::map<TMainLink, QAction*> linkActions_;
    QPointer<Tflog> logWindow_;
    QRect windowRect_; // the window's place before full-screen mode
    bool sendOrderShowing_ = false; // "Nowy projekt" then clears without asking
    bool adding_ = false; // AddFiles is running and handling events
    bool closeWhenAdded_ = false; // a close came meanwhile: it waits for the adding to stop
    TFormSlotEntry<Tfmain> slot_ { this };
};

// The program's main window (the one start-up created, or one made on first use).
inline Tfmain& fmain()
{
    return TFormSlot<Tfmain>::Get();
}
