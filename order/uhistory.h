#pragma once
// Tfhistory ("fhistory"): "Historia zamówień", the entries of the order history. The entry
// list lbhistory above the details of the selected entry (lbdet, bold labels aligned on the
// widest one), the entry's contact-sheet pages beside them (Image1) with paging that wraps
// round, and "usuń z historii", which deletes the entry's files.
#include "order/history.h"
#include "ui/formslot.h"

#include <QDialog>
#include <QStringList>

class QListWidget;
class QSplitter;
class TGradientButton;
class TImage;
class TMousedPanel;
class TStatusLabel;

class Tfhistory : public QDialog {
    Q_OBJECT
public:
    explicit Tfhistory(QWidget* parent = nullptr);

    // The colours both lists take at start-up: the list's background and its font colour.
    void SetListColors(const QColor& background, const QColor& text);

    TMousedPanel* Panel1 = nullptr; // the main panel, equal margins to the window's edges
    QSplitter* Splitter1 = nullptr; // left (the lists) | right (the page)
    QSplitter* Splitter2 = nullptr; // lbhistory above lbdet
    QListWidget* lbhistory = nullptr;
    QListWidget* lbdet = nullptr;
    TImage* Image1 = nullptr;
    TStatusLabel* slpage = nullptr;
    TGradientButton* bprev = nullptr; // "poprzednia"
    TGradientButton* bnext = nullptr; // "następna"
    TGradientButton* bdelete = nullptr; // "usuń z historii"

    // The paths of the listed entry files, parallel to lbhistory.
    QStringList paths;
    // The page shown (0 while no entry is selected).
    int page = 0;
    // The width of the widest detail label in bold.
    int labelWidth = 0;

    void lbhistoryClick();
    void bprevClick();
    void bnextClick();
    void bdeleteClick();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void ListEntries();
    void ShowPage();
    void ClearEntry();
    void TurnPage(int step);

    THistory history_;
    int loaded_ = -1; // the row of lbhistory whose entry history_ holds
    TFormSlotEntry<Tfhistory> slot_ { this };
};

inline Tfhistory& fhistory()
{
    return TFormSlot<Tfhistory>::Get();
}
