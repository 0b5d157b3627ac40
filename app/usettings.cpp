#include "app/usettings.h"

#include "app/settingsrules.h"
#include "core/core.h"
#include "core/coreobjects.h"
#include "project/celltexts.h"
#include "project/numbertext.h"
#include "project/thumbcell.h"
#include "project/umain.h"
#include "skin/skinner.h"
#include "ui/colorframe.h"
#include "ui/designfonts.h"
#include "ui/gradientbutton.h"
#include "ui/gradientprogressbar.h"
#include "ui/keyboardwindow.h"
#include "ui/mousedpanel.h"
#include "ui/nicecheckbox.h"
#include "ui/pagelistbox.h"
#include "ui/statuslabel.h"
#include "ui/umydialog.h"
#include "ui/windowparts.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QScopeGuard>
#include <QSlider>
#include <QStyledItemDelegate>

#include <cmath>

namespace {

constexpr QPoint kPreviewOrigin(5, 5);
const QString kBrokenSkin = QStringLiteral("Skórka uszkodzona !");

// The program's skin engine: the window's own colours (not the sample's) come from it.
QColor SkinColor(const char* name)
{
    return Core().skinner->GetColor(QLatin1String(name));
}

// Columns of hue x * 360 / 199 degrees at full saturation and half lightness: a rainbow.
QImage RainbowPicture()
{
    QImage picture(200, 200, QImage::Format_ARGB32);
    for (int x = 0; x < picture.width(); ++x) {
        const double hue = std::fmod(x * 360.0 / 199.0, 360.0) / 360.0;
        const QRgb colour = QColor::fromHslF(float(hue), 1.0f, 0.5f).rgb();
        for (int y = 0; y < picture.height(); ++y)
            picture.setPixel(x, y, colour);
    }
    return picture;
}

// The skin list draws its items itself: "selected" behind a selected item's "selectedtext",
// otherwise the list's own colour and "text", the text from the item's top-left corner.
class TSkinItemDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        painter->fillRect(option.rect, selected ? SkinColor("selected") : option.palette.color(QPalette::Base));
        painter->setPen(SkinColor(selected ? "selectedtext" : "text"));
        painter->drawText(option.rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, index.data().toString());
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return { QStyledItemDelegate::sizeHint(option, index).width(), 16 };
    }
};

// A list or drop-down list in the program's "backgroundtext" with "text".
void DressListColors(QWidget* list)
{
    QPalette palette = list->palette();
    for (const QPalette::ColorRole role : { QPalette::Base, QPalette::Button })
        palette.setColor(role, SkinColor("backgroundtext"));
    for (const QPalette::ColorRole role : { QPalette::Text, QPalette::ButtonText, QPalette::WindowText })
        palette.setColor(role, SkinColor("text"));
    list->setPalette(palette);
}

TNiceCheckBox* MakeCheckBox(QWidget* parent, const char* name, const QString& caption, const QRect& geometry)
{
    auto* box = MakeNamed<TNiceCheckBox>(parent, name, geometry);
    box->SetCaption(caption);
    return box;
}

TColorFrame* MakeFrame(QWidget* parent, const char* name, const QString& caption, const QRect& geometry)
{
    auto* frame = MakeNamed<TColorFrame>(parent, name, geometry);
    frame->SetCaption(caption);
    frame->SetAutoFrameColor(true);
    return frame;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry, bool wrap = false)
{
    auto* label = MakeNamedText<QLabel>(parent, name, text, geometry);
    label->setWordWrap(wrap);
    return label;
}

QSlider* MakeTrackBar(QWidget* parent, const char* name, int min, int max, int tick, const QRect& geometry)
{
    auto* bar = MakeNamed<QSlider>(parent, name, geometry);
    bar->setOrientation(Qt::Horizontal);
    bar->setRange(min, max);
    bar->setPageStep(20);
    bar->setTickInterval(tick);
    bar->setTickPosition(QSlider::TicksBelow);
    return bar;
}

} // namespace

