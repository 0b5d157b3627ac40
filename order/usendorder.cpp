#include "order/usendorder.h"

#include "core/coreobjects.h"
#include "core/log.h"
#include "core/textutils.h"
#include "lab/ftpconnect.h"
#include "lab/md5.h"
#include "lab/shoplist.h"
#include "lab/unet.h"
#include "lab/vdengine.h"
#include "order/customerdata.h"
#include "order/orderupload.h"
#include "order/sendorderrules.h"
#include "order/shopchoice.h"
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
#include "ui/pictures.h"
#include "ui/umydialog.h"
#include "ui/windowparts.h"

#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QScopeGuard>
#include <QTimer>
#include <QUrl>

namespace {

constexpr QRect kPageRect(136, 8, 458, 294);
constexpr int kBackX = 242; // the left one of a page's two buttons
constexpr int kNextX = 350;
constexpr int kButtonY = 262;

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

TGradientButton* MakePageButton(QWidget* page, const char* name, const QString& caption, int x)
{
    return MakeTextButton(page, name, caption, QRect(x, kButtonY, 100, 25));
}

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
    SetDefaultButtons(this, { GradientButton4, GradientButton2, bsend });
    UseFromKeyboard(this, ename);
}

void Tfsendorder::BuildCustomerPage()
{
    mpuser = MakeNamed<QWidget>(this, "mpuser", kPageRect);
    cfuser = MakeFrame(mpuser, "cfuser", QStringLiteral("Dane zamawiającego:"));
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
    GradientButton5 = MakePageButton(mpuser, "GradientButton5", QStringLiteral("Anuluj"), kBackX);
    GradientButton4 = MakePageButton(mpuser, "GradientButton4", QStringLiteral("Dalej"), kNextX);
    connect(GradientButton4, &TGradientButton::OnClick, this, &Tfsendorder::GradientButton4Click);
    connect(GradientButton5, &TGradientButton::OnClick, this, &QDialog::reject);
}

void Tfsendorder::BuildOrderPage()
{
    mporder = MakeNamed<QWidget>(this, "mporder", kPageRect);
    cforder = MakeFrame(mporder, "cforder", QStringLiteral("Szczegóły zamówienia"));
    MakeNamedText<QLabel>(mporder, "eshop_caption", QStringLiteral("Wybierz punkt usługowy:"), QRect(12, 20, 300, 16));
    eshop = MakeNamed<QLineEdit>(mporder, "eshop", QRect(12, 38, 396, 21));
    eshop->setReadOnly(true);
    GradientButton1 = MakeTextButton(mporder, "GradientButton1", QStringLiteral("..."), QRect(412, 37, 32, 23));
    connect(GradientButton1, &TGradientButton::OnClick, this, &Tfsendorder::GradientButton1Click);

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

    GradientButton3 = MakePageButton(mporder, "GradientButton3", QStringLiteral("Powrót"), kBackX);
    GradientButton2 = MakePageButton(mporder, "GradientButton2", QStringLiteral("Dalej"), kNextX);
    connect(GradientButton2, &TGradientButton::OnClick, this, &Tfsendorder::GradientButton2Click);
    connect(GradientButton3, &TGradientButton::OnClick, this, [this] { ShowPage(1); });
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
    bsend_back = MakePageButton(mpsend, "bsend_back", QStringLiteral("Powrót"), kBackX);
    bsend = MakePageButton(mpsend, "bsend", QStringLiteral("ZAMAWIAM"), kNextX);
    connect(bsend, &TGradientButton::OnClick, this, &Tfsendorder::bsendClick);
    connect(bsend_back, &TGradientButton::OnClick, this, [this] { ShowPage(2); });
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
}

void Tfsendorder::SetSending(bool on)
{
    mpsend->setVisible(on);
    mpuser->setVisible(!on);
    bsend->setVisible(!on);
    bsend_back->setVisible(!on);
    setEnabled(!on);
}

