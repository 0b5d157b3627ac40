#include "editing/uedit.h"

#include "core/coreobjects.h"
#include "core/log.h"
#include "editing/editsettings.h"
#include "editing/paintbox.h"
#include "imaging/editthread.h"
#include "imaging/geometry.h"
#include "imaging/picture.h"
#include "lab/formats.h"
#include "project/uvdimage.h"
#include "ui/appevents.h"
#include "ui/designfonts.h"
#include "ui/gradientbutton.h"
#include "ui/keyboardwindow.h"
#include "ui/mousedpanel.h"
#include "ui/pagelistbox.h"
#include "ui/umydialog.h"
#include "ui/windowparts.h"

#include <QApplication>
#include <QFileInfo>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScopeGuard>
#include <QSlider>

namespace {

constexpr int kWidth = 717;
constexpr int kHeight = 581;
constexpr int kTopBarHeight = 70;
constexpr int kColumnWidth = 236;
constexpr int kStatusHeight = 22;
constexpr int kPageTop = 8;
constexpr int kPageLeft = 8;
constexpr int kSettingRowHeight = 80;
// The paper in the preview is the format at this resolution (only its aspect matters).
constexpr int kPaperDpi = 300;

using Guard = std::lock_guard<std::mutex>;

struct TPageButton {
    const char* name;
    const char* caption;
    int width;
};
constexpr std::array<TPageButton, 5> kPageButtons { {
    { "bpage1", "Jasność/kontrast", 112 },
    { "bpage2", "nasycenie", 84 },
    { "bpage3", "balans kolorów", 104 },
    { "bpage4", "Odcień/świecenie", 116 },
    { "bpage5", "kolor/sepia/bw", 104 },
} };

TVDImage& Project()
{
    return *Core().vdimage;
}

QByteArray ControlName(int setting, const char* suffix)
{
    return QByteArray(EditSettings()[std::size_t(setting)].prefix) + '_' + suffix;
}

} // namespace

Tfedit::Tfedit(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("fedit"));
    setWindowTitle(QStringLiteral("Edycja zdjęcia"));
    setFont(DesignFont(QStringLiteral("Tahoma"), 8));
    setFixedSize(kWidth, kHeight);
    setModal(true);
    CentreOnScreen(this);

    BuildTopBar();
    BuildPages();
    BuildPreview();
    // No default button: Enter in a value box only takes the value.
    UseFromKeyboard(this);
}

Tfedit::~Tfedit() = default;

void Tfedit::BuildTopBar()
{
    MousedPanel1 = MakeNamed<TMousedPanel>(this, "MousedPanel1", QRect(0, 0, kWidth, kTopBarHeight));
    int x = 6;
    for (std::size_t i = 0; i < kPageButtons.size(); ++i) {
        const TPageButton& entry = kPageButtons[i];
        pageButtons[i]
            = MakeTextButton(MousedPanel1, entry.name, QString::fromUtf8(entry.caption), QRect(x, 6, entry.width, 25));
        connect(pageButtons[i], &TGradientButton::OnClick, this, [this, i] { SelectPage(int(i) + 1); });
        x += entry.width + 4;
    }
    breset = MakeTextButton(MousedPanel1, "breset", QStringLiteral("resetuj"), QRect(6, 38, 80, 25));
    bok = MakeTextButton(MousedPanel1, "bok", QStringLiteral("AKCEPTUJ"), QRect(90, 38, 100, 25));
    bcancel = MakeTextButton(MousedPanel1, "bcancel", QStringLiteral("ANULUJ"), QRect(194, 38, 100, 25));
    bloadcor
        = MakeTextButton(MousedPanel1, "bloadcor", QStringLiteral("Wczytaj korekcje ..."), QRect(298, 38, 140, 25));
    bsavecor
        = MakeTextButton(MousedPanel1, "bsavecor", QStringLiteral("zapisz korekcje jako ..."), QRect(442, 38, 150, 25));
    // The list of stored sets keeps the focus while its button toggles it; Tab still reaches it.
    bloadcor->setFocusPolicy(Qt::TabFocus);
    connect(breset, &TGradientButton::OnClick, this, &Tfedit::bresetClick);
    connect(bok, &TGradientButton::OnClick, this, &Tfedit::bokClick);
    connect(bcancel, &TGradientButton::OnClick, this, &QDialog::reject);
    connect(bloadcor, &TGradientButton::OnClick, this, &Tfedit::bloadcorClick);
    connect(bsavecor, &TGradientButton::OnClick, this, &Tfedit::bsavecorClick);
}