Tfsettings::Tfsettings(QWidget* parent)
    : QDialog(parent)
    , sample_(RainbowPicture())
{
    setObjectName(QStringLiteral("fsettings"));
    setWindowTitle(QStringLiteral("Ustawienia"));
    setFont(DesignFont(QStringLiteral("Tahoma"), 8));
    setFixedSize(654, 458);
    setModal(true);

    BuildPageButtons();
    BuildGeneralPage();
    BuildSkinPage();
    BuildConnectionPage();
    bok = MakeTextButton(this, "bok", QStringLiteral("OK"), QRect(458, 417, 89, 33));
    bcancel = MakeTextButton(this, "bcancel", QStringLiteral("Anuluj"), QRect(555, 417, 89, 33));
    connect(bok, &TGradientButton::OnClick, this, &Tfsettings::bokClick);
    connect(bcancel, &TGradientButton::OnClick, this, &QDialog::reject);
    SetDefaultButtons(this, { bok });
    UseFromKeyboard(this);
}

Tfsettings::~Tfsettings() = default;

void Tfsettings::SetProxyTestLink(TProxyTestLink test)
{
    proxyTest_ = std::move(test);
}

void Tfsettings::BuildPageButtons()
{
    const struct {
        const char* name;
        const char16_t* caption;
        int width;
    } buttons[] = {
        { "bgeneral", u"ogólne", 100 },
        { "GradientButton4", u"skórka", 100 },
        { "GradientButton6", u"połączenie z internetem", 170 },
    };
    int x = 10;
    for (std::size_t i = 0; i < pageButtons_.size(); ++i) {
        TGradientButton* button = MakeTextButton(
            this, buttons[i].name, QString::fromUtf16(buttons[i].caption), QRect(x, 8, buttons[i].width, 25));
        button->SetFramed(false);
        connect(button, &TGradientButton::OnClick, this, [this, i] {
            ShowPage(int(i) + 1);
            if (pages_[i] == skinPage)
                lbskin->setFocus(Qt::OtherFocusReason); // the skin list takes the keys on its page
        });
        pageButtons_[i] = button;
        x += buttons[i].width;
    }
    bgeneral = pageButtons_[0];
    skinPageButton = pageButtons_[1];
    connectionPageButton = pageButtons_[2];
    // The pages lie under the page buttons, one at a time.
    const QRect page(bgeneral->x(), bgeneral->geometry().bottom() + 1, 633, 377);
    const char* names[] = { "MousedPanel1", "MousedPanel2", "MousedPanel4" };
    for (std::size_t i = 0; i < pages_.size(); ++i)
        pages_[i] = MakeNamed<TMousedPanel>(this, names[i], page);
    generalPage = pages_[0];
    skinPage = pages_[1];
    connectionPage = pages_[2];
}

void Tfsettings::BuildGeneralPage()
{
    QWidget* page = generalPage;
    MakeFrame(page, "cfdialogs", QStringLiteral("Dialogi/potwierdzenia"), QRect(8, 8, 350, 112));
    cbfexit = MakeCheckBox(page, "cbfexit", QStringLiteral("Pytaj przed zamknięciem programu"), QRect(18, 28, 330, 18));
    cbfdelete = MakeCheckBox(
        page, "cbfdelete", QStringLiteral("Pytaj przed usunięciem zdjęcia (z projektu)"), QRect(18, 50, 330, 18));
    cbfpickdefformat = MakeCheckBox(
        page, "cbfpickdefformat", QStringLiteral("Informuj o wyborze formatu (domyślnego)"), QRect(18, 72, 330, 18));
    cbshowtips
        = MakeCheckBox(page, "cbshowtips", QStringLiteral("Pokazuj podpowiedzi przy starcie"), QRect(18, 94, 330, 18));

    MakeFrame(page, "cfthumbs", QStringLiteral("Wygląd miniaturek"), QRect(8, 128, 350, 241));
    MakeLabel(page, "tbthumbsize_caption", QStringLiteral("Rozmiar:"), QRect(18, 148, 150, 16));
    tbthumbsize = MakeTrackBar(page, "tbthumbsize", 100, 180, 20, QRect(18, 164, 330, 30));
    MakeLabel(page, "tbthumbborder_caption", QStringLiteral("Rozmiar ramki:"), QRect(18, 198, 150, 16));
    tbthumbborder = MakeTrackBar(page, "tbthumbborder", 0, 10, 2, QRect(18, 214, 330, 30));
    MakeLabel(page, "captions_caption", QStringLiteral("Podpisz miniaturki:"), QRect(18, 252, 200, 16));
    cbtname = MakeCheckBox(page, "cbtname", QStringLiteral("Nazwą pliku"), QRect(18, 270, 160, 18));
    cbtsize = MakeCheckBox(page, "cbtsize", QStringLiteral("Rozmiarem (pliku)"), QRect(184, 270, 160, 18));
    cbtprice = MakeCheckBox(page, "cbtprice", QStringLiteral("Formatem/ilością/ceną"), QRect(18, 292, 160, 18));
    cbtres = MakeCheckBox(page, "cbtres", QStringLiteral("Rozdzielczością"), QRect(184, 292, 160, 18));
    cbselected = MakeCheckBox(page, "cbselected", QStringLiteral("Zaznaczona"), QRect(18, 326, 160, 18));

    // The grid's own font: the preview's lines are as high as the main window's.
    thumbnailPreview = MakeNamed<QWidget>(page, "draw", QRect(366, 14, 257, 255));
    thumbnailPreview->setFont(QApplication::font());
    thumbnailPreview->installEventFilter(this);

    for (QSlider* bar : { tbthumbsize, tbthumbborder })
        connect(bar, &QSlider::valueChanged, this, &Tfsettings::ThumbControlChanged);
    for (TNiceCheckBox* box : { cbtname, cbtsize, cbtprice, cbtres })
        connect(box, &TGradientButton::OnClick, this, &Tfsettings::ThumbControlChanged);
    connect(cbselected, &TGradientButton::OnClick, thumbnailPreview, qOverload<>(&QWidget::update));
}