void Tfsendorder::showEvent(QShowEvent* event)
{
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
    lstat->setText(QStringLiteral("Wybierz \"ZAMAWIAM\" aby wysłać zlecenie."));
    pb->SetPosition(0);

    ShowPage(1);
    RefreshPrices();
    lerror->hide();
    CentreOnScreen(this);
    QDialog::showEvent(event);
    Timer1->start();
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
    eshop->setText(shops.names[0]);
    shopTag = shops.ids.Get(0);
    ApplyShopOptions(shopTag);
}

bool Tfsendorder::FetchShops()
{
    TEngine* engine = Core().engine;
    if (!engine)
        return false;
    fnet().ShowProgress(this, true, true);
    engine->shopList->Clear();
    if (!engine->shopsProtocol.isEmpty() && !engine->FetchShopList()) {
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

void Tfsendorder::GradientButton1Click()
{
    const int chosen = links_.pickShop ? links_.pickShop(shopTag) : 0;
    if (chosen == 0 || !Core().engine)
        return;
    const TShopList& shops = *Core().engine->shopList;
    ApplyShopOptions(chosen);
    eshop->setText(ShopLines(shops).value(shops.IndexOfID(chosen)));
    shopTag = chosen;
}

void Tfsendorder::GradientButton4Click()
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

void Tfsendorder::GradientButton2Click()
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
            "Zostanie przygotowane i wysłane zamównie, proces ten może zając nawet kilkadziesiąt minut w zależności od "
            "wilkości zamówienia szybkości internetu itp. Procesu NIE MOŻNA PRZERWAĆ ! Wysłać zamówienie teraz ?")))
        return;
    SaveCustomerData();
    for (QLabel* label : { lid, lsizeoryg, lsizeraw, lsizecur, lsizecurraw, lcount, ltime })
        label->clear();
    ltimeleft->setText(QStringLiteral("nieznany"));
    lstat->setText(QStringLiteral("Formatowanie zlecenia ..."));
    order_.Reset();
    SetSending(true);
    QApplication::processEvents();
    pb->SetPosition(0);
    RunOrder();
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
    const auto cleanUp = qScopeGuard([this] {
        SetSending(false);
        order_.CleanupOrder();
    });
    TVDImage& project = *Core().vdimage;
    const TEngine& engine = *Core().engine;
    const TOrderListener listener = OrderListener();
    if (!Succeeded(order_.InitOrder(project, engine.orderid, history_)))
        return;
    lid->setText(order_.orderId);
    lsizeoryg->setText(FormatByteSize(order_.origSize, QStringLiteral("Tb")));
    lsizeraw->setText(FormatByteSize(order_.sourceRaw, QStringLiteral("Tb")));

    lstat->setText(QStringLiteral("Tworzenie zlecenia ..."));
    RefreshStats();
    if (!Succeeded(order_.RenderOrderPhotos(project, engine.outputdpi, history_, listener)))
        return;
    if (engine.pack) {
        lstat->setText(QStringLiteral("Kompresowanie zlecenia ..."));
        RefreshStats();
        order_.PackOrder(listener);
    }
    if (!Succeeded(order_.WriteMetadata(project, engine, *Core().formats, OrderCustomer())))
        return;
    order_.RecordHistory(history_);
    if (DontSend()) {
        fdialog().Information(QStringLiteral("Dontsend flag detected, press ok to clean up and close..."));
        return;
    }

    lstat->setText(QStringLiteral("Łączenie z serwerem ..."));
    RefreshStats();
    const TFtpConnectResult connected = ConnectFtp(ftp_, engine.orderpath);
    if (!connected.ok) {
        fdialog().Error(connected.message);
        return;
    }
    lstat->setText(QStringLiteral("Wysyłanie zlecenia ..."));
    RefreshStats();
    if (!UploadPackage())
        return;
    TOrder::MarkSent(history_);
    OpenPostOrderPage();
    if (fdialog().Question(
            QStringLiteral("Zlecenie zostało pomyślnie wysłane !\rWyczyścić zlecenie z wysłanych zdjęć ?"))
        && links_.newProject)
        links_.newProject();
    accept();
}