void Tfedit::BuildPages()
{
    TMousedPanel* column = MakeNamed<TMousedPanel>(
        this, "MousedPanel2", QRect(0, kTopBarHeight, kColumnWidth, kHeight - kTopBarHeight - kStatusHeight));
    for (std::size_t i = 0; i < pages.size(); ++i) {
        pages[i] = MakeNamed<TMousedPanel>(column, QStringLiteral("page%1").arg(i + 1).toLatin1().constData(),
            QRect(kPageLeft, kPageTop, kColumnWidth - 2 * kPageLeft, column->height() - 2 * kPageTop));
        pages[i]->SetBevelOuter(vd::bvNone);
    }
    std::array<int, 5> rowsOnPage {};
    for (std::size_t i = 0; i < EditSettings().size(); ++i) {
        const int page = EditSettings()[i].page - 1;
        BuildSettingRow(int(i), pages[std::size_t(page)], rowsOnPage[std::size_t(page)]++ * kSettingRowHeight);
    }
    BuildModePage();
}

void Tfedit::BuildSettingRow(int setting, QWidget* page, int top)
{
    const TEditSetting& entry = EditSettings()[std::size_t(setting)];
    TSettingControls& row = settings[std::size_t(setting)];
    row.label = MakeNamed<QLabel>(page, ControlName(setting, "label").constData(), QRect(0, top, page->width(), 16));
    row.label->setText(QString::fromUtf8(entry.label));

    row.tb = MakeNamed<QSlider>(page, ControlName(setting, "tb").constData(), QRect(0, top + 18, page->width(), 26));
    row.tb->setOrientation(Qt::Horizontal);
    row.tb->setRange(entry.min, entry.max);
    row.tb->setTickInterval(entry.tickInterval);
    row.tb->setTickPosition(QSlider::TicksBelow);
    connect(row.tb, &QSlider::valueChanged, this, [this, trackBar = row.tb] { tbChange(trackBar); });

    row.edit = MakeNamed<QLineEdit>(page, ControlName(setting, "edit").constData(), QRect(0, top + 48, 54, 22));
    row.edit->setText(QStringLiteral("0"));
    connect(row.edit, &QLineEdit::editingFinished, this, [this, edit = row.edit] { editExit(edit); });

    const auto makeButton = [&](const char* suffix, const QString& caption, int x, void (Tfedit::*handler)(QObject*)) {
        TGradientButton* button
            = MakeTextButton(page, ControlName(setting, suffix).constData(), caption, QRect(x, top + 48, 36, 22));
        connect(button, &TGradientButton::OnClick, this, [this, button, handler] { (this->*handler)(button); });
        return button;
    };
    row.minus = makeButton("minus", QStringLiteral("-"), 62, &Tfedit::minusClick);
    row.plus = makeButton("plus", QStringLiteral("+"), 102, &Tfedit::plusClick);
    row.zero = makeButton("zero", QStringLiteral("0"), 142, &Tfedit::zeroClick);
}

void Tfedit::BuildModePage()
{
    QWidget* page = pages[4];
    hbcolor = MakeTextButton(page, "hbcolor", QStringLiteral("kolor"), QRect(0, 0, page->width(), 25));
    hbsepia = MakeTextButton(page, "hbsepia", QStringLiteral("sepia"), QRect(0, 32, page->width(), 25));
    hbbw = MakeTextButton(page, "hbbw", QStringLiteral("czarno-białe"), QRect(0, 64, page->width(), 25));
    connect(hbcolor, &TGradientButton::OnClick, this, &Tfedit::hbcolorClick);
    connect(hbsepia, &TGradientButton::OnClick, this, &Tfedit::hbsepiaClick);
    connect(hbbw, &TGradientButton::OnClick, this, &Tfedit::hbbwClick);
}

