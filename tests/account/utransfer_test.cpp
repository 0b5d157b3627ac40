// The account browser against the demo lab's FTP server: the listing (files only, sizes in
// 64 bits, counts and free space), downloads and uploads handed to the transfer window's links,
// deleting with progress and one summary warning, closing refused while busy.
#include "account/utransfer.h"

#include "account/virtualaccount.h"
#include "core/textutils.h"
#include "net/ftpclient.h"
#include "tests/account/accountserver.h"
#include "tests/support/windowdriver.h"
#include "ui/columnlistbox.h"
#include "ui/gradientbutton.h"
#include "ui/gradientprogressbar.h"
#include "ui/mousedpanel.h"
#include "ui/umydialog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <map>

namespace {

constexpr int64_t kGiB = int64_t(1) << 30;
const QString kId = QStringLiteral("AB12CD34");

class AccountBrowserTest : public testing::Test {
protected:
    explicit AccountBrowserTest(const QStringList& faults = {})
        : lab(faults)
    {
    }

    void SetUp() override
    {
        ASSERT_TRUE(lab.server.Started());
        lab.AddAccount(kId, "Skany", 8192);
        window.account = { kId, 8 * kGiB, 0 };
        window.description = "Skany";
        window.SetLinks({});
    }

    void AddFile(const QString& name, qint64 size)
    {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(lab.Account(kId, name)).absolutePath()));
        ASSERT_TRUE(WritePatternFile(lab.Account(kId, name), size));
    }

    // The listed lines as name -> size text.
    std::map<QString, QString> Lines() const
    {
        std::map<QString, QString> lines;
        for (int row = 0; row < window.lbfiles->count(); ++row) {
            const QStringList texts = window.lbfiles->LineTexts(row);
            lines[texts.value(0)] = texts.value(1);
        }
        return lines;
    }

    void SelectAll()
    {
        for (int row = 0; row < window.lbfiles->count(); ++row)
            window.lbfiles->item(row)->setSelected(true);
    }

    // Shows the window for the account; inside, once the first listing is done, runs act and
    // closes the window unless it closed itself.
    void ShowAccount(const std::function<void()>& act)
    {
        OnNextModal([&](QWidget*) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return !window.Timer1->isActive() && window.pbusy->isHidden(); }));
            act();
            if (window.isVisible())
                window.bclose->click();
        });
        window.ShowAccount({ kId, 8 * kGiB, 0 }, "Skany");
    }

    TAccountServer lab;
    Tftransfer& window = ftransfer();
};

TEST_F(AccountBrowserTest, ListsFilesOnlyWithTheirSizesInSixtyFourBits)
{
    AddFile("zdjecie.jpg", 1500);
    AddFile("opis.pdf", 20000);
    AddFile("folder/w_srodku.txt", 10);
    AddFile("..\\evil", 5); // a name no local folder could hold
    AddFile("Account_Manifest.VDS", 7); // the manifest itself to a server on Windows
    QFile big(lab.Account(kId, "duzy.bin"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly) && big.resize(4 * kGiB)); // sparse
    big.close();

    QString caption;
    ShowAccount([&] { caption = window.windowTitle(); });
    EXPECT_EQ(caption, QStringLiteral("Zawartość konta - Skany"));
    const std::map<QString, QString> expected { { "zdjecie.jpg", "1 Kb" }, { "opis.pdf", "19 Kb" },
        { "duzy.bin", "4 Gb" } };
    EXPECT_EQ(Lines(), expected);
    const int64_t total = 4 * kGiB + 21500;
    EXPECT_EQ(window.account.free, 8 * kGiB - total);
    EXPECT_EQ(window.lcount->text(), "3");
    EXPECT_EQ(window.lsize->text(), FormatByteSize(total, "Tb"));
    EXPECT_EQ(window.lasize->text(), "8 Gb");
    EXPECT_EQ(window.lafree->text(), FormatByteSize(8 * kGiB - total, "Tb"));
    EXPECT_EQ(window.lbfiles->Columns(), (QList<int> { 2, Tftransfer::kSizeColumn }));
    EXPECT_EQ(Tftransfer::kSizeColumn, 302);

    // Only the manifest left: nothing listed, all of the quota free.
    for (const char* name : { "zdjecie.jpg", "opis.pdf", "duzy.bin", "..\\evil", "Account_Manifest.VDS" })
        QFile::remove(lab.Account(kId, name));
    QDir(lab.Account(kId, "folder")).removeRecursively();
    EXPECT_TRUE(window.RefreshListing());
    EXPECT_EQ(window.lbfiles->count(), 0);
    EXPECT_EQ(window.account.free, 8 * kGiB);
    EXPECT_EQ(window.lcount->text(), "0");
    EXPECT_EQ(window.lafree->text(), "8 Gb");
}