void Tfsettings::BuildSkinPage()
{
    QWidget* page = skinPage;
    lbskin = MakeNamed<QListWidget>(page, "lbskin", QRect(8, 8, 250, 186));
    lbskin->setItemDelegate(new TSkinItemDelegate(lbskin));
    lbskin->setUniformItemSizes(true);
    connect(lbskin, &QListWidget::itemClicked, this, &Tfsettings::lbskinClick);
    // The keys preview a skin as a click does (a click previews on its release).
    connect(lbskin, &QListWidget::currentItemChanged, this, [this] {
        if (lbskin->hasFocus() && QGuiApplication::mouseButtons() == Qt::NoButton)
            lbskinClick();
    });
    // Enter uses the skin under the cursor, which the keys may have reached without selecting.
    AcceptOnEnter(lbskin, [this] {
        if (QListWidgetItem* item = lbskin->currentItem())
            item->setSelected(true);
        useSkinButtonClick();
    });
    useSkinButton = MakeTextButton(page, "GradientButton5", QStringLiteral("użyj zaznaczonej"), QRect(266, 8, 130, 25));
    connect(useSkinButton, &TGradientButton::OnClick, this, &Tfsettings::useSkinButtonClick);
    slcurskin = MakeNamed<TStatusLabel>(page, "slcurskin", QRect(266, 42, 350, 18));
    slcurskin->SetCaption(QStringLiteral("Obecna skórka:"));
    slcurskin->SetStatus(QString());
    BuildSampleWindow();
}

void Tfsettings::BuildSampleWindow()
{
    sampleWindow = MakeNamed<TMousedPanel>(skinPage, "mp_form", QRect(8, 208, 617, 161));
    MakeLabel(sampleWindow, "lsample1", QStringLiteral("Niezajęty"), QRect(8, 8, 70, 16));
    MakeLabel(sampleWindow, "lsample2", QStringLiteral("obszar"), QRect(8, 26, 70, 16));
    MakeLabel(sampleWindow, "lsample3", QStringLiteral("okna"), QRect(8, 44, 70, 16));
    sampleControls = MakeNamed<TMousedPanel>(sampleWindow, "MousedPanel3", QRect(80, 8, 529, 145));

    auto* list = MakeNamed<TPageListBox>(sampleControls, "PageListBox1", QRect(8, 8, 120, 129));
    QStringList items;
    for (int i = 1; i <= 9; ++i)
        items << QStringLiteral("Element %1").arg(i);
    list->SetItems(items);
    list->SetCurrentPage(1);
    list->SetItemIndex(5);
    for (int i = 0; i < 3; ++i)
        MakeTextButton(sampleControls, QStringLiteral("GradientButton%1").arg(10 + i).toLatin1().constData(),
            QStringLiteral("klawisz %1").arg(i + 1), QRect(136, 8 + 30 * i, 90, 25));
    const char16_t* options[] = { u"Opcja 1", u"opcja 2", u"opcja 3", u"opcja 4" };
    for (int i = 0; i < 4; ++i)
        MakeCheckBox(sampleControls, QStringLiteral("NiceCheckBox%1").arg(i + 1).toLatin1().constData(),
            QString::fromUtf16(options[i]), QRect(234, 8 + 20 * i, 90, 18))
            ->SetChecked(i == 0);
    MakeNamedText<QLineEdit>(sampleControls, "Edit1", QStringLiteral("tekst"), QRect(136, 98, 190, 21));
    MakeFrame(sampleControls, "ColorFrame1", QStringLiteral("przykład"), QRect(334, 8, 187, 60));
    auto* status = MakeNamed<TStatusLabel>(sampleControls, "StatusLabel1", QRect(342, 76, 179, 18));
    status->SetCaption(QStringLiteral("Status:"));
    status->SetStatus(QStringLiteral("Przykładowy tekst"));
    auto* bar = MakeNamed<TGradientProgressBar>(sampleControls, "GradientProgressBar1", QRect(136, 124, 385, 15));
    bar->SetPosition(50);
    bar->SetShowCaption(true);
    bar->SetCaption(QStringLiteral("pasek postępu"));
    // The sample only shows a skin's looks: Tab passes it by.
    for (QWidget* control : sampleWindow->findChildren<QWidget*>())
        control->setFocusPolicy(Qt::NoFocus);
}

