#include "account/utransfer.h"

#include "account/virtualaccount.h"
#include "core/coreobjects.h"
#include "core/log.h"
#include "core/textutils.h"
#include "net/ftplisting.h"
#include "skin/skinner.h"
#include "ui/columnlistbox.h"
#include "ui/designfonts.h"
#include "ui/gradientbutton.h"
#include "ui/gradientprogressbar.h"
#include "ui/keyboardwindow.h"
#include "ui/mousedpanel.h"
#include "ui/umydialog.h"
#include "ui/windowparts.h"

#include <QCloseEvent>
#include <QLabel>
#include <QTimer>

namespace {

constexpr QRect kPanelRect(8, 256, 529, 75);

QString ByteSize(int64_t bytes)
{
    return FormatByteSize(bytes, QStringLiteral("Tb"));
}

} // namespace

Tftransfer::Tftransfer(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("ftransfer"));
    setFont(DesignFont(QStringLiteral("Tahoma"), 8));
    setFixedSize(545, 339);
    setModal(true);

    lbfiles = MakeNamed<TColumnListBox>(this, "lbfiles", QRect(8, 8, 529, 240));
    lbfiles->SetColumns({ 2, kSizeColumn });

    pinfo = MakeNamed<TMousedPanel>(this, "pinfo", kPanelRect);
    const struct {
        const char* name;
        const char16_t* caption;
        QLabel** label;
    } rows[] = {
        { "lcount", u"Ilość plików:", &lcount },
        { "lsize", u"Rozmiar:", &lsize },
        { "lasize", u"Rozmiar konta:", &lasize },
        { "lafree", u"Wolne miejsce:", &lafree },
    };
    int y = 5;
    for (const auto& row : rows) {
        *row.label = MakeCaptionedValue(pinfo, row.name, QString::fromUtf16(row.caption), QRect(10, y, 260, 16), 100);
        y += 16;
    }
    bupload = MakeTextButton(pinfo, "bupload", QStringLiteral("wgraj"), QRect(310, 9, 100, 25));
    bdownload = MakeTextButton(pinfo, "bdownload", QStringLiteral("pobierz"), QRect(418, 9, 100, 25));
    bdelete = MakeTextButton(pinfo, "bdelete", QStringLiteral("usuń"), QRect(310, 40, 100, 25));
    bclose = MakeTextButton(pinfo, "bclose", QStringLiteral("zamknij"), QRect(418, 40, 100, 25));
    connect(bupload, &TGradientButton::OnClick, this, &Tftransfer::buploadClick);
    connect(bdownload, &TGradientButton::OnClick, this, &Tftransfer::bdownloadClick);
    connect(bdelete, &TGradientButton::OnClick, this, &Tftransfer::bdeleteClick);
    connect(bclose, &TGradientButton::OnClick, this, &Tftransfer::reject);

    pbusy = MakeNamed<TMousedPanel>(this, "pbusy", kPanelRect);
    pb = MakeNamed<TGradientProgressBar>(pbusy, "pb", QRect(16, 26, 497, 22));
    pb->SetShowCaption(true);
    pbusy->hide();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(50);
    connect(Timer1, &QTimer::timeout, this, &Tftransfer::Timer1Timer);
    AcceptOnEnter(lbfiles, [this] { bdownloadClick(); }); // Enter takes the chosen files home
    UseFromKeyboard(this, lbfiles);
}

void Tftransfer::ShowAccount(const TAccountFacts& facts, const QString& accountDescription)
{
    account = facts;
    account.free = facts.quota;
    description = accountDescription;
    exec();
}

void Tftransfer::showEvent(QShowEvent* event)
{
    if (const TSkinner* skinner = Core().skinner)
        skinner->ApplyToControl(lbfiles);
    setWindowTitle("Zawartość konta - " + description);
    ClearFiles();
    pbusy->setGeometry(pinfo->geometry());
    pbusy->hide();
    pinfo->show();
    lbfiles->setEnabled(true);
    RefreshLabels();
    CentreOnScreen(this);
    QDialog::showEvent(event);
    Timer1->start();
}

void Tftransfer::Timer1Timer()
{
    Timer1->stop();
    RefreshListing();
}

bool Tftransfer::Busy() const
{
    return !pbusy->isHidden();
}

void Tftransfer::reject()
{
    if (!Busy())
        QDialog::reject();
}

