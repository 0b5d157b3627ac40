#include "account/udotransfer.h"

#include "account/virtualaccount.h"

#include "core/coreobjects.h"
#include "core/log.h"
#include "core/textutils.h"
#include "order/orderupload.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "skin/skinner.h"
#include "ui/designfonts.h"
#include "ui/filedialogs.h"
#include "ui/gradientbutton.h"
#include "ui/gradientprogressbar.h"
#include "ui/keyboardwindow.h"
#include "ui/umydialog.h"
#include "ui/windowparts.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

constexpr QRect kPanelRect(8, 234, 610, 93);
constexpr int kButtonY = 62;
constexpr int kSizeX = 402;
constexpr int kStateX = 502;
constexpr int kSizeRole = Qt::UserRole;
constexpr int kStateRole = Qt::UserRole + 1;

// A queue line: the name at 2 pixels, the size and the state in their columns, in the skin's
// colours.
class TQueueLineDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QColor background = Qt::white;
    QColor text = Qt::black;
    QColor selected = QColor(0x31, 0x6A, 0xC5);
    QColor selectedText = Qt::white;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool isSelected = option.state & QStyle::State_Selected;
        painter->fillRect(option.rect, isSelected ? selected : background);
        painter->setPen(isSelected ? selectedText : text);
        painter->setFont(option.font);
        const QRect r = option.rect;
        const auto cell = [&](int from, int to, const QString& value) {
            const QRect box(r.left() + from, r.top(), to - from - 4, r.height());
            painter->drawText(box, Qt::AlignLeft | Qt::AlignVCenter,
                option.fontMetrics.elidedText(value, Qt::ElideMiddle, box.width()));
        };
        cell(2, kSizeX, index.data(Qt::DisplayRole).toString());
        cell(kSizeX, kStateX, index.data(kSizeRole).toString());
        cell(kStateX, r.width(), index.data(kStateRole).toString());
    }
};

// The state-free count and size captions of a panel: "Ilość plików:" and "Rozmiar:" at y.
QLabel* MakeValue(QWidget* panel, const char* name, const QString& caption, int x, int y)
{
    return MakeCaptionedValue(panel, name, caption, QRect(x, y, 190, 17), 90);
}

TGradientButton* MakePanelButton(QWidget* panel, const char* name, const QString& caption, int x)
{
    return MakeTextButton(panel, name, caption, QRect(x, kButtonY, 110, 25));
}

} // namespace

Tfdotransfer::Tfdotransfer(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("fdotransfer"));
    setFont(DesignFont(QStringLiteral("Tahoma"), 8));
    setFixedSize(626, 335);
    setModal(true);

    lbfiles = MakeNamed<QListWidget>(this, "lbfiles", QRect(8, 8, 610, 218));
    lbfiles->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lbfiles->setItemDelegate(new TQueueLineDelegate(lbfiles));
    lbfiles->setUniformItemSizes(true);

    // The three panels lie on top of each other; one shows at a time.
    BuildUploadPanel();
    BuildDownloadPanel();
    BuildBusyPanel();

    od = new QFileDialog(this);
    od->setObjectName(QStringLiteral("od"));
    od->setFileMode(QFileDialog::ExistingFiles);
    od->setNameFilters({ QStringLiteral("Dowolne pliki (*)") });
    od->setSizeGripEnabled(true);

    client_.SetWorkListener({ {}, [this](qint64 count) { Work(count); }, {} });
    SetDefaultButtons(this, { bupload, bdownload });
    UseFromKeyboard(this);
}

void Tfdotransfer::BuildUploadPanel()
{
    pupload = MakeNamed<QWidget>(this, "pupload", kPanelRect);
    lcount = MakeValue(pupload, "lcount", QStringLiteral("Ilość plików:"), 8, 8);
    lsize = MakeValue(pupload, "lsize", QStringLiteral("Rozmiar:"), 8, 28);
    lasize = MakeValue(pupload, "lasize", QStringLiteral("Rozmiar konta:"), 220, 8);
    lafree = MakeValue(pupload, "lafree", QStringLiteral("Wolne miejsce:"), 220, 28);
    bselect = MakePanelButton(pupload, "bselect", QStringLiteral("wybierz pliki"), 8);
    bremove = MakePanelButton(pupload, "bremove", QStringLiteral("usuń z listy"), 124);
    bupload = MakePanelButton(pupload, "bupload", QStringLiteral("wgraj"), 376);
    bclose = MakePanelButton(pupload, "bclose", QStringLiteral("zamknij"), 492);
    connect(bselect, &TGradientButton::OnClick, this, &Tfdotransfer::bselectClick);
    connect(bremove, &TGradientButton::OnClick, this, &Tfdotransfer::bremoveClick);
    connect(bupload, &TGradientButton::OnClick, this, &Tfdotransfer::buploadClick);
    connect(bclose, &TGradientButton::OnClick, this, &QDialog::reject);
}