void Tfedit::BuildPreview()
{
    const QRect area(kColumnWidth, kTopBarHeight, kWidth - kColumnWidth, kHeight - kTopBarHeight - kStatusHeight);
    draw = MakeNamed<TPaintBox>(this, "draw", area);
    connect(draw, &TPaintBox::OnPaint, this, &Tfedit::drawPaint);

    StatusBar1 = MakeNamed<TMousedPanel>(this, "StatusBar1", QRect(0, kHeight - kStatusHeight, kWidth, kStatusHeight));
    statusPanels[0] = MakeNamedText<QLabel>(StatusBar1, "StatusPanel0", QString(), QRect(8, 3, 150, 16));
    statusPanels[1] = MakeNamedText<QLabel>(
        StatusBar1, "StatusPanel1", QStringLiteral("Jasność, kontrast, balans"), QRect(170, 3, 300, 16));

    // The stored sets lie over the settings column, never over the preview: a clicked set
    // shows on the picture at once.
    const QRect column(0, kTopBarHeight, kColumnWidth, area.height());
    mploadcor = MakeNamed<TMousedPanel>(this, "mploadcor", column);
    lbcorrections
        = MakeNamed<TPageListBox>(mploadcor, "lbcorrections", QRect(8, 8, column.width() - 16, column.height() - 58));
    lbcorrections->installEventFilter(this);
    lloadhint = MakeNamedText<QLabel>(mploadcor, "lloadhint",
        QStringLiteral("ESCAPE-Anuluj, Podwójne kliknięcie lub ENTER akceptacja."),
        QRect(8, column.height() - 44, column.width() - 16, 36));
    lloadhint->setWordWrap(true);
    connect(lbcorrections, &TPageListBox::OnClick, this, &Tfedit::lbcorrectionsClick);
    connect(lbcorrections, &TPageListBox::OnIndexChanged, this, &Tfedit::lbcorrectionsClick);
    connect(lbcorrections, &TPageListBox::OnDblClick, this, &Tfedit::AcceptStoredSet);
    mploadcor->hide();
}

// ---- one photo's session ----------------------------------------------------------------

void Tfedit::EditPhoto(int index)
{
    if (index < 0 || index >= Project().Count())
        return;
    Log(QStringLiteral("Initializing editing session ..."));
    state_ = std::make_unique<EditState>();
    state_->repaintTarget = this;
    const auto release = qScopeGuard([this] { state_.reset(); });
    if (!StartEditWorker(*state_)) {
        fdialog().Error(QStringLiteral("Błąd: Nie można uruchomić funkcji EDITTHREAD!"));
        return;
    }
    const auto stop = qScopeGuard([this] { StopEditWorker(*state_); });
    if (PrepareSession(index))
        exec();
}

bool Tfedit::PrepareSession(int index)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
    BreakEditRender(*state_);
    photoIndex_ = index;
    Log(QStringLiteral("Preparing image for edit, idx=%1").arg(index));
    TVDImage& project = Project();
    QImage source;
    project.LoadPreview(index, source);
    const Corrections record = project.GetCorrections(index);
    if (!RotateQuarter(source, record.rotation)
        || (record.crop.left > kNoCrop && !CropByFractions(source, record.crop))) {
        Log(QStringLiteral("Preview cannot be prepared for edit."), 3);
        fdialog().Error(QStringLiteral("Nie można przygotować zdjęcia do edycji !"));
        return false;
    }
    source = As32BitPicture(source);
    Log(QStringLiteral("Calculating avarge grey..."));
    const int pivot = AverageGrey(source);
    {
        const Guard guard(state_->lock);
        state_->result = source.copy();
        state_->source = std::move(source);
        state_->corrections = record;
        state_->pivot = pivot;
    }
    setWindowTitle(QStringLiteral("Edycja zdjęcia - ") + QFileInfo(project.Photo(index).name).fileName());
    int width = 0, height = 0;
    project.GetImageSize(index, width, height);
    statusPanels[0]->setText(QStringLiteral("%1x%2").arg(width).arg(height));
    SetControlsFromRecord(record);
    Log(QStringLiteral("Image preapared."));
    return true;
}