void Tftransfer::closeEvent(QCloseEvent* event)
{
    if (Busy()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void Tftransfer::ClearFiles()
{
    lbfiles->clear();
    sizes.clear();
}

TAccountFiles Tftransfer::SelectedFiles() const
{
    TAccountFiles chosen;
    for (const int row : lbfiles->SelectedRows()) {
        chosen.names << lbfiles->LineTexts(row).value(0);
        chosen.sizes << sizes.value(row);
    }
    return chosen;
}

bool Tftransfer::OpenAccount()
{
    const TAccountOpenResult opened = OpenAccountFolder(ftp_, account.accountId);
    if (opened.state == TAccountOpen::NoConnection)
        fdialog().Error(opened.message);
    else if (opened.state == TAccountOpen::NoFolder)
        fdialog().Error(QStringLiteral("Błąd połączenia z serwerem !"));
    return opened.state == TAccountOpen::Opened;
}

void Tftransfer::SetBusy(const QString& text, bool on)
{
    pb->SetCaption(text);
    pb->SetPosition(0);
    lbfiles->setEnabled(!on);
    pbusy->setVisible(on);
    pinfo->setVisible(!on);
    if (!on)
        lbfiles->setFocus(); // the button that started the work was hidden with its panel
    pbusy->repaint(); // before the work, whose FTP waits paint the rest
}

void Tftransfer::RefreshLabels()
{
    int64_t total = 0;
    for (const int64_t size : sizes)
        total += size;
    lcount->setText(QString::number(lbfiles->count()));
    lsize->setText(ByteSize(total));
    lasize->setText(ByteSize(account.quota));
    lafree->setText(ByteSize(account.free));
}

bool Tftransfer::RefreshListing()
{
    ClearFiles();
    RefreshLabels();
    SetBusy(QStringLiteral("Pobieranie informacji..."), true);
    if (!OpenAccount()) {
        SetBusy(QString(), false);
        ftp_.Disconnect();
        return false;
    }
    QList<TFtpListItem> listing;
    const TFtpResult listed = ftp_.List(&listing);
    const TAccountFiles files = AccountFiles(listing);
    account.free = account.quota - (listed.ok ? files.TotalBytes() : 0);
    if (listed.ok) {
        for (qsizetype i = 0; i < files.names.size(); ++i)
            lbfiles->AddLine({ files.names[i], ByteSize(files.sizes[i]) });
        sizes = files.sizes;
    } else {
        Log("FTP ERROR: " + listed.message, 0);
    }
    SetBusy(QString(), false);
    ftp_.Disconnect();
    RefreshLabels();
    if (!listed.ok) {
        fdialog().Error(QStringLiteral("Nie można pobrać informacji o koncie !\rBłąd połączenia z serwerem."));
        reject();
    }
    return listed.ok;
}

void Tftransfer::bdownloadClick()
{
    const TAccountFiles chosen = SelectedFiles();
    if (chosen.names.isEmpty()) {
        fdialog().Warning(QStringLiteral("Zaznacz pliki które chcesz pobrać !"));
        return;
    }
    if (links_.download)
        links_.download(account, chosen.names, chosen.sizes);
}

void Tftransfer::buploadClick()
{
    if (!links_.upload)
        return;
    const int64_t freeAfter = links_.upload(account);
    if (freeAfter != account.free)
        RefreshListing();
}

void Tftransfer::bdeleteClick()
{
    const TAccountFiles chosen = SelectedFiles();
    if (chosen.names.isEmpty()) {
        fdialog().Warning(QStringLiteral("Zaznacz pliki które chcesz usunąć !"));
        return;
    }
    if (!fdialog().Question(QStringLiteral("Usunąć wybrane pliki ?")))
        return;
    SetBusy(QStringLiteral("Kasowanie plików ..."), true);
    if (!OpenAccount()) {
        SetBusy(QString(), false);
        return;
    }
    const TAccountDeletion deletion = DeleteAccountFiles(ftp_, chosen.names, chosen.sizes,
        [&](int deleted) { pb->SetPosition(int(deleted * 100 / chosen.names.size())); });
    account.free += deletion.freedBytes;
    ftp_.Disconnect();
    if (deletion.failed > 0)
        fdialog().Warning(QStringLiteral("Nie wszystkie pliki udało się usunąć !"));
    SetBusy(QString(), false);
    RefreshListing();
}