void Tfsettings::BuildConnectionPage()
{
    QWidget* page = connectionPage;
    cbpassive = MakeCheckBox(page, "cbpassive", QStringLiteral("Użyj połączenia pasywnego"), QRect(8, 8, 300, 18));
    MakeLabel(page, "lpassive",
        QStringLiteral("Jeśli występują problemy z połączeniem w trakcie wysyłania zlecenia, można spróbować włączyć "
                       "połączenie pasywne. Połączenie takie, rozwiązuje problemy z wysyłaniem, jeśli Twój komputer "
                       "znajduje się za Firewallem."),
        QRect(8, 28, 617, 30), true);
    MakeLabel(page, "cbtimeout_caption", QStringLiteral("Czas oczekiwania:"), QRect(8, 68, 110, 16));
    cbtimeout = MakeNamed<QComboBox>(page, "cbtimeout", QRect(120, 65, 120, 21));
    cbtimeout->addItems(TimeoutItems());
    MakeLabel(page, "ltimeout",
        QStringLiteral("Jeśli program się łączy i wysyła, ale często nie kończy wysyłania, można próbować zwiększyć "
                       "czas oczekiwania na odpowiedź serwera."),
        QRect(8, 90, 617, 30), true);

    MakeFrame(
        page, "cfproxy", QStringLiteral("Użyj serwera proxy do łączenia się z internetem"), QRect(8, 128, 617, 241));
    MakeLabel(page, "lproxy",
        QStringLiteral("Jeśli łączysz się z internetem poprzez serwer proxy, możesz tutaj włączyć jego obsługę i "
                       "skonfigurować go. O dane Twojego serwera proxy spytaj swojego administratora sieci. UWAGA: "
                       "Część serwerów proxy nie pozwala na połączenia z serwerami FTP lub będzie zrywać połączenia, w "
                       "takim przypadku nie będzie możliwe składanie zleceń. Pomyślne zakończenie testu serwera proxy "
                       "NIE gwarantuje prawidłowego działania programu."),
        QRect(18, 146, 597, 72), true);
    cbuseproxy = MakeCheckBox(page, "cbuseproxy", QStringLiteral("Użyj serwera proxy:"), QRect(18, 222, 200, 18));
    connect(cbuseproxy, &TGradientButton::OnClick, this, &Tfsettings::cbuseproxyClick);
    const auto makeField = [page](const char* name, const QString& caption, int x, int y, int captionWidth, int width) {
        MakeLabel(page, (QByteArray(name) + "_caption").constData(), caption, QRect(x, y + 3, captionWidth, 16));
        return MakeNamed<QLineEdit>(page, name, QRect(x + captionWidth, y, width, 21));
    };
    eproxy_host = makeField("eproxy_host", QStringLiteral("Host (adres):"), 18, 246, 110, 290);
    eproxy_port = makeField("eproxy_port", QStringLiteral("port:"), 428, 246, 40, 70);
    eproxy_login = makeField("eproxy_login", QStringLiteral("login (puste brak):"), 18, 272, 110, 180);
    eproxy_pass = makeField("eproxy_pass", QStringLiteral("hasło (puste brak):"), 318, 272, 110, 180);
    MakePasswordEdit(eproxy_pass);
    for (const auto& [field, value] : EditFields())
        connect(field, &QLineEdit::textEdited, this, [this] { proxyTested_ = false; });
    btestproxy = MakeTextButton(page, "btestproxy", QStringLiteral("testuj"), QRect(538, 302, 77, 25));
    connect(btestproxy, &TGradientButton::OnClick, this, &Tfsettings::btestproxyClick);
    lproxy_http = MakeLabel(page, "lproxy_http", QString(), QRect(18, 306, 510, 16));
    lproxy_ftp = MakeLabel(page, "lproxy_ftp", QString(), QRect(18, 326, 510, 16));
}

