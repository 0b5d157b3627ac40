#pragma once
// Tfdialog ("fdialog"): the one modal window through which every message and yes/no
// question reaches the user. It shows a text beside one of four icons with one to three
// buttons ("OK", "NIE", "ANULUJ") and, for the "once" kinds, the check box "Nie pytaj
// ponownie" whose answer goes into a flag of the user configuration. The window can only be
// left through a button.
//
// Use: fdialog().Question(text), fdialog().Error(text), fdialog().QuestionOnce(text, config.fexit).
//
// Test seam: while a TDialogAnswers object lives, no dialog waits for the user. Each
// ShowDialog lays the window out as usual (so geometry can be checked afterwards), records
// what it showed and takes the next queued answer: the button pressed and whether the check
// box is ticked first. A dialog that finds no answer left throws std::logic_error naming
// its text, so a test never hangs on a question it did not expect:
//
//     TDialogAnswers answers{{kButtonNo, true}, {kButtonOk}};
//     bool ask = true;
//     EXPECT_FALSE(fdialog().QuestionOnce(text, ask));   // ticked + "NIE", then confirmed
//     EXPECT_EQ(answers.Shown().size(), 2);
//
// SetObserver lets a test (or the gallery) look at the laid-out window while it "shows".
#include "ui/formslot.h"

#include <QDialog>
#include <QFlags>
#include <QList>

#include <functional>
#include <initializer_list>

class QLabel;
class QLineEdit;
class TColorFrame;
class TGradientButton;
class TImage;
class TNiceCheckBox;

enum class TDialogButton { First = 1, Second = 2, Third = 4 };
Q_DECLARE_FLAGS(TDialogButtons, TDialogButton)
Q_DECLARE_OPERATORS_FOR_FLAGS(TDialogButtons)

// Icon kinds; any other value shows no icon.
enum TDialogIcon { diExclamation = 0, diInformation = 1, diError = 2, diQuestion = 3 };

// Numbers of the buttons as ShowDialog returns them.
constexpr int kButtonOk = 0;
constexpr int kButtonNo = 1;
constexpr int kButtonCancel = 2;

class Tfdialog : public QDialog {
    Q_OBJECT
public:
    explicit Tfdialog(QWidget* parent = nullptr);

    // Shows `text` ("\r" breaks lines) with the given buttons and icon kind; returns the
    // number of the pressed button (0 first, 1 second, 2 third).
    int ShowDialog(const QString& text, TDialogButtons buttons, int icon);

    bool Question(const QString& text, int icon = diQuestion); // true for "OK"
    bool QuestionWarning(const QString& text);
    // Asks only while askFlag is on; ticking "Nie pytaj ponownie" turns it off (after a
    // confirmation when the answer was "NIE"). True at once when askFlag is off.
    bool QuestionOnce(const QString& text, bool& askFlag, int icon = diQuestion);
    void Warning(const QString& text);
    void Error(const QString& text);
    void Information(const QString& text);
    // Shows only while showFlag is on; ticking the box turns it off.
    void InformationOnce(const QString& text, bool& showFlag);
    // A warning with address under the text in a read-only field, for the customer to copy.
    void WarningWithAddress(const QString& text, const QString& address);

    // The confirmation asked after ticking the box and answering "NIE".
    static QString ConfirmationText();

    TImage* iexclamation = nullptr;
    TImage* iinfo = nullptr;
    TImage* ierror = nullptr;
    TImage* iquestion = nullptr;
    TColorFrame* ColorFrame2 = nullptr;
    TColorFrame* cf1 = nullptr;
    QLabel* Label1 = nullptr;
    TGradientButton* byes = nullptr;
    TGradientButton* bno = nullptr;
    TGradientButton* bcancel = nullptr;
    TColorFrame* cf = nullptr;
    TNiceCheckBox* cbflag = nullptr;
    QLineEdit* eaddress = nullptr; // shown by WarningWithAddress only

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

public Q_SLOTS:
    void reject() override; // Escape: "ANULUJ" or a message's only button, else refused

private:
    void ShowCheckBox(bool shown); // enlarges or shrinks the window
    void ShowAddress(const QString& address); // empty: the text alone
    void ButtonClick(int number);
    int WaitForButton();

    int resultMark_ = -1;
    bool checkBoxShown_ = false;
    TFormSlotEntry<Tfdialog> slot_ { this };
};

// The program's message dialog (the one start-up created, or one made on first use).
inline Tfdialog& fdialog()
{
    return TFormSlot<Tfdialog>::Get();
}

// ----- test seam -----

struct TDialogAnswer {
    int button = kButtonOk;
    bool tickCheckBox = false;
};

struct TShownDialog {
    QString text;
    TDialogButtons buttons;
    int icon = -1;
    bool checkBoxShown = false;
    QString address; // of WarningWithAddress
};

class TDialogAnswers {
public:
    TDialogAnswers(std::initializer_list<TDialogAnswer> answers = {});
    ~TDialogAnswers();
    TDialogAnswers(const TDialogAnswers&) = delete;
    TDialogAnswers& operator=(const TDialogAnswers&) = delete;

    void Add(TDialogAnswer answer);
    // Called with the laid-out window each time a dialog would wait for the user.
    void SetObserver(std::function<void(Tfdialog&)> observer) { observer_ = std::move(observer); }
    qsizetype Remaining() const { return answers_.size(); }
    const QList<TShownDialog>& Shown() const { return shown_; }

    // The active queue, or null when dialogs wait for the user.
    static TDialogAnswers* Active();
    // Records a shown dialog and hands out the next answer; throws when none is left, or when
    // the answer presses a button or ticks a check box that the dialog does not show.
    TDialogAnswer Take(Tfdialog& dialog, const TShownDialog& shown);

private:
    QList<TDialogAnswer> answers_;
    QList<TShownDialog> shown_;
    std::function<void(Tfdialog&)> observer_;
    TDialogAnswers* previous_ = nullptr;
};
