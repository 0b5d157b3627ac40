#include "order/usendorder.h"

#include "core/coreobjects.h"
#include "core/log.h"
#include "core/textutils.h"
#include "lab/shoplist.h"
#include "lab/vdengine.h"
#include "net/labfetch.h"
#include "order/customerdata.h"
#include "order/orderrun.h"
#include "order/orderupload.h"
#include "order/sendorderrules.h"
#include "order/shopchoice.h"
#include "order/unfinishedorder.h"
#include "platform/timeutils.h"
#include "project/numbertext.h"
#include "project/uvdimage.h"
#include "ui/colorframe.h"
#include "ui/designfonts.h"
#include "ui/gradientbutton.h"
#include "ui/gradientprogressbar.h"
#include "ui/image.h"
#include "ui/keyboardwindow.h"
#include "ui/nicecheckbox.h"
#include "ui/openlink.h"
#include "ui/pictures.h"
#include "ui/umydialog.h"
#include "ui/unet.h"
#include "ui/windowparts.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>
#include <QTimer>

namespace {

constexpr QRect kPageRect(136, 8, 458, 294);
constexpr int kBackX = 242; // the left one of a page's two buttons
constexpr int kNextX = 350;
constexpr int kButtonY = 262;

// An order's size on the sending page; nothing where it is not known.
QString OrderSizeText(int64_t bytes)
{
    return bytes == kUnknownSize ? QString() : FormatByteSize(bytes, QStringLiteral("Tb"));
}

TColorFrame* MakeFrame(QWidget* page, const char* name, const QString& caption)
{
    auto* frame = MakeNamed<TColorFrame>(page, name, QRect(0, 0, kPageRect.width(), kPageRect.height()));
    frame->SetCaption(caption);
    frame->SetAutoFrameColor(true);
    return frame;
}

// An edit after its caption, on row y of the customer page.
QLineEdit* MakeField(QWidget* page, const char* name, const QString& caption, int y)
{
    auto* title = new QLabel(caption, page);
    title->setObjectName(QLatin1String(name) + QLatin1String("_caption"));
    title->setGeometry(12, y + 2, 130, 17);
    return MakeNamed<QLineEdit>(page, name, QRect(146, y, 298, 21));
}

TNiceCheckBox* MakeCheckBox(QWidget* page, const char* name, const QString& caption, const QRect& geometry)
{
    auto* box = MakeNamed<TNiceCheckBox>(page, name, geometry);
    box->SetCaption(caption);
    return box;
}

QString ReadyToSendText()
{
    return QStringLiteral("Wybierz \"ZAMAWIAM\" aby wysłać zlecenie.");
}

TGradientButton* MakePageButton(QWidget* page, const char* name, const QString& caption, int x)
{
    return MakeTextButton(page, name, caption, QRect(x, kButtonY, 100, 25));
}

// What a running order shows in the send-order window: its labels and bar, the fetch window
// 5 pixels below it during the upload, and the run's messages and question through fdialog.
class TSendOrderView : public TOrderRunListener {
public:
    TSendOrderView(Tfsendorder& window, std::function<void()> newProject)
        : window_(window)
        , newProject_(std::move(newProject))
    {
    }

    void StatusChanged(const QString& status) override { window_.lstat->setText(status); }
    void OrderStarted(const TOrder& order) override
    {
        window_.lid->setText(order.orderId);
        window_.lsizeoryg->setText(OrderSizeText(order.origSize));
        window_.lsizeraw->setText(OrderSizeText(order.sourceRaw));
    }
    void StatsChanged(const TOrder& order) override { window_.RefreshStats(order); }
    void PhotoRendered(const QImage& rendered) override { window_.ShowPreview(rendered); }
    void ProgressChanged(int percent) override { window_.pb->SetPosition(percent); }
    void TimeLeftChanged(const QString& text) override { window_.ltimeleft->setText(text); }