void Tfedit::SelectPage(int tag)
{
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const bool shown = int(i) + 1 == tag;
        pageButtons[i]->SetSelected(shown);
        pages[i]->move(kPageLeft, kPageTop);
        pages[i]->setVisible(shown);
    }
}

void Tfedit::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    HideStoredSets();
}

// ---- settings -----------------------------------------------------------------------------

Corrections Tfedit::CurrentRecord() const
{
    const Guard guard(state_->lock);
    return state_->corrections;
}

void Tfedit::SetValue(int setting, int value)
{
    if (setting < 0 || !state_)
        return;
    updatingControls_ = true;
    const int limited = LimitSetting(setting, value);
    TSettingControls& row = settings[std::size_t(setting)];
    row.tb->setValue(limited);
    row.edit->setText(QString::number(limited));
    {
        const Guard guard(state_->lock);
        SetSettingValue(state_->corrections, setting, limited);
        state_->redoRequested = true;
    }
    updatingControls_ = false;
}

void Tfedit::SetControlsFromRecord(const Corrections& record)
{
    for (std::size_t i = 0; i < settings.size(); ++i)
        SetValue(int(i), SettingValue(record, int(i)));
    ShowMode(record.sepia != 0, record.blackWhite != 0);
}

void Tfedit::ReplaceRecord(const Corrections& record)
{
    {
        const Guard guard(state_->lock);
        state_->corrections = record;
        state_->redoRequested = true;
    }
    SetControlsFromRecord(record);
}

void Tfedit::ShowMode(bool sepia, bool blackWhite)
{
    hbcolor->SetSelected(!sepia && !blackWhite);
    hbsepia->SetSelected(sepia);
    hbbw->SetSelected(blackWhite);
}

void Tfedit::SetMode(bool sepia, bool blackWhite)
{
    if (!state_)
        return;
    {
        const Guard guard(state_->lock);
        state_->corrections.sepia = sepia;
        state_->corrections.blackWhite = blackWhite;
        state_->redoRequested = true;
    }
    ShowMode(sepia, blackWhite);
}

void Tfedit::tbChange(QSlider* trackBar)
{
    if (!updatingControls_)
        SetValue(EditSettingOfControl(trackBar->objectName()), trackBar->value());
}

void Tfedit::minusClick(QObject* button)
{
    const int setting = EditSettingOfControl(button->objectName());
    if (!updatingControls_ && setting >= 0)
        SetValue(setting, settings[std::size_t(setting)].tb->value() - kEditButtonStep);
}

void Tfedit::plusClick(QObject* button)
{
    const int setting = EditSettingOfControl(button->objectName());
    if (!updatingControls_ && setting >= 0)
        SetValue(setting, settings[std::size_t(setting)].tb->value() + kEditButtonStep);
}

void Tfedit::zeroClick(QObject* button)
{
    if (!updatingControls_)
        SetValue(EditSettingOfControl(button->objectName()), 0);
}

void Tfedit::editExit(QLineEdit* edit)
{
    if (!updatingControls_)
        SetValue(EditSettingOfControl(edit->objectName()), SettingTextValue(edit->text()));
}

void Tfedit::hbcolorClick()
{
    SetMode(false, false);
}

void Tfedit::hbsepiaClick()
{
    SetMode(true, false);
}

void Tfedit::hbbwClick()
{
    SetMode(false, true);
}

void Tfedit::bresetClick()
{
    if (!fdialog().Question(QStringLiteral("Zresetować wszystkie korekcje ?"), diQuestion) || !state_)
        return;
    Corrections record = CurrentRecord();
    ResetColourSettings(record);
    ReplaceRecord(record);
    draw->update();
}

void Tfedit::bokClick()
{
    if (!state_)
        return;
    BreakEditRender(*state_);
    TVDImage& project = Project();
    project.SetCorrections(photoIndex_, CurrentRecord());
    project.RefreshThumbnail(photoIndex_);
    accept();
}

// ---- preview ------------------------------------------------------------------------------

