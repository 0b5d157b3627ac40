#include "tools/gallery/galleryform.h"

#include "skin/skinner.h"
#include "ui/advprogressbar.h"
#include "ui/colorframe.h"
#include "ui/designfonts.h"
#include "ui/gradientbutton.h"
#include "ui/gradientprogressbar.h"
#include "ui/hotlabel.h"
#include "ui/hotwinbitmap.h"
#include "ui/image.h"
#include "ui/line.h"
#include "ui/mcheckbox.h"
#include "ui/mousedpanel.h"
#include "ui/nicecheckbox.h"
#include "ui/pagelistbox.h"
#include "ui/shellglyphs.h"
#include "ui/statuslabel.h"
#include "ui/umydialog.h"
#include "ui/upleasewait.h"

#include <QApplication>
#include <QEnterEvent>
#include <QLabel>
#include <QLineEdit>

namespace {

QLabel* Caption(QWidget* parent, const QString& text, int x, int y, int width = 120)
{
    auto* label = new QLabel(text, parent);
    label->setGeometry(x, y, width, 16);
    return label;
}

TMousedPanel* Section(QWidget* parent, const QString& title, const QRect& geometry)
{
    auto* panel = new TMousedPanel(parent);
    panel->setGeometry(geometry);
    panel->SetShowCaption(false);
    auto* frame = new TColorFrame(panel);
    frame->setGeometry(4, 2, geometry.width() - 8, geometry.height() - 6);
    frame->SetCaption(title);
    frame->setFont(DesignFont(QStringLiteral("Tahoma"), 8, true));
    return panel;
}

TGradientButton* Button(QWidget* parent, const QString& caption, const QRect& geometry, const char* glyph = nullptr)
{
    auto* button = new TGradientButton(parent);
    button->setGeometry(geometry);
    button->SetCaption(caption);
    if (glyph) {
        button->SetGlyph(ShellGlyph(QLatin1String(glyph), 16));
        button->SetGlyphTransparent(true);
    }
    return button;
}

} // namespace

TGalleryForm::TGalleryForm(const TSkinner& skinner, QWidget* parent)
    : QWidget(parent)
    , skinner_(skinner)
{
    setObjectName(QStringLiteral("fgallery"));
    setWindowTitle(QStringLiteral("Vendaro gallery"));
    setFont(DesignFont(QStringLiteral("Tahoma"), 8));
    setFixedSize(1180, 1140);

    AddButtons(Section(this, QStringLiteral("TGradientButton"), QRect(8, 8, 570, 118)));
    AddCheckBoxes(Section(this, QStringLiteral("TNiceCheckBox, TMCheckBox"), QRect(8, 130, 570, 76)));
    AddPanelsAndLabels(Section(this,
        QStringLiteral("TMousedPanel, TColorFrame, TStatusLabel, THotLabel, TLine, "
                       "THotWinBitmap, TImage, edit"),
        QRect(8, 210, 570, 214)));
    AddListsAndBars(
        Section(this, QStringLiteral("TPageListBox, TGradientProgressBar, TAdvProgressBar"), QRect(584, 8, 588, 416)));
    AddGlyphs(Section(this, QStringLiteral("Glyphs (24 and 50 pixels)"), QRect(8, 428, 1164, 176)));
    AddDialogs(Section(this, QStringLiteral("Tfdialog (seven kinds), Tfwait"), QRect(8, 608, 1164, 524)));
    skinner_.ApplyToForm(this);
}

void TGalleryForm::AddButtons(QWidget* area)
{
    const char* const states[] = { "normalny", "pod myszą", "wciśnięty", "z fokusem", "zaznaczony", "wyłączony" };
    for (int i = 0; i < 6; ++i) {
        TGradientButton* plain = Button(area, QString::fromUtf8(states[i]), QRect(12 + i * 92, 24, 86, 25));
        TGradientButton* glyph = Button(area, QStringLiteral("OK"), QRect(12 + i * 92, 54, 86, 25), "ok");
        for (TGradientButton* button : { plain, glyph }) {
            if (i == 1)
                hot_ << button;
            if (i == 2)
                pressed_ << button;
            if (i == 4)
                button->SetSelected(true);
            if (i == 5)
                button->setEnabled(false);
        }
        if (i == 3)
            focused_ = plain;
    }
    const auto& bar = TopBarButtons();
    for (size_t i = 0; i < bar.size(); ++i) {
        TGradientButton* button = Button(area, QString(), QRect(12 + int(i) * 28, 86, 24, 24), bar[i].glyph);
        button->setObjectName(QLatin1String(bar[i].button));
        if (i == 4)
            button->SetSelected(true);
    }
    Button(area, QStringLiteral("Dodaj zdjęcia ..."), QRect(352, 86, 139, 25), "add")->SetAlignment(Qt::AlignLeft);
}

