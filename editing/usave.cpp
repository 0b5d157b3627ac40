#include "editing/usave.h"

#include "core/coreobjects.h"
#include "editing/saverun.h"
#include "lab/vdengine.h"
#include "platform/paths.h"
#include "project/uvdimage.h"
#include "ui/advprogressbar.h"
#include "ui/colorframe.h"
#include "ui/designfonts.h"
#include "ui/filedialogs.h"
#include "ui/hotwinbitmap.h"
#include "ui/image.h"
#include "ui/keyboardwindow.h"
#include "ui/mcheckbox.h"
#include "ui/umydialog.h"
#include "ui/windowparts.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QScopeGuard>

namespace {

TColorFrame* MakeSection(QWidget* parent, const char* name, const QString& caption, const QRect& geometry)
{
    auto* frame = MakeNamed<TColorFrame>(parent, name, geometry);
    frame->SetCaption(caption);
    frame->SetAutoFrameColor(true);
    return frame;
}

THotWinBitmap* MakeBitmapButton(QWidget* parent, const char* name, const QString& caption, const QRect& geometry)
{
    auto* button = MakeNamed<THotWinBitmap>(parent, name, geometry);
    button->SetCaption(caption);
    button->SetBorder(vd::sbsSimple);
    return button;
}

// Checking one of the two unchecks the other, unchecking one checks the other.
void MakeExclusive(QObject* owner, TMCheckBox* first, TMCheckBox* second)
{
    QObject::connect(first, &TMCheckBox::OnClick, owner, [first, second] { second->setChecked(!first->isChecked()); });
    QObject::connect(second, &TMCheckBox::OnClick, owner, [first, second] { first->setChecked(!second->isChecked()); });
}

} // namespace

Tfsave::Tfsave(QWidget* parent)
    : QDialog(parent)
    , clock_([] { return QDateTime::currentDateTime(); })
{
    setObjectName(QStringLiteral("fsave"));
    setWindowTitle(QStringLiteral("Zapisz ..."));
    setFont(DesignFont(QStringLiteral("Tahoma"), 8));
    setFixedSize(539, 391);
    setModal(true);
    CentreOnScreen(this);
    BuildSections();
    SetDefaultButtons(this, { hwbsave });
    UseFromKeyboard(this);
}