TEST_F(AccountBrowserTest, DownloadAndUploadGoThroughTheLinks)
{
    AddFile("a.jpg", 3000);
    AddFile("b.jpg", 4000);
    AddFile("c.jpg", 5000);
    QStringList names;
    QList<int64_t> sizes;
    int64_t freeAfterUpload = 0;
    int uploads = 0;
    window.SetLinks({ [&](const TAccountFacts& account, const QStringList& n, const QList<int64_t>& s) {
                         EXPECT_EQ(account.accountId, kId);
                         names = n;
                         sizes = s;
                     },
        [&](const TAccountFacts& account) {
            ++uploads;
            return account.free == freeAfterUpload ? account.free : freeAfterUpload;
        } });
    ASSERT_TRUE(window.RefreshListing());
    const int64_t free = window.account.free;
    {
        TDialogAnswers answers { { kButtonOk }, { kButtonOk } };
        window.bdownloadClick();
        window.bdeleteClick();
        ASSERT_EQ(answers.Shown().size(), 2);
        EXPECT_EQ(answers.Shown()[0].text, QStringLiteral("Zaznacz pliki które chcesz pobrać !"));
        EXPECT_EQ(answers.Shown()[1].text, QStringLiteral("Zaznacz pliki które chcesz usunąć !"));
        EXPECT_EQ(answers.Shown()[1].icon, diExclamation);
    }
    window.lbfiles->item(2)->setSelected(true);
    window.lbfiles->item(0)->setSelected(true);
    window.bdownloadClick();
    EXPECT_EQ(names, (QStringList { window.lbfiles->LineTexts(0)[0], window.lbfiles->LineTexts(2)[0] }));
    EXPECT_EQ(sizes, (QList<int64_t> { window.sizes[0], window.sizes[2] }));

    // An upload that left the free space as it was does not list again; one that changed it does.
    const int logins = int(lab.server.Lab().Output().count("FTP LOGIN"));
    freeAfterUpload = free;
    window.buploadClick();
    AddFile("d.jpg", 6000);
    freeAfterUpload = free - 6000;
    window.buploadClick();
    EXPECT_EQ(uploads, 2);
    EXPECT_TRUE(lab.server.Lab().WaitForOutput("FTP LOGIN", 5000, logins + 1));
    EXPECT_EQ(lab.server.Lab().Output().count("FTP LOGIN"), logins + 1);
    EXPECT_EQ(window.lbfiles->count(), 4);
    EXPECT_EQ(window.account.free, free - 6000);
}

class AccountBrowserRefusingTest : public AccountBrowserTest {
protected:
    AccountBrowserRefusingTest()
        : AccountBrowserTest({ "--refuse-delete", "b.jpg" })
    {
    }
};

TEST_F(AccountBrowserRefusingTest, DeletesWithProgressAndOneWarningForTheFailures)
{
    AddFile("a.jpg", 3000);
    AddFile("b.jpg", 4000);
    AddFile("c.jpg", 5000);
    QList<int> positions;
    QList<TShownDialog> shown;
    ShowAccount([&] {
        SelectAll();
        TDialogAnswers answers { { kButtonOk }, { kButtonOk } };
        QTimer watcher;
        QObject::connect(&watcher, &QTimer::timeout, [&] {
            if (positions.isEmpty() || positions.last() != window.pb->Position())
                positions << window.pb->Position();
        });
        watcher.start(0);
        window.bdeleteClick();
        shown = answers.Shown();
    });
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown[0].text, QStringLiteral("Usunąć wybrane pliki ?"));
    EXPECT_EQ(shown[0].icon, diQuestion);
    EXPECT_EQ(shown[1].text, QStringLiteral("Nie wszystkie pliki udało się usunąć !"));
    EXPECT_EQ(shown[1].icon, diExclamation);
    EXPECT_TRUE(positions.contains(33) && positions.contains(66)) << "positions seen: " << positions.size();
    EXPECT_FALSE(positions.contains(100)) << "one of three failed";
    EXPECT_EQ(Lines(), (std::map<QString, QString> { { "b.jpg", "3 Kb" } })) << "the refreshed list";
    EXPECT_TRUE(lab.server.Lab().WaitForOutput("FTP DELETED /virtual/AB12CD34/c.jpg"));
    EXPECT_TRUE(lab.server.Lab().Output().contains("FTP DELETE /virtual/AB12CD34/b.jpg refused"));
}