    void UploadStarted() override
    {
        window_.pb->SetPosition(0);
        Tfnet& net = fnet();
        net.ShowProgress(&window_, true, false);
        netTop_ = net.y();
        net.move(net.x(), window_.frameGeometry().bottom() + 1 + 5);
        uploading_ = true;
    }
    void UploadFileStarted(qint64 bytes) override
    {
        fileBytes_ = bytes;
        fnet().pb->SetMax(kFileBarSteps);
        fnet().pb->SetPosition(0);
    }
    void UploadProgressed(const TUploadProgress& progress) override
    {
        if (fileBytes_ > 0)
            fnet().pb->SetPosition(int(progress.fileBytes * kFileBarSteps / fileBytes_));
        window_.pb->SetPosition(progress.percent);
        if (!progress.timeLeft.isEmpty())
            window_.ltimeleft->setText(progress.timeLeft);
    }
    void UploadFileEnded() override { fnet().pb->SetMax(100); }
    void UploadRetrying(const QString& notice) override
    {
        window_.lerror->setText(notice);
        window_.lerror->show();
    }
    void UploadFinished(bool sent) override
    {
        Tfnet& net = fnet();
        if (sent) {
            net.move(net.x(), netTop_);
            window_.ltimeleft->clear();
        }
        net.close();
        uploading_ = false;
    }

    void Error(const QString& message) override
    {
        if (uploading_)
            fnet().close(); // it disables every other window, the message's too
        fdialog().Error(message);
    }
    void Information(const QString& message) override { fdialog().Information(message); }
    bool Question(const QString& text) override { return fdialog().Question(text); }
    void OpenPage(const QString& address) override { OpenLink(address); }
    void ClearProject() override
    {
        if (newProject_)
            newProject_();
    }

private:
    // The fetch window's bar counts the current file in thousandths: a file's size need not
    // fit the bar's int.
    static constexpr int kFileBarSteps = 1000;

    Tfsendorder& window_;
    std::function<void()> newProject_;
    int netTop_ = 0;
    qint64 fileBytes_ = 0;
    bool uploading_ = false;
};

} // namespace

Tfsendorder::Tfsendorder(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("fsendorder"));
    setWindowTitle(QStringLiteral("Wysyłanie zlecenia"));
    setFont(DesignFont(QStringLiteral("Tahoma"), 8));
    setFixedSize(602, 310);
    setModal(true);

    frame = MakeNamed<TColorFrame>(this, "frame", QRect(0, 0, 602, 310));
    frame->SetAutoFrameColor(true);
    isendorder = MakeNamed<TImage>(this, "isendorder", QRect(8, 15, 120, 280));
    isendorder->SetCenter(true);
    isendorder->SetPicture(ProgramPicture(QStringLiteral("sendorder")));

    BuildCustomerPage();
    BuildOrderPage();
    BuildSendPage();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(100);
    connect(Timer1, &QTimer::timeout, this, &Tfsendorder::Timer1Timer);
    // Each page's forward button is its default: Enter goes on to the next page, then orders.
    SetDefaultButtons(this, { customerNextButton, orderNextButton, bsend });
    UseFromKeyboard(this, ename);
}

void Tfsendorder::BuildCustomerPage()
{
    mpuser = MakeNamed<QWidget>(this, "mpuser", kPageRect);
    customerFrame = MakeFrame(mpuser, "cfuser", QStringLiteral("Dane zamawiającego:"));
    ename = MakeField(mpuser, "ename", QStringLiteral("Imię & Nazwisko:"), 22);
    estreet = MakeField(mpuser, "estreet", QStringLiteral("Ulica/nr domu:"), 48);
    ecity = MakeField(mpuser, "ecity", QStringLiteral("Kod - miasto"), 74);
    ephone = MakeField(mpuser, "ephone", QStringLiteral("Telefon kontaktowy:"), 100);
    eemail = MakeField(mpuser, "eemail", QStringLiteral("email:"), 126);
    lvat = MakeNamedText<QLabel>(mpuser, "lvat",
        QStringLiteral("Poniższe dane będą potrzebne tylko w przypadku faktury VAT."), QRect(12, 154, 432, 16));
    ecompany = MakeField(mpuser, "ecompany", QStringLiteral("Nazwa firmy:"), 174);
    enip = MakeField(mpuser, "enip", QStringLiteral("NIP:"), 200);
    cbsave = MakeCheckBox(mpuser, "cbsave", QStringLiteral("Zapamiętaj dane"), QRect(12, 232, 200, 18));
    customerCancelButton = MakePageButton(mpuser, "GradientButton5", QStringLiteral("Anuluj"), kBackX);
    customerNextButton = MakePageButton(mpuser, "GradientButton4", QStringLiteral("Dalej"), kNextX);
    connect(customerNextButton, &TGradientButton::OnClick, this, &Tfsendorder::customerNextButtonClick);
    connect(customerCancelButton, &TGradientButton::OnClick, this, &QDialog::reject);
}

