#pragma once
// Tfsendorder ("fsendorder"): "Wysyłanie zlecenia", from a finished project to a sent order
// in three pages: customer data (mpuser), order details (mporder: pickup shop, delivery,
// payment, VAT invoice, prices) and sending (mpsend). Every opening logs the customer in and
// fetches the shop list again; "ZAMAWIAM" asks, remembers or forgets the customer data and
// runs the order (order/orderrun.h) with the window disabled, showing what the run reports.
//
// The window calls no other window: what it needs of them comes as links (TSendOrderLinks)
// that the program's window list gives it.
#include "order/loginanswer.h"
#include "ui/formslot.h"

#include <QDialog>

#include <functional>
#include <optional>

class QLabel;
class QLineEdit;
class QTimer;
class TColorFrame;
class TGradientButton;
class TGradientProgressBar;
class TImage;
class TNiceCheckBox;
class TOrder;
struct TCustomerData;
struct TOrderCustomer;
struct TUnfinishedOrder;

struct TSendOrderLinks {
    // The login window, modal: the user name and answer of a successful login, else nothing.
    std::function<std::optional<TLogin>()> login;
    // Empties the login window's user name (a lab without a login script).
    std::function<void()> forgetLogin;
    // The shop choice window: the chosen shop ID, 0 when none was chosen.
    std::function<int(int preselectId)> pickShop;
    // The main window's "Nowy projekt", which clears without asking while this window shows.
    std::function<void()> newProject;
};

class Tfsendorder : public QDialog {
    Q_OBJECT
public:
    explicit Tfsendorder(QWidget* parent = nullptr);

    void SetLinks(TSendOrderLinks links);

    // Makes exactly page n visible: 1 mpuser, 2 mporder, 3 mpsend.
    void ShowPage(int n);
    // On: page 3 without its buttons, the window disabled; off: the reverse.
    void SetSending(bool on);
    // Unchecks every option, then shows the options the shop offers (0: no shop).
    void ApplyShopOptions(int shopId);
    void RefreshPrices();
    // The statistics of the running order.
    void RefreshStats(const TOrder& order);
    // iprev shows the rendered photo whole, centred, on white.
    void ShowPreview(const QImage& rendered);

    TColorFrame* frame = nullptr;
    TImage* isendorder = nullptr;

    QWidget* mpuser = nullptr;
    TColorFrame* customerFrame = nullptr; // "Dane zamawiającego:"
    QLineEdit* ename = nullptr;
    QLineEdit* estreet = nullptr;
    QLineEdit* ecity = nullptr;
    QLineEdit* ephone = nullptr;
    QLineEdit* eemail = nullptr;
    QLabel* lvat = nullptr;
    QLineEdit* ecompany = nullptr;
    QLineEdit* enip = nullptr;
    TNiceCheckBox* cbsave = nullptr;
    TGradientButton* customerNextButton = nullptr; // "Dalej"
    TGradientButton* customerCancelButton = nullptr; // "Anuluj"

    QWidget* mporder = nullptr;
    TColorFrame* orderFrame = nullptr; // "Szczegóły zamówienia"
    QLineEdit* eshop = nullptr;
    TGradientButton* shopPickButton = nullptr; // "..."
    TNiceCheckBox* cbpersonal = nullptr;
    TNiceCheckBox* cbvat = nullptr;
    TNiceCheckBox* cbpaycash = nullptr;
    TNiceCheckBox* cbpaytransfer = nullptr;
    TNiceCheckBox* cbpaycard = nullptr;
    QLabel* lquantity = nullptr;
    QLabel* lprice = nullptr;
    QLabel* lpricetotal = nullptr;
    QLabel* lminprice = nullptr;
    TGradientButton* orderNextButton = nullptr; // "Dalej"
    TGradientButton* orderBackButton = nullptr; // "Powrót"

    QWidget* mpsend = nullptr;
    QLabel* lstat = nullptr;
    QLabel* lid = nullptr;
    QLabel* lsizeoryg = nullptr;
    QLabel* lsizeraw = nullptr;
    QLabel* lsizecur = nullptr;
    QLabel* lsizecurraw = nullptr;
    QLabel* lcount = nullptr;
    QLabel* ltime = nullptr;
    QLabel* ltimeleft = nullptr;
    TGradientProgressBar* pb = nullptr;
    QLabel* lerror = nullptr;
    TImage* iprev = nullptr;
    TGradientButton* bsend = nullptr; // "ZAMAWIAM"
    TGradientButton* sendBackButton = nullptr; // "Powrót"

    QTimer* Timer1 = nullptr;

    // The chosen shop's ID (eshop's tag), 0 when none.
    int shopTag = 0;

    // The first tick: the login window and the shop list's fetch window, each in its own
    // event loop.
    void Timer1Timer();
    void shopPickButtonClick(); // "...": the shop choice window, modal (an event loop)
    // Page 1 and page 2 "Dalej": a warning is modal (an event loop).
    void customerNextButtonClick();
    void orderNextButtonClick();
    // "ZAMAWIAM": the question, then the whole order. Spins event loops: the pending events
    // once, so that the sending page paints before the first step, then those of the run.
    void bsendClick();
    // At start-up: each order an earlier run left unfinished (order/unfinishedorder.h) is
    // offered, "Dokończyć wysyłanie zlecenia ..."; OK finishes it with this window showing its
    // sending page, "NIE" drops it. Spins event loops (the questions, the runs).
    void OfferUnfinishedOrders();

public Q_SLOTS:
    // Escape and the close box: refused while an order runs (the window is disabled then),
    // whose only way out is its own end.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void BuildCustomerPage();
    void BuildOrderPage();
    void BuildSendPage();
    void PaymentClick(TNiceCheckBox* box);
    void LoadCustomerData();
    TCustomerData CustomerData() const;
    void SetCustomerData(const TCustomerData& customer);
    void SaveCustomerData();
    bool FetchShops();
    // Everything after the customer confirmed the order: a TOrderRun whose listener moves
    // this window's labels and bar and shows its messages. Spins the run's event loops.
    void RunOrder();
    TOrderCustomer OrderCustomer() const;
    // Shows the sending page, without the opening steps, and finishes the order. Runs the
    // pending events once so that the page paints before the run, then the run's loops.
    void ResumeOrder(const TUnfinishedOrder& unfinished);
    // The statistics and the bar emptied, the step's text status.
    void ClearSendingPage(const QString& status);

    bool opened_ = false; // between an opening and the window's hiding
    bool resuming_ = false; // shown to finish an unfinished order: no opening steps
    TSendOrderLinks links_;
    QString login_; // the user name the order is sent under; empty without a login script
    TFormSlotEntry<Tfsendorder> slot_ { this };
};

inline Tfsendorder& fsendorder()
{
    return TFormSlot<Tfsendorder>::Get();
}