void Tfdotransfer::BuildDownloadPanel()
{
    pdownload = MakeNamed<QWidget>(this, "pdownload", kPanelRect);
    lcountd = MakeValue(pdownload, "lcountd", QStringLiteral("Ilość plików:"), 8, 8);
    lsized = MakeValue(pdownload, "lsized", QStringLiteral("Rozmiar:"), 8, 28);
    auto* title
        = MakeNamedText<QLabel>(pdownload, "lpath", QStringLiteral("Katalog docelowy:"), QRect(220, 8, 200, 17));
    title->setTextFormat(Qt::PlainText);
    epath = MakeNamed<QLineEdit>(pdownload, "epath", QRect(220, 26, 350, 21));
    bpath = MakeTextButton(pdownload, "bpath", QStringLiteral("..."), QRect(574, 26, 28, 21));
    bdownload = MakePanelButton(pdownload, "bdownload", QStringLiteral("pobierz"), 260);
    bremoved = MakePanelButton(pdownload, "bremoved", QStringLiteral("usuń z listy"), 376);
    bclosed = MakePanelButton(pdownload, "bclosed", QStringLiteral("zamknij"), 492);
    connect(bpath, &TGradientButton::OnClick, this, &Tfdotransfer::bpathClick);
    connect(bdownload, &TGradientButton::OnClick, this, &Tfdotransfer::bdownloadClick);
    connect(bremoved, &TGradientButton::OnClick, this, &Tfdotransfer::bremovedClick);
    connect(bclosed, &TGradientButton::OnClick, this, &QDialog::reject);
}

void Tfdotransfer::BuildBusyPanel()
{
    pbusy = MakeNamed<QWidget>(this, "pbusy", kPanelRect);
    pb = MakeNamed<TGradientProgressBar>(pbusy, "pb", QRect(8, 6, 594, 22));
    pb->SetShowCaption(true);
    lbcount = MakeValue(pbusy, "lbcount", QStringLiteral("Ilość plików:"), 8, 34);
    lbsize = MakeValue(pbusy, "lbsize", QStringLiteral("Rozmiar:"), 220, 34);
    ldcount = MakeValue(pbusy, "ldcount", QStringLiteral("Przetworzone:"), 8, kButtonY + 4);
    ldsize = MakeValue(pbusy, "ldsize", QStringLiteral("Rozmiar:"), 220, kButtonY + 4);
    bcancel = MakePanelButton(pbusy, "bcancel", QStringLiteral("anuluj"), 492);
    connect(bcancel, &TGradientButton::OnClick, this, &Tfdotransfer::bcancelClick);
    pbusy->hide();
}

void Tfdotransfer::OpenDownload(const QStringList& names, const QList<int64_t>& sizes)
{
    queue_.Clear();
    for (int i = 0; i < names.size() && i < sizes.size(); ++i)
        queue_.Add(names[i], sizes[i]);
    Open(false, QStringLiteral("Pobieranie plików ..."));
}

void Tfdotransfer::OpenUpload()
{
    queue_.Clear();
    Open(true, QStringLiteral("Wgrywanie plików ..."));
}

void Tfdotransfer::Open(bool upload, const QString& caption)
{
    uploadMode_ = upload;
    setWindowTitle("Konto " + account_.accountId
        + (upload ? QStringLiteral(" - wysyłanie plików") : QStringLiteral(" - pobieranie plików")));
    (upload ? pdownload : pupload)->hide();
    SetRunning(false);
    pb->SetCaption(caption);
    lbfiles->clear(); // no selection carried over from the last opening
    FillList();
    RefreshLabels();
    exec();
}

void Tfdotransfer::SetRunning(bool on)
{
    pbusy->setVisible(on);
    pb->SetPosition(0);
    epath->setEnabled(!on);
    (uploadMode_ ? pupload : pdownload)->setVisible(!on);
}

bool Tfdotransfer::Running() const
{
    return pbusy->isVisible();
}

bool Tfdotransfer::OpenAccount()
{
    const TAccountOpenResult opened = OpenAccountFolder(client_, account_.accountId);
    if (opened.state == TAccountOpen::NoConnection)
        fdialog().Error(opened.message);
    return opened.state == TAccountOpen::Opened;
}

void Tfdotransfer::RefreshLabels()
{
    const QString count = QString::number(queue_.Count());
    const QString size = FormatByteSize(queue_.TotalBytes(), QStringLiteral("Tb"));
    lcount->setText(count);
    lcountd->setText(count);
    lsize->setText(size);
    lsized->setText(size);
    lasize->setText(FormatByteSize(account_.quota, QStringLiteral("Tb")));
    lafree->setText(FormatByteSize(account_.free, QStringLiteral("Tb")));
}