void Tfsendorder::BuildOrderPage()
{
    mporder = MakeNamed<QWidget>(this, "mporder", kPageRect);
    orderFrame = MakeFrame(mporder, "cforder", QStringLiteral("Szczegóły zamówienia"));
    MakeNamedText<QLabel>(mporder, "eshop_caption", QStringLiteral("Wybierz punkt usługowy:"), QRect(12, 20, 300, 16));
    eshop = MakeNamed<QLineEdit>(mporder, "eshop", QRect(12, 38, 396, 21));
    eshop->setReadOnly(true);
    shopPickButton = MakeTextButton(mporder, "GradientButton1", QStringLiteral("..."), QRect(412, 37, 32, 23));
    connect(shopPickButton, &TGradientButton::OnClick, this, &Tfsendorder::shopPickButtonClick);

    cbpersonal = MakeCheckBox(mporder, "cbpersonal", QStringLiteral("Odbiór osobisty"), QRect(12, 70, 200, 18));
    cbvat = MakeCheckBox(mporder, "cbvat", QStringLiteral("Faktura VAT"), QRect(230, 70, 200, 18));
    cbpaycash = MakeCheckBox(mporder, "cbpaycash", QStringLiteral("Płatność gotówką"), QRect(12, 96, 200, 18));
    cbpaytransfer
        = MakeCheckBox(mporder, "cbpaytransfer", QStringLiteral("Płatność przelewem"), QRect(12, 118, 200, 18));
    cbpaycard = MakeCheckBox(mporder, "cbpaycard", QStringLiteral("Płatność kartą"), QRect(12, 140, 200, 18));
    for (TNiceCheckBox* box : { cbpaycash, cbpaytransfer, cbpaycard })
        connect(box, &TGradientButton::OnClick, this, [this, box] { PaymentClick(box); });
    connect(cbpersonal, &TGradientButton::OnClick, this, &Tfsendorder::RefreshPrices);

    lquantity = MakeCaptionedValue(
        mporder, "lquantity", QStringLiteral("Ilość zamawianych zdjęć:"), QRect(12, 168, 432, 16), 170);
    lprice = MakeCaptionedValue(mporder, "lprice", QStringLiteral("Wartość zlecenia:"), QRect(12, 185, 432, 16), 170);
    lpricetotal = MakeCaptionedValue(
        mporder, "lpricetotal", QStringLiteral("Łączny koszt zlecenia:"), QRect(12, 202, 432, 16), 170);
    QFont bold = lpricetotal->font();
    bold.setBold(true);
    lpricetotal->setFont(bold);
    lminprice = MakeNamedText<QLabel>(mporder, "lminprice",
        QStringLiteral("UWAGA: Do ceny zlecenia zostały doliczone koszta otwarcia zlecenia ponieważ wartość zlecenia "
                       "nie przekroczyła minimalnej kwoty."),
        QRect(12, 222, 432, 34));
    lminprice->setWordWrap(true);

    orderBackButton = MakePageButton(mporder, "GradientButton3", QStringLiteral("Powrót"), kBackX);
    orderNextButton = MakePageButton(mporder, "GradientButton2", QStringLiteral("Dalej"), kNextX);
    connect(orderNextButton, &TGradientButton::OnClick, this, &Tfsendorder::orderNextButtonClick);
    connect(orderBackButton, &TGradientButton::OnClick, this, [this] { ShowPage(1); });
}