void Tfsave::BuildSections()
{
    GroupBox1 = MakeSection(this, "GroupBox1", QStringLiteral("1. Które pliki zapisać ?"), QRect(8, 8, 260, 110));
    cbsel = MakeNamedText<TMCheckBox>(this, "cbsel", QStringLiteral("Zaznaczone"), QRect(20, 30, 230, 16));
    cball = MakeNamedText<TMCheckBox>(this, "cball", QStringLiteral("Wszystkie"), QRect(20, 54, 230, 16));
    cbsel->setChecked(true);
    MakeExclusive(this, cbsel, cball);

    GroupBox2 = MakeSection(this, "GroupBox2", QStringLiteral("2. Gdzie zapisać ?"), QRect(276, 8, 255, 110));
    cborygpath = MakeNamedText<TMCheckBox>(
        this, "cborygpath", QStringLiteral("W katalogu gdzie oryginał(y)"), QRect(288, 30, 235, 16));
    cbpath = MakeNamedText<TMCheckBox>(
        this, "cbpath", QStringLiteral("Zapisz w wybranym katalogu"), QRect(288, 54, 235, 16));
    cbpath->setChecked(true);
    MakeExclusive(this, cborygpath, cbpath);
    epath = MakeNamedText<QLineEdit>(this, "epath", QString(), QRect(288, 80, 160, 22));
    epath->setReadOnly(true);
    hwbbrowse = MakeBitmapButton(this, "hwbbrowse", QStringLiteral("przeglądaj"), QRect(452, 80, 72, 22));
    connect(hwbbrowse, &THotWinBitmap::OnClick, this, &Tfsave::hwbbrowseClick);

    GroupBox3 = MakeSection(this, "GroupBox3", QStringLiteral("3. Jak nazwać pliki ?"), QRect(8, 126, 523, 90));
    cborygnames = MakeNamedText<TMCheckBox>(this, "cborygnames",
        QStringLiteral("Użyj nazw z projektu (oryginalnych, lub ustalonych przez \"zmień nazwę\")"),
        QRect(20, 146, 500, 16));
    cborygnames->setChecked(true);
    cbcount = MakeNamedText<TMCheckBox>(this, "cbcount", QStringLiteral("Ponumeruj pliki"), QRect(20, 168, 200, 16));
    MakeExclusive(this, cborygnames, cbcount);
    lcountstart
        = MakeNamedText<QLabel>(this, "lcountstart", QStringLiteral("Zacznij numerację od:"), QRect(40, 192, 130, 16));
    ecountstart = MakeNamedText<QLineEdit>(this, "ecountstart", QStringLiteral("1"), QRect(172, 189, 60, 22));
    lcountalign = MakeNamedText<QLabel>(
        this, "lcountalign", QStringLiteral("Wyrównaj liczbę do XX cyfr"), QRect(250, 192, 170, 16));
    ecountalign = MakeNamedText<QLineEdit>(this, "ecountalign", QStringLiteral("4"), QRect(424, 189, 40, 22));

    GroupBox4 = MakeSection(this, "GroupBox4", QStringLiteral("4. Istniejące pliki ..."), QRect(8, 224, 260, 80));
    cbrename = MakeNamedText<TMCheckBox>(this, "cbrename", QStringLiteral("Zmień nazwę"), QRect(20, 242, 230, 16));
    cboverwrite = MakeNamedText<TMCheckBox>(this, "cboverwrite", QStringLiteral("Zastąp"), QRect(20, 262, 230, 16));
    cbskip = MakeNamedText<TMCheckBox>(this, "cbskip", QStringLiteral("Pomiń"), QRect(20, 282, 230, 16));
    cbrename->setChecked(true);
    connect(cbrename, &TMCheckBox::OnClick, this, &Tfsave::cbrenameClick);
    connect(cboverwrite, &TMCheckBox::OnClick, this, &Tfsave::cboverwriteClick);
    connect(cbskip, &TMCheckBox::OnClick, this, &Tfsave::cbskipClick);

    GroupBox5 = MakeSection(this, "GroupBox5", QStringLiteral("5. Dodatkowe opcje"), QRect(276, 224, 255, 80));
    cbadddate = MakeNamedText<TMCheckBox>(
        this, "cbadddate", QStringLiteral("Zapisz w podkatalogu z obecną datą"), QRect(288, 246, 235, 16));
    cbraport = MakeNamedText<TMCheckBox>(this, "cbraport", QStringLiteral("Wyświetl raport"), QRect(288, 270, 235, 16));
    cbraport->hide();

    pb = MakeNamed<TAdvProgressBar>(this, "pb", QRect(8, 310, TSaveStrip::kWidth, 20));
    pb->SetShowCaption(true);
    pb->SetAutoCaption(false);
    pb->hide();
    iprev = MakeNamed<TImage>(this, "iprev", QRect(8, 332, TSaveStrip::kWidth, TSaveStrip::kHeight));
    hwbsave = MakeBitmapButton(this, "hwbsave", QStringLiteral("zapisz"), QRect(433, 332, 98, 25));
    hwbcancel = MakeBitmapButton(this, "hwbcancel", QStringLiteral("anuluj"), QRect(433, 364, 98, 25));
    connect(hwbsave, &THotWinBitmap::OnClick, this, &Tfsave::hwbsaveClick);
    connect(hwbcancel, &THotWinBitmap::OnClick, this, &QDialog::reject);
}

// ---- choices ------------------------------------------------------------------------------

void Tfsave::cbrenameClick()
{
    cboverwrite->setChecked(!cbrename->isChecked());
    cbskip->setChecked(false);
}

void Tfsave::cboverwriteClick()
{
    cbrename->setChecked(!cboverwrite->isChecked());
    cbskip->setChecked(false);
}

