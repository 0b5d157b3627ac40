#pragma once
// Tftransfer ("ftransfer"): "Zawartość konta - " + the account's description. The files of
// an open virtual account with their sizes, the account's size and free space; "pobierz" and
// "wgraj" hand the account and the chosen files to the transfer window, "usuń" deletes files
// on the server. Every action opens its own FTP connection and closes it when done; while
// one runs the busy panel shows its progress and the window cannot be closed.
//
// The window calls no other window: the transfer window comes as links that the program's
// window list gives it.
#include "account/accountfacts.h"
#include "account/virtualaccount.h"
#include "net/ftpclient.h"
#include "ui/formslot.h"

#include <QDialog>
#include <QList>
#include <QStringList>

#include <cstdint>
#include <functional>

class QLabel;
class QTimer;
class TColumnListBox;
class TGradientButton;
class TGradientProgressBar;
class TMousedPanel;

struct TTransferLinks {
    // The transfer window in download mode for these files (names and sizes in list order).
    std::function<void(const TAccountFacts& account, const QStringList& names, const QList<int64_t>& sizes)> download;
    // The transfer window in upload mode; the account's free space when it closed.
    std::function<int64_t(const TAccountFacts& account)> upload;
};

class Tftransfer : public QDialog {
    Q_OBJECT
public:
    static constexpr int kSizeColumn = 302; // x of the sizes in lbfiles

    explicit Tftransfer(QWidget* parent = nullptr);

    void SetLinks(TTransferLinks links) { links_ = std::move(links); }
    // Shows the account modally; free is counted from its listing.
    void ShowAccount(const TAccountFacts& account, const QString& description);

    // Connected in the account's folder; false after the connection's message or "Błąd
    // połączenia z serwerem !" was shown.
    bool OpenAccount();
    // Busy (on): the progress bar captioned text at 0, the list disabled, pbusy over pinfo.
    void SetBusy(const QString& text, bool on);
    void RefreshLabels();
    // Lists the account's files again; false when the account could not be opened or listed
    // (a failed listing closes the window).
    bool RefreshListing();

    TColumnListBox* lbfiles = nullptr;
    TMousedPanel* pinfo = nullptr;
    QLabel* lcount = nullptr;
    QLabel* lsize = nullptr;
    QLabel* lasize = nullptr;
    QLabel* lafree = nullptr;
    TGradientButton* bclose = nullptr; // "zamknij"
    TGradientButton* bupload = nullptr; // "wgraj"
    TGradientButton* bdownload = nullptr; // "pobierz"
    TGradientButton* bdelete = nullptr; // "usuń"
    TMousedPanel* pbusy = nullptr;
    TGradientProgressBar* pb = nullptr;
    QTimer* Timer1 = nullptr;

    // The open account: ID, quota and free space (quota less the listed files), bytes.
    TAccountFacts account;
    QString description;
    // Each listed file's size in bytes, parallel to lbfiles.
    QList<int64_t> sizes;

    void Timer1Timer();
    void bdownloadClick();
    void buploadClick();
    void bdeleteClick();

public Q_SLOTS:
    // Escape, "zamknij" and the close box; refused while busy.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    bool Busy() const;
    void ClearFiles();
    // The selected files' names and sizes, in list order.
    TAccountFiles SelectedFiles() const;

    TTransferLinks links_;
    TFtpClient ftp_;
    TFormSlotEntry<Tftransfer> slot_ { this };
};

inline Tftransfer& ftransfer()
{
    return TFormSlot<Tftransfer>::Get();
}