void Tfsettings::ShowPage(int tag)
{
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        const bool shown = int(i) + 1 == tag;
        pages_[i]->setVisible(shown);
        pageButtons_[i]->SetSelected(shown);
    }
}

void Tfsettings::showEvent(QShowEvent* event)
{
    previewSkin_ = std::make_unique<TSkinner>();
    lbskin->clear();
    lbskin->addItems(InstalledSkinNames());
    const QString current = TConfig::SelectedSkinName();
    LoadPreviewSkin(current);
    slcurskin->SetStatus(current);
    if (const TConfig* config = Core().config)
        LoadControls(SettingsFields(*config));
    lproxy_http->clear();
    lproxy_ftp->clear();
    proxyTested_ = true;
    DressListColors(cbtimeout);
    DressListColors(lbskin);
    ShowPage(1);
    CentreOnScreen(this);
    QDialog::showEvent(event);
}

void Tfsettings::done(int result)
{
    previewSkin_.reset();
    QDialog::done(result);
}

void Tfsettings::reject()
{
    if (!testing_)
        QDialog::reject();
}

std::vector<std::pair<TNiceCheckBox*, bool TSettingsFields::*>> Tfsettings::BoxFields() const
{
    return { { cbfexit, &TSettingsFields::fexit }, { cbfdelete, &TSettingsFields::fdelete },
        { cbfpickdefformat, &TSettingsFields::fPickDefFormat }, { cbshowtips, &TSettingsFields::fShowTip },
        { cbtname, &TSettingsFields::thumbname }, { cbtsize, &TSettingsFields::thumbsize },
        { cbtprice, &TSettingsFields::thumbprice }, { cbtres, &TSettingsFields::thumbresolution },
        { cbpassive, &TSettingsFields::passive }, { cbuseproxy, &TSettingsFields::useproxy } };
}

std::vector<std::pair<QLineEdit*, QString TSettingsFields::*>> Tfsettings::EditFields() const
{
    return { { eproxy_host, &TSettingsFields::proxyHost }, { eproxy_port, &TSettingsFields::proxyPort },
        { eproxy_login, &TSettingsFields::proxyLogin }, { eproxy_pass, &TSettingsFields::proxyPass } };
}

void Tfsettings::LoadControls(const TSettingsFields& fields)
{
    for (const auto& [box, field] : BoxFields())
        box->SetChecked(fields.*field);
    for (const auto& [edit, field] : EditFields())
        edit->setText(fields.*field);
    tbthumbsize->setValue(fields.thumbSize);
    tbthumbborder->setValue(fields.thumbBorder);
    cbtimeout->setCurrentIndex(fields.timeoutItem);
    cbuseproxyClick();
    thumbChanged_ = false;
}

TSettingsFields Tfsettings::ControlFields() const
{
    TSettingsFields fields;
    for (const auto& [box, field] : BoxFields())
        fields.*field = box->Checked();
    for (const auto& [edit, field] : EditFields())
        fields.*field = edit->text();
    fields.thumbSize = tbthumbsize->value();
    fields.thumbBorder = tbthumbborder->value();
    fields.timeoutItem = cbtimeout->currentIndex();
    return fields;
}

void Tfsettings::bokClick()
{
    const TSettingsFields fields = ControlFields();
    const QString problem = SettingsProblem(fields, proxyTested_);
    if (!problem.isEmpty()) {
        fdialog().Warning(problem);
        return;
    }
    if (TConfig* config = Core().config) {
        StoreSettingsFields(fields, *config);
        config->InitThumbSizes(thumbnailPreview->font());
    }
    done(thumbChanged_ ? kThumbSettingsChanged : QDialog::Accepted);
}