void Tfsendorder::BuildSendPage()
{
    mpsend = MakeNamed<QWidget>(this, "mpsend", kPageRect);
    MakeFrame(mpsend, "cfsend", QString());
    // The current step on a line of its own, the step's text may be long.
    lstat = MakeCaptionedValue(mpsend, "lstat", QStringLiteral("Obecna czynność:"), QRect(12, 14, 434, 16), 100);
    QFont bold = lstat->font();
    bold.setBold(true);
    lstat->setFont(bold);
    const struct {
        const char* name;
        const char16_t* caption;
        QLabel** label;
    } rows[] = {
        { "lid", u"Przydzielone ID Twojego zlecenia:", &lid },
        { "lsizeoryg", u"Oryginalny rozmiar:", &lsizeoryg },
        { "lsizeraw", u"Nieskompresowany rozmiar:", &lsizeraw },
        { "lsizecur", u"Obecny rozmiar:", &lsizecur },
        { "lsizecurraw", u"Obecny nieskompresowany rozmiar:", &lsizecurraw },
        { "lcount", u"Obecna ilość zdjęć:", &lcount },
        { "ltime", u"Czas do tej pory:", &ltime },
        { "ltimeleft", u"Przewidywany czas ukończenia:", &ltimeleft },
    };
    int y = 36;
    for (const auto& row : rows) {
        *row.label = MakeCaptionedValue(mpsend, row.name, QString::fromUtf16(row.caption), QRect(12, y, 328, 16), 200);
        y += 18;
    }
    pb = MakeNamed<TGradientProgressBar>(mpsend, "pb", QRect(12, 184, 434, 22));
    pb->SetShowCaption(true);
    pb->SetAutoCaption(true);
    lerror = MakeNamed<QLabel>(mpsend, "lerror", QRect(12, 212, 434, 44));
    lerror->setWordWrap(true);
    iprev = MakeNamed<TImage>(mpsend, "iprev", QRect(346, 36, 100, 136));
    sendBackButton = MakePageButton(mpsend, "bsend_back", QStringLiteral("Powrót"), kBackX);
    bsend = MakePageButton(mpsend, "bsend", QStringLiteral("ZAMAWIAM"), kNextX);
    connect(bsend, &TGradientButton::OnClick, this, &Tfsendorder::bsendClick);
    connect(sendBackButton, &TGradientButton::OnClick, this, [this] { ShowPage(2); });
}

void Tfsendorder::SetLinks(TSendOrderLinks links)
{
    links_ = std::move(links);
}

void Tfsendorder::ShowPage(int n)
{
    mpuser->setVisible(n == 1);
    mporder->setVisible(n == 2);
    mpsend->setVisible(n == 3);
    // Enter goes on with the order on every page: the last one's step is "ZAMAWIAM", which
    // still asks before anything is sent.
    if (n == 3)
        bsend->setFocus(Qt::TabFocusReason);
}

void Tfsendorder::SetSending(bool on)
{
    mpsend->setVisible(on);
    mpuser->setVisible(!on);
    bsend->setVisible(!on);
    sendBackButton->setVisible(!on);
    setEnabled(!on);
}

void Tfsendorder::showEvent(QShowEvent* event)
{
    // The opening steps belong to an opening only: a window restored from minimised (a
    // spontaneous show) or shown again while open would otherwise restart a running order.
    if (event->spontaneous() || opened_ || resuming_) {
        QDialog::showEvent(event);
        return;
    }
    opened_ = true;
    const TVDImage* project = Core().vdimage;
    const int prints = project ? project->TotalQuantity() : 0;
    lquantity->setText(QString::number(prints));
    LoadCustomerData();
    eshop->clear();
    shopTag = 0;
    ApplyShopOptions(0);

    SetSending(false);
    for (QLabel* label : { lid, lsizeoryg, lsizeraw, lsizecur, lsizecurraw, ltime })
        label->clear();
    lcount->setText(QString::number(prints));
    ltimeleft->setText(QStringLiteral("nieznany"));
    lstat->setText(ReadyToSendText());
    pb->SetPosition(0);

    ShowPage(1);
    RefreshPrices();
    lerror->hide();
    CentreOnScreen(this);
    QDialog::showEvent(event);
    Timer1->start();
}

void Tfsendorder::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    // Minimising hides the window spontaneously and leaves it open.
    if (!isVisible())
        opened_ = false;
}

void Tfsendorder::reject()
{
    if (isEnabled())
        QDialog::reject();
}

void Tfsendorder::LoadCustomerData()
{
    const std::optional<TCustomerData> saved = ReadCustomerData();
    if (!saved)
        return;
    SetCustomerData(*saved);
    cbsave->SetChecked(true);
}

TCustomerData Tfsendorder::CustomerData() const
{
    return { ename->text(), ecity->text(), estreet->text(), ephone->text(), eemail->text(), enip->text(),
        ecompany->text() };
}