void Tfsave::cbskipClick()
{
    cboverwrite->setChecked(!cbskip->isChecked());
    cbrename->setChecked(false);
}

void Tfsave::hwbbrowseClick()
{
    const QString folder = ChooseFolder(this, QStringLiteral("Wybierz katalog"), TDialogPurpose::SaveFolder);
    if (!folder.isEmpty())
        epath->setText(StripTrailingBackslash(folder));
}

std::optional<TSaveOptions> Tfsave::ChosenOptions(QString& message) const
{
    TSaveOptions options;
    options.allPhotos = cball->isChecked();
    options.chosenFolder = cbpath->isChecked();
    options.folder = epath->text();
    options.datedFolder = cbadddate->isChecked();
    options.numbered = cbcount->isChecked();
    options.existing = cbskip->isChecked() ? TExistingFiles::Skip
        : cboverwrite->isChecked()         ? TExistingFiles::Overwrite
                                           : TExistingFiles::Rename;
    if (!options.numbered)
        return options;
    const auto start = WholeNumberIn(ecountstart->text(), 0, kCountStartMax);
    if (!start) {
        message
            = QStringLiteral("W polu \"Zacznij numerację od\" wpisz liczbę całkowitą od 0 do %1 !").arg(kCountStartMax);
        return std::nullopt;
    }
    const auto align = WholeNumberIn(ecountalign->text(), 0, kCountAlignMax);
    if (!align) {
        message = QStringLiteral("W polu \"Wyrównaj liczbę do XX cyfr\" wpisz liczbę od 0 do %1 !").arg(kCountAlignMax);
        return std::nullopt;
    }
    options.countStart = *start;
    options.countAlign = int(*align);
    return options;
}

// ---- saving -------------------------------------------------------------------------------

void Tfsave::hwbsaveClick()
{
    if (cbpath->isChecked()) {
        if (epath->text().isEmpty()) {
            fdialog().Warning(QStringLiteral("Wybierz katalog gdzie zapisać zdjęcia !"));
            return;
        }
        if (!QFileInfo(epath->text()).isDir()) {
            fdialog().Error(QStringLiteral("Katalog w którym zapisać zdjęcia nie istnieje !"));
            return;
        }
    }
    QString message;
    const std::optional<TSaveOptions> options = ChosenOptions(message);
    if (!options) {
        fdialog().Warning(message);
        return;
    }
    if (const int oversized = FirstOversizedPhoto(*Core().vdimage, *options); oversized >= 0) {
        fdialog().Error(Core().vdimage->OutputSheetProblem(oversized));
        return;
    }
    SaveAll(*options);
}

void Tfsave::SaveAll(const TSaveOptions& options)
{
    const QDateTime start = clock_();
    setEnabled(false);
    pb->SetPosition(0);
    pb->SetCaption(QStringLiteral("Trwa zapisywanie ..."));
    pb->show();
    strip_.Start();
    iprev->SetPicture(strip_.Picture());
    const auto end = qScopeGuard([this] {
        setEnabled(true);
        pb->hide();
        strip_.Clear();
        iprev->SetPicture(QImage());
    });
    const TVDImage& project = *Core().vdimage;
    const TSaveRunResult result = SaveFinishedCopies(project, options, start, Core().engine->outputdpi,
        [this](int percent, const QImage* rendered) { AfterPhoto(percent, rendered); });
    if (result.failed > 0)
        fdialog().Warning(QStringLiteral("Nie udało się zapisać %1 z %2 zdjęć !\rSprawdź, czy w katalogu docelowym "
                                         "można zapisywać pliki i czy na dysku jest miejsce.")
                              .arg(result.failed)
                              .arg(result.saved + result.skipped + result.failed));
}

void Tfsave::AfterPhoto(int percent, const QImage* rendered)
{
    pb->SetPosition(percent);
    if (rendered) { // the strip shows pictures saved in this run, the older ones darker
        strip_.Fade();
        strip_.Add(*rendered);
        iprev->SetPicture(strip_.Picture());
    }
    QCoreApplication::processEvents(); // the window is disabled: nothing reacts to input
}
