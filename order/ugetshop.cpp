#include "order/ugetshop.h"

#include "core/coreobjects.h"
#include "lab/shoplist.h"
#include "lab/vdengine.h"
#include "order/shopchoice.h"
#include "ui/designfonts.h"
#include "ui/gradientbutton.h"
#include "ui/hotlabel.h"
#include "ui/keyboardwindow.h"
#include "ui/openlink.h"
#include "ui/pagelistbox.h"
#include "ui/statuslabel.h"
#include "ui/windowparts.h"

#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

namespace {

const QString kCaption = QStringLiteral("Wybierz punkt usługowy");
const QString kCancelCaption = QStringLiteral("ANULUJ");

TStatusLabel* MakeDetail(QWidget* parent, const char* name, const QString& caption, int y)
{
    auto* label = MakeNamed<TStatusLabel>(parent, name, QRect(8, y, 442, 16));
    label->SetCaption(caption);
    label->SetStatus(QString());
    return label;
}

const TShopList* Shops()
{
    return Core().engine ? Core().engine->shopList.get() : nullptr;
}

} // namespace

Tfgetshop::Tfgetshop(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("fgetshop"));
    setWindowTitle(kCaption);
    setFont(DesignFont(QStringLiteral("Tahoma"), 8));
    setFixedSize(458, 304);
    setModal(true);

    Label1 = MakeNamedText<QLabel>(this, "Label1",
        QStringLiteral("szukaj (wpisz dowolny ciąg znaków, telefon, miasto, ulicę ...):"), QRect(8, 6, 442, 16));
    esearch = MakeNamed<QLineEdit>(this, "esearch", QRect(8, 24, 442, 21));
    connect(esearch, &QLineEdit::textChanged, this, &Tfgetshop::esearchChange);
    connect(esearch, &QLineEdit::returnPressed, this, &Tfgetshop::esearchChange);

    lbshops = MakeNamed<TPageListBox>(this, "lbshops", QRect(8, 52, 442, 148));
    connect(lbshops, &TPageListBox::OnIndexChanged, this, &Tfgetshop::ShowDetails);
    connect(lbshops, &TPageListBox::OnDblClick, this, &Tfgetshop::bokClick);

    slname = MakeDetail(this, "slname", QStringLiteral("Nazwa:"), 206);
    sladres = MakeDetail(this, "sladres", QStringLiteral("Adres:"), 222);
    sladres2 = MakeDetail(this, "sladres2", QStringLiteral("Adres:"), 238);
    slphone = MakeDetail(this, "slphone", QStringLiteral("Telefon:"), 254);
    hlemail = MakeLinkLabel(this, "hlemail", QRect(8, 274, 220, 16));
    connect(hlemail, &THotLabel::OnClick, this, &Tfgetshop::hlemailClick);

    bok = MakeGlyphButton(this, "bok", QStringLiteral("AKCEPTUJ"), "ok", QRect(238, 270, 100, 25));
    bcancel = MakeGlyphButton(this, "bcancel", kCancelCaption, "cancel", QRect(350, 270, 100, 25));
    connect(bok, &TGradientButton::OnClick, this, &Tfgetshop::bokClick);
    connect(bcancel, &TGradientButton::OnClick, this, &QDialog::reject);
    // The list has the focus, Enter on it accepts; what is typed there goes on into the search.
    // Without a default button, Enter in the search only moves to the next match.
    connect(lbshops, &TPageListBox::OnKeyPress, this, [this](const QString& text) {
        if (!text.at(0).isPrint())
            return;
        esearch->setFocus(Qt::OtherFocusReason);
        esearch->insert(text);
    });
    UseFromKeyboard(this, lbshops);
}

int Tfgetshop::PickShop(int preselectId)
{
    const TShopList* shops = Shops();
    lbshops->SetItems(shops ? ShopLines(*shops) : QStringList());
    lbshops->SetItemIndex(preselectId != 0 && shops ? shops->IndexOfID(preselectId) : -1);
    ShowDetails();
    return exec() == QDialog::Accepted ? tag : 0;
}

void Tfgetshop::ShowActiveShops()
{
    bok->hide();
    bcancel->SetCaption(QStringLiteral("Zamknij"));
    setWindowTitle(QStringLiteral("Aktywna lista dostawców"));
    PickShop(-1);
    setWindowTitle(kCaption);
    bok->show();
    bcancel->SetCaption(kCancelCaption);
}

void Tfgetshop::showEvent(QShowEvent* event)
{
    tag = 0;
    {
        const QSignalBlocker quiet(esearch); // emptying the edit is no search
        esearch->clear();
    }
    searchTag = -1;
    CentreOnScreen(this);
    QDialog::showEvent(event);
}

void Tfgetshop::esearchChange()
{
    searchTag = NextShopMatch(lbshops->Items(), esearch->text(), searchTag);
    if (searchTag >= 0)
        lbshops->SetItemIndex(searchTag);
}

void Tfgetshop::ShowDetails()
{
    const TShopList* shops = Shops();
    const int index = lbshops->ItemIndex();
    const bool shown = shops && index >= 0 && index < shops->Count();
    const TShop shop = shown ? shops->Shop(index) : TShop {};
    slname->SetStatus(shop.name);
    sladres->SetStatus(shop.city);
    sladres2->SetStatus(shop.street);
    slphone->SetStatus(shop.phone);
    hlemail->setText(shop.email);
}

void Tfgetshop::bokClick()
{
    const TShopList* shops = Shops();
    const int index = lbshops->ItemIndex();
    if (bok->isHidden() || !shops || index < 0 || index >= shops->Count())
        return;
    tag = shops->Shop(index).id;
    accept();
}

void Tfgetshop::hlemailClick()
{
    if (!hlemail->text().isEmpty())
        OpenLink("mailto:" + hlemail->text());
}