bool Tfsendorder::Succeeded(const TOrderStep& step)
{
    if (!step.ok)
        fdialog().Error(step.message);
    return step.ok;
}

TOrderListener Tfsendorder::OrderListener()
{
    TOrderListener listener;
    listener.refreshStats = [this] { RefreshStats(); };
    listener.showRendered = [this](const QImage& rendered) { ShowPreview(rendered); };
    listener.progress = [this](int percent) { pb->SetPosition(percent); };
    listener.timeLeft = [this](const QString& text) { ltimeleft->setText(text); };
    return listener;
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
    if (index >= 0)
        customer.shop = { shops.ids.Get(index), shops.names[index], shops.cities[index], shops.streets[index],
            shops.phones[index], shops.emails[index], shops.banks[index] };
    customer.personalPickup = cbpersonal->Checked();
    customer.payCash = cbpaycash->Checked();
    customer.payTransfer = cbpaytransfer->Checked();
    customer.payCard = cbpaycard->Checked();
    customer.vat = cbvat->Checked();
    return customer;
}

bool Tfsendorder::UploadPackage()
{
    // The fetch window's bar counts the current file in thousandths: a file's size need not fit
    // the bar's int.
    constexpr int kFileBarSteps = 1000;
    pb->SetPosition(0);
    Tfnet& net = fnet();
    net.ShowProgress(this, true, false);
    const int netTop = net.y();
    net.move(net.x(), frameGeometry().bottom() + 1 + 5);
    qint64 fileBytes = 0;
    TUploadListener listener;
    listener.fileBegin = [&](qint64 bytes) {
        fileBytes = bytes;
        net.pb->SetMax(kFileBarSteps);
        net.pb->SetPosition(0);
    };
    listener.progress = [&](const TUploadProgress& progress) {
        if (fileBytes > 0)
            net.pb->SetPosition(int(progress.fileBytes * kFileBarSteps / fileBytes));
        pb->SetPosition(progress.percent);
        if (!progress.timeLeft.isEmpty())
            ltimeleft->setText(progress.timeLeft);
        RefreshStats();
    };
    listener.fileEnd = [&] { net.pb->SetMax(100); };
    listener.fileSent = [this](qint64) { RefreshStats(); };
    listener.retrying = [this](int, const QString& notice) {
        lerror->setText(notice);
        lerror->show();
        QApplication::processEvents();
    };
    listener.error = [&](const QString& message) {
        net.close();
        fdialog().Error(message);
    };
    const TUploadResult result
        = UploadOrder(ftp_, order_.FilesToSend(Core().engine->pack), Core().engine->orderpath, listener);
    if (result.sent) {
        net.move(net.x(), netTop);
        ltimeleft->clear();
    }
    net.close();
    return result.sent;
}

void Tfsendorder::OpenPostOrderPage() const
{
    const TEngine& engine = *Core().engine;
    if (engine.postorderpage.isEmpty())
        return;
    const QString sign = MD5Hex(engine.authkey + order_.orderId + login_);
    QDesktopServices::openUrl(QUrl(engine.postorderpage + "?id=" + order_.orderId + "&sign=" + sign));
}

void Tfsendorder::RefreshStats()
{
    ltime->setText(FormatElapsed(TOrder::Tick() - order_.startTick));
    lsizecurraw->setText(FormatByteSize(order_.orderRawSize, QStringLiteral("Tb")));
    lsizecur->setText(FormatByteSize(order_.orderSize, QStringLiteral("Tb")));
    lcount->setText(QString::number(order_.photosDone));
    QApplication::processEvents();
}

void Tfsendorder::ShowPreview(const QImage& rendered)
{
    iprev->SetPicture(OrderPreviewPicture(iprev->size(), rendered));
}