// The browser never lists the manifest; should such a name reach the deletion, it stays.
TEST_F(AccountBrowserTest, DeletingNeverTakesTheManifest)
{
    AddFile("a.jpg", 3000);
    TFtpClient ftp;
    ASSERT_EQ(OpenAccountFolder(ftp, kId).state, TAccountOpen::Opened);
    const TAccountDeletion deletion
        = DeleteAccountFiles(ftp, { "account_manifest.vds", "Account_Manifest.VDS", "a.jpg" }, { 1, 1, 3000 }, {});
    ftp.Disconnect();
    EXPECT_EQ(deletion.deleted, 1);
    EXPECT_EQ(deletion.failed, 2);
    EXPECT_EQ(deletion.freedBytes, 3000);
    EXPECT_TRUE(QFileInfo::exists(lab.Account(kId, "account_manifest.vds")));
    EXPECT_FALSE(QFileInfo::exists(lab.Account(kId, "a.jpg")));
    EXPECT_FALSE(lab.server.Lab().Output().contains("manifest", Qt::CaseInsensitive));
}

class AccountBrowserSlowTest : public AccountBrowserTest {
protected:
    AccountBrowserSlowTest()
        : AccountBrowserTest({ "--ftp-delay", "100" })
    {
    }
};

TEST_F(AccountBrowserSlowTest, ClosingIsRefusedWhileBusy)
{
    AddFile("a.jpg", 3000);
    bool tried = false;
    bool stayedOpen = false;
    bool listDisabled = false;
    bool infoHidden = false;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (tried || window.pbusy->isHidden() || !window.isVisible())
            return;
        tried = true;
        listDisabled = !window.lbfiles->isEnabled();
        infoHidden = window.pinfo->isHidden();
        window.reject();
        window.close();
        stayedOpen = window.isVisible();
    });
    closer.start(5);
    ShowAccount([] {});
    EXPECT_TRUE(tried);
    EXPECT_TRUE(stayedOpen);
    EXPECT_TRUE(listDisabled);
    EXPECT_TRUE(infoHidden);
    EXPECT_EQ(window.lbfiles->count(), 1);
    EXPECT_FALSE(window.isVisible()) << "closed by \"zamknij\" once idle";
}

class AccountBrowserDroppingTest : public AccountBrowserTest {
protected:
    AccountBrowserDroppingTest()
        : AccountBrowserTest({ "--drop-after", "1" })
    {
    }
};

TEST_F(AccountBrowserDroppingTest, AFailedListingClosesTheWindow)
{
    AddFile("a.jpg", 3000);
    TDialogAnswers answers { { kButtonOk } };
    OnNextModal([](QWidget*) {});
    window.ShowAccount({ kId, 8 * kGiB, 0 }, "Skany");
    ASSERT_EQ(answers.Shown().size(), 1);
    EXPECT_EQ(
        answers.Shown()[0].text, QStringLiteral("Nie można pobrać informacji o koncie !\rBłąd połączenia z serwerem."));
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.lbfiles->count(), 0);
    EXPECT_EQ(window.account.free, 8 * kGiB);
}

TEST_F(AccountBrowserTest, AMissingAccountFolderIsAConnectionError)
{
    window.account.accountId = "ZZZZ9999";
    TDialogAnswers answers { { kButtonOk } };
    EXPECT_FALSE(window.RefreshListing());
    ASSERT_EQ(answers.Shown().size(), 1);
    EXPECT_EQ(answers.Shown()[0].text, QStringLiteral("Błąd połączenia z serwerem !"));
    EXPECT_TRUE(window.pbusy->isHidden());
    EXPECT_TRUE(window.lbfiles->isEnabled());
}

TEST_F(AccountBrowserTest, KeyboardAlone)
{
    QString opened;
    QStringList tabs;
    bool closed = false;
    ShowAccount([&] {
        opened = window.focusWidget()->objectName();
        tabs = TabWalk(&window);
        PressKey(&window, Qt::Key_Escape); // "zamknij"
        closed = !window.isVisible();
    });
    EXPECT_EQ(opened, "lbfiles");
    EXPECT_EQ(tabs, (QStringList { "bupload", "bdownload", "bdelete", "bclose" }));
    EXPECT_TRUE(closed);
}

} // namespace
