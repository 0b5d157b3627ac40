#include "order/uprovider.h"

#include "core/coreobjects.h"
#include "lab/vdengine.h"
#include "project/numbertext.h"
#include "project/uvdimage.h"
#include "ui/designfonts.h"
#include "ui/gradientbutton.h"
#include "ui/hotlabel.h"
#include "ui/image.h"
#include "ui/keyboardwindow.h"
#include "ui/openlink.h"
#include "ui/windowparts.h"

#include <QLabel>

namespace {

QLabel* MakeLine(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* label = MakeNamed<QLabel>(parent, name, geometry);
    label->setTextFormat(Qt::PlainText);
    return label;
}

// A configured price, or "Brak." when the lab left it unset (negative).
QString PriceSetting(int hundredths)
{
    return hundredths < 0 ? QStringLiteral("Brak.") : FormatMoney(hundredths);
}

} // namespace

Tfprovider::Tfprovider(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("fprovider"));
    setWindowTitle(QStringLiteral("Dostawca"));
    setFont(DesignFont(QStringLiteral("Tahoma"), 8));
    setFixedSize(568, 310);
    setModal(true);

    ilogo = MakeNamed<TImage>(this, "ilogo", QRect(8, 8, 200, 146));
    ilogo->SetCenter(true);
    ltitle = MakeLine(this, "ltitle", QRect(218, 8, 342, 20));
    QFont bold = ltitle->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 2);
    ltitle->setFont(bold);
    const char* names[] = { "lowner", "lperson", "lstreet", "lcity", "lphone" };
    QLabel** lines[] = { &lowner, &lperson, &lstreet, &lcity, &lphone };
    for (int i = 0; i < 5; ++i)
        *lines[i] = MakeLine(this, names[i], QRect(218, 34 + 18 * i, 342, 16));
    hlemail = MakeLinkLabel(this, "hlemail", QRect(218, 124, 342, 16));
    hlwww = MakeLinkLabel(this, "hlwww", QRect(218, 142, 342, 16));
    connect(hlemail, &THotLabel::OnClick, this, &Tfprovider::hlemailClick);
    connect(hlwww, &THotLabel::OnClick, this, &Tfprovider::hlwwwClick);

    lmainshopi = MakeLine(this, "lmainshopi", QRect(8, 162, 552, 16));
    lmainshopi->setText(QStringLiteral("Ten punkt nie realizuje zleceń, tylko \"Aktywni dostawcy\"."));
    QFont notice = lmainshopi->font();
    notice.setBold(true);
    lmainshopi->setFont(notice);

    const struct {
        const char* caption;
        const char* name;
        QLabel** value;
    } rows[] = {
        { "Cena zlecenia:", "lprice", &lprice },
        { "Koszty wysyłki:", "lpricedel", &lpricedel },
        { "Koszty wysyłki (przy przedpłacie):", "lpricedelpre", &lpricedelpre },
        { "Minimalna ilość zdjęć do wysłania:", "lminphotos", &lminphotos },
        { "Koszt otwarcia zlecenia:", "lpriceopen", &lpriceopen },
        { "Koszt otwarcia doliczany poniżej:", "lpricemin", &lpricemin },
        { "Końcowa wartość zlecenia:", "lvalue", &lvalue },
    };
    int y = 184;
    for (const auto& row : rows) {
        *row.value = MakeCaptionedValue(this, row.name, QString::fromUtf8(row.caption), QRect(8, y, 414, 16), 230);
        y += 17;
    }
    lvalue->setFont(notice);

    GradientButton1
        = MakeTextButton(this, "GradientButton1", QStringLiteral("Aktywni dostawcy"), QRect(436, 246, 124, 25));
    GradientButton2 = MakeTextButton(this, "GradientButton2", QStringLiteral("Zamknij"), QRect(436, 277, 124, 25));
    connect(GradientButton1, &TGradientButton::OnClick, this, [this] {
        if (showActiveShops_)
            showActiveShops_();
    });
    connect(GradientButton2, &TGradientButton::OnClick, this, &QDialog::accept);
    SetDefaultButtons(this, { GradientButton2 });
    UseFromKeyboard(this, GradientButton2);
}

void Tfprovider::SetActiveShopsLink(std::function<void()> showActiveShops)
{
    showActiveShops_ = std::move(showActiveShops);
}

void Tfprovider::showEvent(QShowEvent* event)
{
    ShowSplashPicture(ilogo);
    if (const TEngine* engine = Core().engine) {
        ShowLabContacts({ ltitle, lowner, lperson, lstreet, lcity, lphone, hlemail, hlwww }, *engine);
        lmainshopi->setVisible(engine->noshop);
        lpricedel->setText(PriceSetting(engine->delivery_price));
        lpricedelpre->setText(PriceSetting(engine->delivery_pricepre));
        lminphotos->setText(engine->minphotos < 0 ? QStringLiteral("dowolna") : QString::number(engine->minphotos));
        lpriceopen->setText(PriceSetting(engine->open_price));
        lpricemin->setText(PriceSetting(engine->min_price));
    }
    if (TVDImage* project = Core().vdimage) {
        lprice->setText(FormatMoney(project->PhotosValue()));
        lvalue->setText("~ " + FormatMoney(project->OrderPrice(true, false)));
    }
    CentreOnScreen(this);
    QDialog::showEvent(event);
}

void Tfprovider::hlemailClick()
{
    OpenLink("mailto:" + hlemail->text());
}

void Tfprovider::hlwwwClick()
{
    OpenLink(hlwww->text());
}
