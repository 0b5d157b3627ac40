#include "editing/uformat.h"

#include "core/coreobjects.h"
#include "lab/formats.h"
#include "project/numbertext.h"
#include "project/projectevents.h"
#include "project/uvdimage.h"
#include "ui/colorframe.h"
#include "ui/designfonts.h"
#include "ui/gradientbutton.h"
#include "ui/keyboardwindow.h"
#include "ui/nicecheckbox.h"
#include "ui/pagelistbox.h"
#include "ui/umydialog.h"
#include "ui/windowparts.h"

#include <QLabel>

namespace {

TNiceCheckBox* MakeCheckBox(QWidget* parent, const char* name, const QString& caption, const QRect& geometry)
{
    auto* box = MakeNamed<TNiceCheckBox>(parent, name, geometry);
    box->SetCaption(caption);
    return box;
}

TGradientButton* MakeButton(QWidget* parent, const char* name, const QString& caption, const char* glyph, int x)
{
    return MakeGlyphButton(parent, name, caption, glyph, QRect(x, 318, 100, 25));
}

} // namespace

Tfformat::Tfformat(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("fformat"));
    setWindowTitle(QStringLiteral("Format"));
    setFont(DesignFont(QStringLiteral("Tahoma"), 8));
    setFixedSize(436, 356);
    setModal(true);

    lbformat = MakeNamed<TPageListBox>(this, "lbformat", QRect(8, 8, 420, 220));
    connect(lbformat, &TPageListBox::OnDblClick, this, &Tfformat::bokClick);

    GroupBox1 = new TColorFrame(this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->SetCaption(QStringLiteral("Zastosuj format do ... zdjęć"));
    GroupBox1->SetAutoFrameColor(true);
    GroupBox1->setGeometry(8, 236, 200, 70);
    cbsel = MakeCheckBox(this, "cbsel", QStringLiteral("zaznaczonych"), QRect(20, 256, 170, 18));
    cball = MakeCheckBox(this, "cball", QStringLiteral("wszystkich"), QRect(20, 280, 170, 18));
    cbsel->SetChecked(true);
    // Exactly one of the two is checked: a click on either sets the other to the opposite.
    connect(cbsel, &TGradientButton::OnClick, this, [this] { cball->SetChecked(!cbsel->Checked()); });
    connect(cball, &TGradientButton::OnClick, this, [this] { cbsel->SetChecked(!cball->Checked()); });

    cbsetdef = MakeCheckBox(this, "cbsetdef", QStringLiteral("Ustaw jako domyślny"), QRect(224, 256, 200, 18));
    Label1 = MakeNamedText<QLabel>(this, "Label1", QStringLiteral("*domyślny format"), QRect(224, 280, 200, 16));

    bok = MakeButton(this, "bok", QStringLiteral("AKCEPTUJ"), "ok", 220);
    bcancel = MakeButton(this, "bcancel", QStringLiteral("ANULUJ"), "cancel", 328);
    connect(bok, &TGradientButton::OnClick, this, &Tfformat::bokClick);
    connect(bcancel, &TGradientButton::OnClick, this, &QDialog::reject);
    SetDefaultButtons(this, { bok });
    UseFromKeyboard(this, lbformat);
}

void Tfformat::SetAssignControlsEnabled(bool enabled)
{
    for (TNiceCheckBox* box : { cbsel, cball, cbsetdef })
        box->setEnabled(enabled);
}

void Tfformat::AssignFormat()
{
    pickMode_ = false;
    SetAssignControlsEnabled(true);
    cbsetdef->SetChecked(false);
    exec();
}

int Tfformat::PickFormat(bool setDefault)
{
    pickMode_ = true;
    result_ = -1;
    SetAssignControlsEnabled(false);
    cbsetdef->SetChecked(setDefault);
    return exec() == QDialog::Accepted ? result_ : -1;
}

void Tfformat::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    const TFormats& formats = *Core().formats;
    const int defaultFormat = Core().vdimage ? Core().vdimage->defaultFormat : -1;
    QStringList items;
    for (int i = 0; i < formats.Count(); ++i) {
        const TFormat& format = formats.Format(i);
        // "*" marks the default format, as the legend under the list says.
        const QString mark = format.id == defaultFormat ? QStringLiteral(" *") : QString();
        items << PricedName(format.name, format.price) + mark;
    }
    lbformat->SetItems(items);
    lbformat->SetItemIndex(-1); // a rebuilt list starts with nothing chosen
}

void Tfformat::bokClick()
{
    const int entry = lbformat->ItemIndex();
    if (entry < 0) {
        fdialog().Warning(QStringLiteral("Wybierz format !"));
        return;
    }
    const int formatId = Core().formats->Format(entry).id;
    if (pickMode_) {
        result_ = formatId;
        accept();
        return;
    }
    const TVDImage& project = *Core().vdimage;
    if (cbsel->Checked() && project.focus < 0 && project.SelectedCount() == 0) {
        fdialog().Warning(QStringLiteral("Nie ma zaznaczonych zdjęć !\rWybierz \"wszystkich\" lub zamknij to okno i "
                                         "zaznacz zdjęcia którym chcesz przypisać format."));
        return;
    }
    ApplyToProject(formatId);
    accept();
}

void Tfformat::ApplyToProject(int formatId)
{
    TVDImage& project = *Core().vdimage;
    if (cbsetdef->Checked())
        project.defaultFormat = formatId;
    for (int i = 0; i < project.Count(); ++i) {
        if (cball->Checked() || project.Photo(i).selected || i == project.focus) {
            project.SetFormat(i, formatId);
            project.Photo(i).thumbPending = true;
        }
    }
    Q_EMIT ProjectEvents().ThumbnailsPending();
    Q_EMIT ProjectEvents().Changed();
}