// ---- thumbnail preview --------------------------------------------------------------------

void Tfsettings::ThumbControlChanged()
{
    thumbChanged_ = true;
    thumbnailPreview->update();
}

QRect Tfsettings::PreviewCell() const
{
    const int lines
        = int(cbtname->Checked()) + int(cbtsize->Checked()) + int(cbtprice->Checked()) + int(cbtres->Checked());
    const int size = tbthumbsize->value();
    return { kPreviewOrigin,
        TConfig::ThumbCellSize(size, size, tbthumbborder->value(), lines, thumbnailPreview->font()) };
}

bool Tfsettings::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == thumbnailPreview && event->type() == QEvent::Paint) {
        QPainter painter(thumbnailPreview);
        drawPaint(painter);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void Tfsettings::drawPaint(QPainter& painter)
{
    painter.fillRect(thumbnailPreview->rect(), SkinColor("background"));
    // The sample as a photo of 1024 x 768 pixels and 10,245,246 bytes, 3 copies at 6.90 zł.
    const TCellFacts facts { 1024, 768, 10245246, QStringLiteral("przyklad.jpg"), 3, 690 };
    const TCellLines lines { cbtres->Checked(), cbtsize->Checked(), cbtname->Checked(), cbtprice->Checked() };
    const QRect cellRect = PreviewCell();
    const int size = tbthumbsize->value();
    const TThumbCell cell { cellRect.topLeft(), cellRect.size(), QSize(size, size), tbthumbborder->value(),
        cbselected->Checked(), CellTexts(facts, lines) };
    PaintThumbCell(painter, *Core().skinner, cell, [this](QPainter& cellPainter, const QRect& pictureArea) {
        const QImage picture = sample_.scaled(pictureArea.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
        QRect placed(QPoint(), picture.size());
        placed.moveCenter(pictureArea.center());
        cellPainter.drawImage(placed.topLeft(), picture);
    });
}

// ---- skins ------------------------------------------------------------------------------------

void Tfsettings::LoadPreviewSkin(const QString& name)
{
    if (!previewSkin_->LoadFromFile(TConfig::SkinFile(name)))
        fdialog().Error(kBrokenSkin);
    previewSkin_->ApplyToControl(sampleWindow);
    previewSkin_->ApplyToPanel(sampleWindow);
}

void Tfsettings::lbskinClick()
{
    if (const QListWidgetItem* item = lbskin->currentItem(); item && previewSkin_)
        LoadPreviewSkin(item->text());
}

void Tfsettings::useSkinButtonClick()
{
    const QListWidgetItem* item = lbskin->currentItem();
    if (!item || !item->isSelected()) {
        fdialog().Warning(QStringLiteral("Wybierz skórkę !"));
        return;
    }
    if (!fdialog().Question(QStringLiteral("Chcesz użyć wybranej skórki ?"), diQuestion))
        return;
    TConfig::SetSelectedSkinName(item->text());
    slcurskin->SetStatus(item->text());
    fdialog().Information(QStringLiteral("Nowa skórka zostanie użyta przy następnym uruchomieniu programu ..."));
}

// ---- connection ---------------------------------------------------------------------------

void Tfsettings::cbuseproxyClick()
{
    const bool on = cbuseproxy->Checked();
    for (QWidget* control :
        std::initializer_list<QWidget*> { eproxy_host, eproxy_port, eproxy_login, eproxy_pass, btestproxy })
        control->setEnabled(on);
}

void Tfsettings::btestproxyClick()
{
    if (!proxyTest_ || testing_)
        return;
    // Nothing else may start meanwhile, least of all a second test inside the first.
    testing_ = true;
    setEnabled(false);
    const auto restore = qScopeGuard([this] {
        setEnabled(true);
        testing_ = false;
    });
    const TProxyTestListener listener { [this](const QString& line) { lproxy_http->setText(line); },
        [this](const QString& line) { lproxy_ftp->setText(line); },
        [](const QString& message) { fdialog().Error(message); },
        [](const QString& message) { fdialog().Information(message); } };
    const TProxyTestResult result
        = proxyTest_({ eproxy_host->text(), eproxy_port->text(), eproxy_login->text(), eproxy_pass->text() }, listener);
    if (result.ftpMode >= 0 && Core().config)
        Core().config->proxy_ftp_type = result.ftpMode;
    if (result.tested)
        proxyTested_ = true;
}
