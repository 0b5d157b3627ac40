#pragma once
// Tfdotransfer ("fdotransfer"): moves a queue of files between this computer and the open
// virtual account. Download mode fetches the files the account browser chose into a local
// folder; upload mode sends local files the customer picks, within the account's free space.
// Every line shows its state; a run can be cancelled. The window has its own FTP client and
// opens one connection per run.
#include "account/accountfacts.h"
#include "account/transferqueue.h"
#include "net/ftpclient.h"
#include "ui/formslot.h"

#include <QDialog>

class QFileDialog;
class QLabel;
class QLineEdit;
class QListWidget;
class TGradientButton;
class TGradientProgressBar;

class Tfdotransfer : public QDialog {
    Q_OBJECT
public:
    explicit Tfdotransfer(QWidget* parent = nullptr);

    // The open account: its ID, quota and free space (lowered by every uploaded file).
    void SetAccount(const TAccountFacts& facts) { account_ = facts; }
    const TAccountFacts& Account() const { return account_; }
    const TTransferQueue& Queue() const { return queue_; }

    // Download mode with names and sizes (parallel lists) in state "oczekuje"; modal.
    void OpenDownload(const QStringList& names, const QList<int64_t>& sizes);
    // Upload mode with an empty queue; modal.
    void OpenUpload();

    // The running panel on or off; the idle panel of the mode the reverse.
    void SetRunning(bool on);
    bool Running() const;
    // Connects into the account's folder; shows ConnectFtp's message when that fails, and
    // nothing when only the account folder is missing.
    bool OpenAccount();
    void RefreshLabels();

    QListWidget* lbfiles = nullptr;

    QWidget* pupload = nullptr;
    QLabel* lcount = nullptr;
    QLabel* lsize = nullptr;
    QLabel* lasize = nullptr;
    QLabel* lafree = nullptr;
    TGradientButton* bselect = nullptr; // "wybierz pliki"
    TGradientButton* bremove = nullptr; // "usuń z listy"
    TGradientButton* bupload = nullptr; // "wgraj"
    TGradientButton* bclose = nullptr; // "zamknij"

    QWidget* pdownload = nullptr;
    QLabel* lcountd = nullptr;
    QLabel* lsized = nullptr;
    QLineEdit* epath = nullptr;
    TGradientButton* bpath = nullptr; // "..."
    TGradientButton* bdownload = nullptr; // "pobierz"
    TGradientButton* bremoved = nullptr; // "usuń z listy"
    TGradientButton* bclosed = nullptr; // "zamknij"

    QWidget* pbusy = nullptr;
    TGradientProgressBar* pb = nullptr;
    QLabel* lbcount = nullptr;
    QLabel* lbsize = nullptr;
    QLabel* ldcount = nullptr;
    QLabel* ldsize = nullptr;
    TGradientButton* bcancel = nullptr; // "anuluj"

    QFileDialog* od = nullptr;

    void bselectClick();
    void bremoveClick();
    void bremovedClick();
    void bpathClick();
    void buploadClick();
    void bdownloadClick();
    void bcancelClick();

    // Closes the window unless a run goes on (Escape, "zamknij").
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildUploadPanel();
    void BuildDownloadPanel();
    void BuildBusyPanel();
    void Open(bool upload, const QString& caption);
    // The queue into the list, keeping the selection when the lines stay the same.
    void FillList();
    QList<int> SelectedRows() const;
    // The warning for no selection, then the question; true when the lines went.
    bool RemoveSelectedLines(const QString& noneSelected, const QString& question);
    // The running panel's counters at the start of a run of the whole queue.
    void StartRun();
    // One run: every line in turn through transfer (which is true when the file arrived
    // whole), in activeState meanwhile, until the end or a cancel; then the closing message.
    void Run(int activeState, bool (Tfdotransfer::*transfer)(int row));
    void SetLineState(int row, int state);
    void Work(int64_t count);
    bool UploadLine(int row);
    bool DownloadLine(int row);
    void FinishRun(int errors);

    TAccountFacts account_;
    TTransferQueue queue_;
    TFtpClient client_;
    bool uploadMode_ = false;
    int64_t doneBytes_ = 0;
    int64_t queueBytes_ = 0;
    bool cancelRequested_ = false;
    bool aborted_ = false;
    TFormSlotEntry<Tfdotransfer> slot_ { this };
};

inline Tfdotransfer& fdotransfer()
{
    return TFormSlot<Tfdotransfer>::Get();
}