void TGalleryForm::AddCheckBoxes(QWidget* area)
{
    const char* const states[] = { "pusty", "zaznaczony", "pod myszą", "wyłączony" };
    for (int i = 0; i < 4; ++i) {
        auto* box = new TNiceCheckBox(area);
        box->setGeometry(12 + i * 136, 22, 130, 18);
        box->SetCaption(QString::fromUtf8(states[i]));
        box->SetChecked(i == 1 || i == 3);
        if (i == 2)
            hot_ << box;
        box->setEnabled(i != 3);
    }
    for (int i = 0; i < 3; ++i) {
        auto* box = new TMCheckBox(area);
        box->setGeometry(12 + i * 136, 46, 130, 16);
        box->setText(QString::fromUtf8(states[i]));
        box->setChecked(i == 1);
        if (i == 2)
            hot_ << box;
    }
}

void TGalleryForm::AddPanelsAndLabels(QWidget* area)
{
    auto* raised = new TMousedPanel(area);
    raised->setGeometry(12, 22, 120, 40);
    raised->SetShowCaption(true);
    raised->SetCaption(QStringLiteral("wypukły"));
    auto* lowered = new TMousedPanel(area);
    lowered->setGeometry(140, 22, 120, 40);
    lowered->SetBevelOuter(vd::bvLowered);
    lowered->SetBevelWidth(2);
    lowered->SetShowCaption(true);
    lowered->SetCaption(QStringLiteral("wklęsły"));
    auto* bordered = new TMousedPanel(area);
    bordered->setGeometry(268, 22, 120, 40);
    bordered->SetDrawBorder(true);
    bordered->SetBorderWidth(3);
    bordered->SetShowCaption(true);
    bordered->SetCaption(QStringLiteral("z ramką"));
    auto* gradient = new TMousedPanel(area);
    gradient->setGeometry(396, 22, 160, 40);
    gradient->SetBackgroundMode(vd::bmLRGradient);
    gradient->SetShowCaption(true);
    gradient->SetCaption(QStringLiteral("gradient"));

    auto* frame = new TColorFrame(area);
    frame->setGeometry(12, 70, 180, 60);
    frame->SetCaption(QStringLiteral("Ramka z podpisem"));
    auto* autoFrame = new TColorFrame(area);
    autoFrame->setGeometry(200, 76, 120, 54);
    autoFrame->SetAutoFrameColor(true);
    Caption(area, QStringLiteral("AutoFrameColor"), 210, 94, 100);

    auto* status = new TStatusLabel(area);
    status->setGeometry(330, 72, 230, 18);
    status->SetCaption(QStringLiteral("Cena zlecenia:"));
    status->SetStatus(QStringLiteral("12.50 zł (~ 17.50 zł)"));
    auto* disabledStatus = new TStatusLabel(area);
    disabledStatus->setGeometry(330, 92, 230, 18);
    disabledStatus->SetCaption(QStringLiteral("Format:"));
    disabledStatus->SetStatus(QStringLiteral("Brak."));
    disabledStatus->setEnabled(false);
    auto* hotLabel = new THotLabel(area);
    hotLabel->setText(QStringLiteral("www.laboratorium.pl"));
    hotLabel->setGeometry(330, 112, 120, 16);
    hot_ << hotLabel;

    auto* horizontal = new TLine(area);
    horizontal->setGeometry(12, 140, 300, 2);
    horizontal->SetPenWidth(4);
    auto* vertical = new TLine(area);
    vertical->SetOrientation(vd::LVertical);
    vertical->setGeometry(320, 136, 2, 70);

    const char* const states[] = { "normalny", "pod myszą", "zaznaczony", "zazn. + mysz" };
    for (int i = 0; i < 4; ++i) {
        auto* bitmapButton = new THotWinBitmap(area);
        bitmapButton->setGeometry(12 + i * 74, 152, 70, 24);
        bitmapButton->SetCaption(QString::fromUtf8(states[i]));
        bitmapButton->SetSelected(i >= 2);
        bitmapButton->SetAdvanced(true);
        bitmapButton->SetMoused(i == 1 || i == 3);
    }
    auto* image = new TImage(area);
    image->setObjectName(QStringLiteral("iquestion"));
    image->setGeometry(340, 148, 50, 50);
    image->SetPicture(ShellGlyph(QStringLiteral("question"), 50));
    image->SetTransparent(true);
    auto* edit = new QLineEdit(QStringLiteral("Jan Kowalski"), area);
    edit->setGeometry(400, 164, 150, 21);
}