void Tfdotransfer::FillList()
{
    const QList<int> selected = SelectedRows();
    const bool sameLines = lbfiles->count() == queue_.Count();
    lbfiles->clear();
    for (int row = 0; row < queue_.Count(); ++row) {
        // A remote name shows whole: "../evil" must not pass for "evil".
        const QString& name = queue_.Name(row);
        auto* item = new QListWidgetItem(uploadMode_ ? QFileInfo(name).fileName() : name, lbfiles);
        item->setData(kSizeRole, FormatByteSize(queue_.Size(row), QStringLiteral("Tb")));
        item->setData(kStateRole, FileStateText(queue_.State(row)));
    }
    if (sameLines)
        for (const int row : selected)
            lbfiles->item(row)->setSelected(true);
}

QList<int> Tfdotransfer::SelectedRows() const
{
    QList<int> rows;
    for (int row = 0; row < lbfiles->count(); ++row)
        if (lbfiles->item(row)->isSelected())
            rows.append(row);
    return rows;
}

void Tfdotransfer::SetLineState(int row, int state)
{
    queue_.SetState(row, state);
    lbfiles->item(row)->setData(kStateRole, FileStateText(state));
    lbfiles->repaint();
}

void Tfdotransfer::showEvent(QShowEvent* event)
{
    if (const TSkinner* skinner = Core().skinner) {
        auto* lines = static_cast<TQueueLineDelegate*>(lbfiles->itemDelegate());
        lines->background = skinner->GetColor(QStringLiteral("backgroundtext"));
        lines->text = skinner->GetColor(QStringLiteral("text"));
        lines->selected = skinner->GetColor(QStringLiteral("selected"));
        lines->selectedText = skinner->GetColor(QStringLiteral("selectedtext"));
        QPalette palette = lbfiles->palette();
        palette.setColor(QPalette::Base, lines->background);
        lbfiles->setPalette(palette);
    }
    CentreOnScreen(this);
    QDialog::showEvent(event);
}

void Tfdotransfer::closeEvent(QCloseEvent* event)
{
    if (Running())
        event->ignore();
    else
        QDialog::closeEvent(event);
}

void Tfdotransfer::reject()
{
    if (!Running())
        QDialog::reject();
}

void Tfdotransfer::bselectClick()
{
    QStringList refused;
    for (const QString& path : ChooseFiles(*od, TDialogPurpose::AccountFiles)) {
        if (UploadReplacesManifest(path))
            refused << QFileInfo(path).fileName();
        else if (const int64_t size = FileSize64(path); size > 0)
            queue_.Add(QDir::toNativeSeparators(path), size);
    }
    FillList();
    RefreshLabels();
    if (!refused.isEmpty())
        fdialog().Warning(ManifestClashWarning(refused));
}

void Tfdotransfer::bremoveClick()
{
    RemoveSelectedLines(
        QStringLiteral("Zaznacz pliki które chcesz usunąć !"), QStringLiteral("Usunąć pliki z listy ?"));
}

void Tfdotransfer::bremovedClick()
{
    if (RemoveSelectedLines(QStringLiteral("Wybierz pliki które chcesz usunąć z listy !"),
            QStringLiteral("Usunąć wybrane pliki z listy ?"))
        && queue_.IsEmpty()) {
        fdialog().Warning(QStringLiteral("Brak plików do pobrania, to okno zostanie zamknięte..."));
        reject();
    }
}

bool Tfdotransfer::RemoveSelectedLines(const QString& noneSelected, const QString& question)
{
    const QList<int> rows = SelectedRows();
    if (rows.isEmpty()) {
        fdialog().Warning(noneSelected);
        return false;
    }
    if (!fdialog().Question(question))
        return false;
    queue_.Remove(rows);
    FillList();
    RefreshLabels();
    return true;
}

void Tfdotransfer::bpathClick()
{
    const QString folder = ChooseFolder(this, QStringLiteral("Wybierz katalog docelowy"), TDialogPurpose::AccountFiles);
    if (!folder.isEmpty())
        epath->setText(QDir::toNativeSeparators(folder));
}

void Tfdotransfer::StartRun()
{
    queueBytes_ = queue_.TotalBytes();
    lbcount->setText(QString::number(queue_.Count()));
    lbsize->setText(FormatByteSize(queueBytes_, QStringLiteral("kb")));
    ldcount->setText(QStringLiteral("0"));
    ldsize->setText(QStringLiteral("0 bytes"));
    doneBytes_ = 0;
    cancelRequested_ = aborted_ = false;
    SetRunning(true);
}