bool Tfedit::event(QEvent* event)
{
    if (event->type() != kEditRepaintEvent)
        return QDialog::event(event);
    if (state_ && isVisible()) {
        draw->update();
    } else if (state_) {
        const Guard guard(state_->lock);
        state_->updatePosted = false;
    }
    return true;
}

void Tfedit::drawPaint(QPainter& painter)
{
    const TRect box { 0, 0, draw->width(), draw->height() };
    painter.fillRect(draw->rect(), draw->palette().color(QPalette::Window));
    if (!state_)
        return;
    const Guard guard(state_->lock); // whole rows only
    const int format = Project().Photo(photoIndex_).formatId;
    if (format != -1) {
        TRect paper;
        Core().formats->GetRect(format, kPaperDpi, paper);
        FitRect(box, paper, true);
        CenterRect(box, paper);
        painter.fillRect(paper.Left, paper.Top, paper.Width(), paper.Height(), Qt::white);
    }
    if (!state_->result.isNull()) {
        TRect place = PictureBounds(state_->result);
        FitRect(box, place, true);
        CenterRect(box, place);
        StretchDraw(state_->result, PictureBounds(state_->result), place, true, painter);
    }
    state_->updatePosted = false;
}

// ---- stored correction sets ---------------------------------------------------------------

void Tfedit::ScanStoredCorrections()
{
    stored_.Scan();
    lbcorrections->SetItems(stored_.Names());
}

void Tfedit::bloadcorClick()
{
    if (!state_)
        return;
    if (!mploadcor->isHidden()) {
        CancelStoredSet();
        return;
    }
    backup_ = CurrentRecord();
    mploadcor->show();
    mploadcor->raise();
    bloadcor->SetSelected(true);
    lbcorrections->setFocus(Qt::OtherFocusReason);
}

void Tfedit::lbcorrectionsClick()
{
    const int entry = lbcorrections->ItemIndex();
    if (!state_ || mploadcor->isHidden() || entry < 0 || entry >= stored_.Count())
        return;
    QString name;
    Corrections stored;
    if (ReadCorrectionsFile(stored_.Paths()[entry], name, stored))
        ReplaceRecord(WithGeometryOf(stored, CurrentRecord()));
}

void Tfedit::AcceptStoredSet()
{
    if (!state_ || mploadcor->isHidden())
        return;
    backup_ = CurrentRecord();
    HideStoredSets();
}

void Tfedit::CancelStoredSet()
{
    if (!state_ || mploadcor->isHidden())
        return;
    BreakEditRender(*state_);
    ReplaceRecord(backup_);
    HideStoredSets();
}

void Tfedit::HideStoredSets()
{
    mploadcor->hide();
    bloadcor->SetSelected(false);
}

bool Tfedit::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != lbcorrections)
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            AcceptStoredSet();
            return true;
        }
        if (key == Qt::Key_Escape) {
            CancelStoredSet();
            return true;
        }
    } else if (event->type() == QEvent::FocusOut) {
        // Switching to another window is not leaving the list.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            CancelStoredSet();
    }
    return QDialog::eventFilter(watched, event);
}

void Tfedit::bsavecorClick()
{
    if (!state_)
        return;
    bool ok = false;
    const QString text = QInputDialog::getText(this, ApplicationTitle(), QStringLiteral("Podaj nazwe"),
        QLineEdit::Normal, QStringLiteral("Nazwa %1").arg(stored_.Count()), &ok);
    if (!ok)
        return;
    const QString name = CorrectionSetName(text);
    if (name.isEmpty()) {
        fdialog().Warning(QStringLiteral("Podaj nazwę do 48 znaków !"));
        return;
    }
    const QString path = WriteCorrectionsFile(name, CurrentRecord());
    if (path.isEmpty()) {
        fdialog().Error(QStringLiteral("Nie można zapisać korekcji \"%1\" !\rSprawdź, czy w katalogu %2 można "
                                       "zapisywać pliki.")
                            .arg(name, CorrectionsFolder()));
        return;
    }
    stored_.Append(path, name);
    lbcorrections->AddItem(name);
}