void Tfsendorder::SetCustomerData(const TCustomerData& customer)
{
    ename->setText(customer.name);
    ecity->setText(customer.city);
    estreet->setText(customer.street);
    ephone->setText(customer.phone);
    eemail->setText(customer.email);
    if (customer.hasVatData) {
        enip->setText(customer.nip);
        ecompany->setText(customer.company);
    }
}

void Tfsendorder::Timer1Timer()
{
    Timer1->stop();
    const TEngine* engine = Core().engine;
    if (engine && !engine->loginscript.isEmpty()) {
        const std::optional<TLogin> login = links_.login ? links_.login() : std::nullopt;
        if (!login) {
            reject();
            return;
        }
        login_ = login->user;
        SetCustomerData(login->answer.customer);
    } else {
        login_.clear();
        if (links_.forgetLogin)
            links_.forgetLogin();
    }
    if (!FetchShops()) {
        reject();
        return;
    }
    const TShopList& shops = *engine->shopList;
    eshop->setText(shops.Shop(0).name);
    shopTag = shops.Shop(0).id;
    ApplyShopOptions(shopTag);
}

bool Tfsendorder::FetchShops()
{
    TEngine* engine = Core().engine;
    if (!engine)
        return false;
    fnet().ShowProgress(this, true, true);
    engine->shopList->Clear();
    if (!engine->shopsProtocol.isEmpty() && !FetchShopList(*engine)) {
        fnet().close();
        fdialog().Error(QStringLiteral("Nie można pobrać listy sklepów !"));
        return false;
    }
    fnet().close();
    if (!engine->BuildShopList()) {
        fdialog().Error(QStringLiteral("Nie można załadować listy sklepów !"));
        return false;
    }
    return true;
}

void Tfsendorder::ApplyShopOptions(int shopId)
{
    for (TNiceCheckBox* box : { cbpaycash, cbpaytransfer, cbpaycard, cbpersonal, cbvat })
        box->SetChecked(false);
    cbvat->hide();
    if (shopId == 0 || !Core().engine)
        return;
    const TShopOptions options = ShopOptions(*Core().engine->shopList, shopId).value_or(TShopOptions {});
    cbpersonal->setVisible(options.personal);
    cbpaycash->setVisible(options.payCash);
    cbpaytransfer->setVisible(options.payTransfer);
    cbpaycard->setVisible(options.payCard);
    cbvat->setVisible(options.vat);
}

void Tfsendorder::PaymentClick(TNiceCheckBox* box)
{
    if (box->Checked()) {
        for (TNiceCheckBox* other : { cbpaycash, cbpaytransfer, cbpaycard }) {
            if (other != box)
                other->SetChecked(false);
        }
    }
    RefreshPrices();
}

void Tfsendorder::RefreshPrices()
{
    TVDImage* project = Core().vdimage;
    if (!project)
        return;
    lprice->setText(FormatMoney(project->PhotosValue()));
    lpricetotal->setText(FormatMoney(project->OrderPrice(!cbpersonal->Checked(), cbpaycash->Checked())));
    lminprice->setVisible(project->openingChargeApplied);
}

void Tfsendorder::shopPickButtonClick()
{
    const int chosen = links_.pickShop ? links_.pickShop(shopTag) : 0;
    if (chosen == 0 || !Core().engine)
        return;
    const TShopList& shops = *Core().engine->shopList;
    ApplyShopOptions(chosen);
    eshop->setText(ShopLines(shops).value(shops.IndexOfID(chosen)));
    shopTag = chosen;
}

void Tfsendorder::customerNextButtonClick()
{
    for (QLineEdit* edit : { ename, estreet, ecity, ephone, eemail, ecompany, enip })
        edit->setText(TrimText(edit->text()));
    const QString warning = CustomerDataWarning(CustomerData());
    if (!warning.isEmpty()) {
        fdialog().Warning(warning);
        return;
    }
    ShowPage(2);
}

void Tfsendorder::orderNextButtonClick()
{
    const bool anyPayment = cbpaycash->Checked() || cbpaytransfer->Checked() || cbpaycard->Checked();
    const TOrderDetailsCheck check
        = CheckOrderDetails(shopTag, anyPayment, cbvat->Checked(), enip->text(), ecompany->text());
    if (check.warning.isEmpty()) {
        ShowPage(3);
        return;
    }
    fdialog().Warning(check.warning);
    if (check.backToCustomerData)
        ShowPage(1);
}

