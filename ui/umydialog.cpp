#include "ui/umydialog.h"

#include "skin/syscolors.h"
#include "ui/appevents.h"
#include "ui/colorframe.h"
#include "ui/designfonts.h"
#include "ui/gradientbutton.h"
#include "ui/image.h"
#include "ui/nicecheckbox.h"
#include "ui/shellglyphs.h"
#include "ui/widgetcolors.h"
#include "ui/windowparts.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>

#include <stdexcept>
#include <string>

namespace {

constexpr int kClientWidth = 413;
constexpr QRect kTextRect(80, 16, 313, 82);
// With an address to copy the text moves up and the address takes the frame's foot.
constexpr QRect kTextAboveAddressRect(80, 12, 313, 58);
constexpr QRect kAddressRect(80, 76, 313, 21);

TGradientButton* MakeButton(QWidget* parent, const char* name, const QString& caption, const char* glyph)
{
    auto* button = MakeGlyphButton(parent, name, caption, glyph, QRect(0, 112, 75, 25));
    button->setAutoDefault(true);
    return button;
}

TImage* MakeIcon(QWidget* parent, const char* name, const char* glyph)
{
    auto* icon = MakeNamed<TImage>(parent, name, QRect(10, 10, 50, 50));
    icon->SetPicture(ShellGlyph(QLatin1String(glyph), 50));
    icon->SetTransparent(true);
    return icon;
}

TColorFrame* MakeFrame(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* frame = MakeNamed<TColorFrame>(parent, name, geometry);
    frame->SetAutoFrameColor(true);
    return frame;
}

// Message texts break lines with "\r" (also "\r\n").
QString DisplayText(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

} // namespace

Tfdialog::Tfdialog(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("fdialog"));
    setFont(DesignFont(QStringLiteral("Tahoma"), 8));
    SetBackgroundColor(this, SysColor(TSysColor::BtnFace));
    setModal(true);

    ColorFrame2 = MakeFrame(this, "ColorFrame2", QRect(7, 7, 57, 57));
    cf1 = MakeFrame(this, "cf1", QRect(72, 8, 329, 97));
    iexclamation = MakeIcon(this, "iexclamation", "exclamation");
    iinfo = MakeIcon(this, "iinfo", "information");
    ierror = MakeIcon(this, "ierror", "error");
    iquestion = MakeIcon(this, "iquestion", "question");

    Label1 = MakeNamed<QLabel>(this, "Label1", kTextRect);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setWordWrap(true);
    Label1->setTextFormat(Qt::PlainText);

    byes = MakeButton(this, "byes", QStringLiteral("OK"), "ok");
    bno = MakeButton(this, "bno", QStringLiteral("NIE"), "no");
    bcancel = MakeButton(this, "bcancel", QStringLiteral("ANULUJ"), "cancel");
    connect(byes, &TGradientButton::OnClick, this, [this] { ButtonClick(kButtonOk); });
    connect(bno, &TGradientButton::OnClick, this, [this] { ButtonClick(kButtonNo); });
    connect(bcancel, &TGradientButton::OnClick, this, [this] { ButtonClick(kButtonCancel); });

    cf = MakeFrame(this, "cf", QRect(4, 146, 405, 5));
    cbflag = MakeNamed<TNiceCheckBox>(this, "cbflag", QRect(8, 152, 161, 18));
    cbflag->SetCaption(QStringLiteral("Nie pytaj ponownie"));

    eaddress = MakeNamed<QLineEdit>(this, "eaddress", kAddressRect);
    eaddress->setReadOnly(true);
    eaddress->hide();

    ShowCheckBox(false);
}

QString Tfdialog::ConfirmationText()
{
    return QStringLiteral("Wyłączyłeś(aś) dialog i wybrałeś(aś) odpowiedź NIE, kolejne zapytania do dialogu będą "
                          "natomiast przyjmowały odpowiedź TAK !\rCzy na pewno wyłączyć ten dialog w przyszłości ?");
}

void Tfdialog::ShowCheckBox(bool shown)
{
    checkBoxShown_ = shown;
    const int height = shown ? cbflag->geometry().bottom() + 1 + 5 : cf->y() - 2;
    setFixedSize(kClientWidth, height);
}

int Tfdialog::ShowDialog(const QString& text, TDialogButtons buttons, int icon)
{
    TImage* const icons[] = { iexclamation, iinfo, ierror, iquestion };
    TGradientButton* const row[] = { byes, bno, bcancel };
    const TDialogButton flags[] = { TDialogButton::First, TDialogButton::Second, TDialogButton::Third };
    for (TImage* image : icons)
        image->hide();
    for (TGradientButton* button : row)
        button->hide();
    if (icon >= 0 && icon < 4)
        icons[icon]->show();

    int rowWidth = 0;
    for (int i = 0; i < 3; ++i) {
        if (buttons.testFlag(flags[i])) {
            rowWidth += row[i]->width() + 10;
            row[i]->show();
        }
    }
    int left = cf1->x() + (cf1->width() - rowWidth) / 2;
    for (int i = 0; i < 3; ++i) {
        if (buttons.testFlag(flags[i])) {
            row[i]->move(left, row[i]->y());
            left += row[i]->width() + 10;
        }
    }
    Label1->setText(DisplayText(text));
    resultMark_ = -1;

    if (TDialogAnswers* answers = TDialogAnswers::Active()) {
        const TDialogAnswer answer = answers->Take(
            *this, { text, buttons, icon, checkBoxShown_, eaddress->isHidden() ? QString() : eaddress->text() });
        if (answer.tickCheckBox)
            cbflag->SetChecked(true);
        return answer.button;
    }
    return WaitForButton();
}