void Tfdotransfer::buploadClick()
{
    if (const QString refusal = UploadRefusal(queue_, account_.free); !refusal.isEmpty()) {
        fdialog().Warning(refusal);
        return;
    }
    if (!fdialog().Question(QStringLiteral("Rozpocząć wgrywanie ?")))
        return;
    Run(fsUploading, &Tfdotransfer::UploadLine);
}

bool Tfdotransfer::UploadLine(int row)
{
    const QString& path = queue_.Name(row);
    // Neither the upload nor the deletion of a failed one may reach the manifest.
    if (UploadReplacesManifest(path)) {
        Log("FTP ERROR: Refused to upload \"" + path + "\": it would replace the account's manifest", 3);
        return false;
    }
    const bool sent = UploadOrderFile(client_, path);
    if (sent && !aborted_) {
        account_.free -= queue_.Size(row);
        return true;
    }
    // What arrived must go: the file may be whole when the abort came after its last bytes,
    // and an abort while the server confirmed the transfer closes the connection.
    if (client_.Connected() || OpenAccountFolder(client_, account_.accountId).state == TAccountOpen::Opened)
        client_.Delete(UploadRemoteName(path));
    return false;
}

void Tfdotransfer::bdownloadClick()
{
    if (queue_.IsEmpty())
        return;
    if (epath->text().size() < 2) {
        fdialog().Warning(QStringLiteral("Wybierz katalog docelowy !"));
        return;
    }
    if (!QFileInfo(epath->text()).isDir()
        && !fdialog().QuestionWarning(QStringLiteral("Katalog docelowy nie istnieje, utworzyć ?")))
        return;
    epath->setText(TrimTargetFolder(epath->text()));
    const QString folder = epath->text();
    if (!ForceDirs(folder)) {
        fdialog().Error(QStringLiteral("Nie można utworzyć katalogu docelowego !"));
        return;
    }
    for (int row = 0; row < queue_.Count(); ++row) {
        const QString target = DownloadTarget(folder, queue_.Name(row));
        if (!target.isEmpty() && QFileInfo::exists(target)) {
            if (!fdialog().QuestionWarning(QStringLiteral(
                    "Część plików już istnieje w katalogu docelowym !\rCzy chcesz zastąpić istniejące pliki ?")))
                return;
            break;
        }
    }
    Run(fsDownloading, &Tfdotransfer::DownloadLine);
}

void Tfdotransfer::Run(int activeState, bool (Tfdotransfer::*transfer)(int row))
{
    StartRun();
    if (!OpenAccount()) {
        SetRunning(false);
        return;
    }
    int errors = 0;
    for (int row = 0; row < queue_.Count(); ++row) {
        lbfiles->setCurrentRow(row);
        SetLineState(row, activeState);
        if ((this->*transfer)(row)) {
            SetLineState(row, fsDone);
        } else {
            ++errors;
            SetLineState(row, fsFailed);
        }
        if (cancelRequested_)
            break;
        doneBytes_ += queue_.Size(row);
        ldcount->setText(QString::number(row + 1));
    }
    FinishRun(errors);
}

bool Tfdotransfer::DownloadLine(int row)
{
    const QString& name = queue_.Name(row);
    const QString target = DownloadTarget(epath->text(), name);
    if (target.isEmpty()) {
        Log("FTP ERROR: Refused to download \"" + name + "\": not a plain file name", 3);
        return false;
    }
    DeleteFileForced(target);
    const TFtpResult result = client_.Get(name, target);
    if (result.ok && !aborted_)
        return true;
    if (!result.ok)
        Log("FTP ERROR: " + result.message, 3);
    // A cancel that came after the last byte still counts: the whole file goes too, so only a
    // line in state "OK" leaves a file under its name.
    DeleteFileForced(target);
    return false;
}

void Tfdotransfer::FinishRun(int errors)
{
    client_.Disconnect();
    lbfiles->repaint();
    RefreshLabels();
    SetRunning(false);
    const TTransferSummary summary = TransferSummary(uploadMode_, cancelRequested_, errors);
    switch (summary.kind) {
    case TSummaryKind::Warning:
        fdialog().Warning(summary.text);
        break;
    case TSummaryKind::Information:
        fdialog().Information(summary.text);
        break;
    case TSummaryKind::Error:
        fdialog().Error(summary.text);
        break;
    }
}

void Tfdotransfer::bcancelClick()
{
    // The transfer stops at its next work event, so an abort never cuts a command short.
    cancelRequested_ = fdialog().Question(QStringLiteral("Przerwać wgrywanie plików ?"));
}

void Tfdotransfer::Work(int64_t count)
{
    pb->SetPosition(TransferPercent(count, doneBytes_, queueBytes_));
    ldsize->setText(FormatByteSize(count + doneBytes_, QStringLiteral("kb")));
    if (cancelRequested_ && !aborted_) {
        aborted_ = true;
        client_.Abort();
    }
}