void Tfsendorder::bsendClick()
{
    if (!fdialog().Question(QStringLiteral(
            "Zostanie przygotowane i wysłane zamówienie, proces ten może zająć nawet kilkadziesiąt minut w zależności "
            "od wielkości zamówienia, szybkości internetu itp. Procesu NIE MOŻNA PRZERWAĆ ! Wysłać zamówienie teraz "
            "?")))
        return;
    SaveCustomerData();
    ClearSendingPage(QStringLiteral("Formatowanie zlecenia ..."));
    SetSending(true);
    QApplication::processEvents();
    pb->SetPosition(0);
    RunOrder();
}

void Tfsendorder::ClearSendingPage(const QString& status)
{
    for (QLabel* label : { lid, lsizeoryg, lsizeraw, lsizecur, lsizecurraw, lcount, ltime })
        label->clear();
    ltimeleft->setText(QStringLiteral("nieznany"));
    lstat->setText(status);
}

void Tfsendorder::OfferUnfinishedOrders()
{
    for (const TUnfinishedOrder& unfinished : FindUnfinishedOrders()) {
        if (fdialog().Question(UnfinishedOrderQuestion(unfinished))) {
            ResumeOrder(unfinished);
            continue;
        }
        // Reaching the server to delete the order's files may take up to its time-out.
        QApplication::setOverrideCursor(Qt::WaitCursor);
        TSendOrderView view(*this, links_.newProject);
        TOrderRun(*Core().vdimage, *Core().engine, *Core().formats, {}, view).Discard(unfinished);
        QApplication::restoreOverrideCursor();
    }
}

void Tfsendorder::ResumeOrder(const TUnfinishedOrder& unfinished)
{
    resuming_ = true;
    ClearSendingPage(QStringLiteral("Łączenie z serwerem ..."));
    lerror->hide();
    pb->SetPosition(0);
    ShowPage(3); // whichever page the window was left on
    SetSending(true);
    CentreOnScreen(this);
    show();
    QApplication::processEvents();
    TSendOrderView view(*this, links_.newProject);
    TOrderRun(*Core().vdimage, *Core().engine, *Core().formats, {}, view).Resume(unfinished);
    SetSending(false);
    hide();
    resuming_ = false;
}

void Tfsendorder::SaveCustomerData()
{
    if (!cbsave->Checked()) {
        DeleteCustomerData();
        return;
    }
    Log(QStringLiteral("Saving my data ..."));
    if (!WriteCustomerData(CustomerData()))
        Log(QStringLiteral("Can't write my data !"), 2);
}

void Tfsendorder::RunOrder()
{
    TSendOrderView view(*this, links_.newProject);
    TOrderRun run(*Core().vdimage, *Core().engine, *Core().formats, OrderCustomer(), view);
    if (run.Run() == TOrderOutcome::Sent)
        accept();
    SetSending(false);
    lstat->setText(ReadyToSendText()); // no step runs any more
}

TOrderCustomer Tfsendorder::OrderCustomer() const
{
    TOrderCustomer customer;
    customer.name = ename->text();
    customer.street = estreet->text();
    customer.city = ecity->text();
    customer.phone = ephone->text();
    customer.email = eemail->text();
    customer.login = login_;
    const TShopList& shops = *Core().engine->shopList;
    const int index = shops.IndexOfID(shopTag);
    if (index >= 0) {
        const TShop& shop = shops.Shop(index);
        customer.shop = { shop.id, shop.name, shop.city, shop.street, shop.phone, shop.email, shop.bank };
    }
    customer.personalPickup = cbpersonal->Checked();
    customer.payCash = cbpaycash->Checked();
    customer.payTransfer = cbpaytransfer->Checked();
    customer.payCard = cbpaycard->Checked();
    customer.vat = cbvat->Checked();
    return customer;
}

void Tfsendorder::RefreshStats(const TOrder& order)
{
    ltime->setText(FormatElapsed(TOrder::Tick() - order.startTick));
    lsizecurraw->setText(OrderSizeText(order.orderRawSize));
    lsizecur->setText(OrderSizeText(order.orderSize));
    lcount->setText(QString::number(order.photosDone));
}

void Tfsendorder::ShowPreview(const QImage& rendered)
{
    iprev->SetPicture(OrderPreviewPicture(iprev->size(), rendered));
}