void TGalleryForm::AddListsAndBars(QWidget* area)
{
    QStringList items;
    for (int i = 1; i <= 20; ++i)
        items << QStringLiteral("Format %1 x %2 cm").arg(9 + i).arg(13 + i);
    auto* list = new TPageListBox(area);
    list->setGeometry(12, 24, 200, 169);
    list->SetItems(items);
    list->SetItemIndex(8);
    auto* flatList = new TPageListBox(area);
    flatList->setGeometry(220, 24, 200, 169);
    flatList->SetGradient(false);
    flatList->SetPASimpleLine(false);
    QStringList many;
    for (int i = 1; i <= 200; ++i)
        many << QStringLiteral("Sklep nr %1").arg(i);
    flatList->SetItems(many);
    flatList->SetItemIndex(96);
    auto* emptyList = new TPageListBox(area);
    emptyList->setGeometry(428, 24, 148, 80);

    const int positions[] = { 0, 25, 60, 100 };
    for (int i = 0; i < 4; ++i) {
        auto* bar = new TGradientProgressBar(area);
        bar->setGeometry(12, 204 + i * 24, 270, 18);
        bar->SetShowCaption(true);
        bar->SetAutoCaption(true);
        bar->SetSnapCaption(i % 2 == 1);
        bar->SetPosition(positions[i]);
    }
    auto* plainBar = new TGradientProgressBar(area);
    plainBar->setGeometry(12, 302, 270, 18);
    plainBar->SetBorderStyle(vd::mbsNone);
    plainBar->SetShowCaption(true);
    plainBar->SetCaption(QStringLiteral("Wysyłanie pliku 3 z 12"));
    plainBar->SetPosition(40);

    auto* whole = new TAdvProgressBar(area);
    whole->setGeometry(296, 204, 270, 20);
    whole->SetShowCaption(true);
    whole->SetAutoCaption(true);
    auto* shrink = new TAdvProgressBar(area);
    shrink->setGeometry(296, 230, 270, 20);
    shrink->SetGradientMode(vd::gmShrink);
    shrink->SetPosition(70);
    auto* vertical = new TAdvProgressBar(area);
    vertical->setGeometry(296, 256, 270, 20);
    vertical->SetGradientDirection(vd::gdVertical);
    vertical->SetShowCaption(true);
    vertical->SetAutoCaption(true);
    vertical->SetPosition(33);
    auto* flat = new TAdvProgressBar(area);
    flat->setGeometry(296, 282, 270, 20);
    flat->SetForegroundFillType(vd::btFlat);
    flat->SetBackgroundFillType(vd::btFlat);
    flat->SetBorderWidth(2);
    flat->SetShowCaption(true);
    flat->SetTextTransparent(false);
    flat->SetCaption(QStringLiteral("80 %"));
    flat->SetPosition(80);
}

void TGalleryForm::AddGlyphs(QWidget* area)
{
    // Drawn in the skin's text colour, as a skin's icons would be.
    const QColor ink = skinner_.GetColor(QStringLiteral("text"));
    const QStringList names = ShellGlyphNames();
    for (int i = 0; i < names.size(); ++i) {
        auto* small = new TImage(area);
        small->setGeometry(12 + i * 40, 24, 24, 24);
        small->SetPicture(ShellGlyph(names[i], 24, ink));
        small->setToolTip(names[i]);
        auto* large = new TImage(area);
        large->setGeometry(12 + (i % 20) * 56, 56 + (i / 20) * 56, 50, 50);
        large->SetPicture(ShellGlyph(names[i], 50, ink));
    }
}

void TGalleryForm::AddDialogs(QWidget* area)
{
    Tfdialog& dialog = fdialog();
    skinner_.ApplyToForm(&dialog);
    QList<QImage> shots;
    TDialogAnswers answers;
    answers.SetObserver([&shots](Tfdialog& shown) { shots << shown.grab().toImage(); });
    for (int i = 0; i < 9; ++i)
        answers.Add({ kButtonOk });
    const QString text = QStringLiteral("Czy na pewno usunąć zaznaczone zdjęcia z projektu ?");
    dialog.Question(text);
    dialog.Question(QStringLiteral("Nie udało się wysłać pliku.\rCzy spróbować ponownie ?"), diError);
    dialog.QuestionWarning(QStringLiteral("Zdjęcie ma zbyt małą rozdzielczość dla wybranego formatu.\rKontynuować ?"));
    bool askFlag = true;
    dialog.QuestionOnce(QStringLiteral("Zakończyć pracę programu ?"), askFlag);
    dialog.Warning(QStringLiteral("Nie wybrano formatu dla 3 zdjęć."));
    dialog.Error(QStringLiteral("Błąd połączenia z serwerem laboratorium."));
    dialog.Information(QStringLiteral("Zamówienie zostało wysłane & przyjęte."));
    bool showFlag = true;
    dialog.InformationOnce(QStringLiteral("Wybierz domyślny format zdjęć ..."), showFlag);

    Tfwait& wait = fwait();
    skinner_.ApplyToForm(&wait);
    wait.pb->SetPosition(42);
    shots << wait.grab().toImage();

    for (int i = 0; i < shots.size(); ++i) {
        auto* shot = new TImage(area);
        const QImage picture = shots[i].scaled(
            shots[i].width() * 9 / 10, shots[i].height() * 9 / 10, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        shot->setGeometry(12 + (i % 3) * 384, 24 + (i / 3) * 164, picture.width(), picture.height());
        shot->SetPicture(picture);
    }
}

void TGalleryForm::ShowStates()
{
    for (QWidget* widget : std::as_const(hot_)) {
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
        QApplication::sendEvent(widget, &enter);
    }
    for (QWidget* widget : std::as_const(pressed_)) {
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            button->setDown(true);
    }
    if (focused_) {
        QApplication::setActiveWindow(this);
        focused_->setFocus(Qt::OtherFocusReason);
    }
}