int Tfdialog::WaitForButton()
{
    setWindowTitle(ApplicationTitle());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
    exec();
    return resultMark_;
}

void Tfdialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    for (TGradientButton* button : { byes, bno, bcancel }) {
        if (button->isVisibleTo(this)) {
            button->setFocus();
            break;
        }
    }
}

void Tfdialog::ButtonClick(int number)
{
    resultMark_ = number;
    done(number);
}

void Tfdialog::closeEvent(QCloseEvent* event)
{
    if (resultMark_ < 0)
        event->ignore();
    else
        QDialog::closeEvent(event);
}

void Tfdialog::reject()
{
    if (resultMark_ >= 0) {
        QDialog::reject();
        return;
    }
    // Escape is a button too: "ANULUJ" where it is shown, the only button of a message; a
    // question without "ANULUJ" waits for its answer.
    if (bcancel->isVisibleTo(this))
        bcancel->click();
    else if (!bno->isVisibleTo(this))
        byes->click();
}

bool Tfdialog::Question(const QString& text, int icon)
{
    return ShowDialog(text, TDialogButton::First | TDialogButton::Second, icon) == kButtonOk;
}

bool Tfdialog::QuestionWarning(const QString& text)
{
    return Question(text, diExclamation);
}

bool Tfdialog::QuestionOnce(const QString& text, bool& askFlag, int icon)
{
    if (!askFlag)
        return true;
    cbflag->SetChecked(false);
    ShowCheckBox(true);
    const int answer = ShowDialog(text, TDialogButton::First | TDialogButton::Second, icon);
    ShowCheckBox(false);
    const bool ticked = cbflag->isChecked();
    askFlag = !ticked;
    if (ticked && answer == kButtonNo)
        askFlag = !Question(ConfirmationText(), diExclamation);
    return answer == kButtonOk;
}

void Tfdialog::Warning(const QString& text)
{
    ShowDialog(text, TDialogButton::First, diExclamation);
}

void Tfdialog::Error(const QString& text)
{
    ShowDialog(text, TDialogButton::First, diError);
}

void Tfdialog::Information(const QString& text)
{
    ShowDialog(text, TDialogButton::First, diInformation);
}

void Tfdialog::InformationOnce(const QString& text, bool& showFlag)
{
    if (!showFlag)
        return;
    ShowCheckBox(true);
    cbflag->SetChecked(false);
    Information(text);
    showFlag = !cbflag->isChecked();
    ShowCheckBox(false);
}

void Tfdialog::WarningWithAddress(const QString& text, const QString& address)
{
    ShowAddress(address);
    Warning(text);
    ShowAddress({});
}

void Tfdialog::ShowAddress(const QString& address)
{
    eaddress->setText(address);
    eaddress->setCursorPosition(0);
    eaddress->setVisible(!address.isEmpty());
    Label1->setGeometry(address.isEmpty() ? kTextRect : kTextAboveAddressRect);
}

// ----- test seam -----

namespace {
TDialogAnswers* activeAnswers = nullptr;
}

TDialogAnswers::TDialogAnswers(std::initializer_list<TDialogAnswer> answers)
    : answers_(answers)
    , previous_(activeAnswers)
{
    activeAnswers = this;
}

TDialogAnswers::~TDialogAnswers()
{
    activeAnswers = previous_;
}

void TDialogAnswers::Add(TDialogAnswer answer)
{
    answers_.append(answer);
}

TDialogAnswers* TDialogAnswers::Active()
{
    return activeAnswers;
}

TDialogAnswer TDialogAnswers::Take(Tfdialog& dialog, const TShownDialog& shown)
{
    shown_.append(shown);
    if (observer_)
        observer_(dialog);
    if (answers_.isEmpty())
        throw std::logic_error("no answer queued for the dialog: " + shown.text.toStdString());
    const int button = answers_.front().button;
    if (button < kButtonOk || button > kButtonCancel || !shown.buttons.testFlag(TDialogButton(1 << button)))
        throw std::logic_error(
            "the dialog shows no button " + std::to_string(button) + " to press: " + shown.text.toStdString());
    if (answers_.front().tickCheckBox && !shown.checkBoxShown)
        throw std::logic_error("the dialog shows no check box to tick: " + shown.text.toStdString());
    return answers_.takeFirst();
}
