// The virtual-account login window against the demo lab's FTP server: the ID rule before any
// connection, the manifest, the password, every message, and the clean-up after every attempt.
#include "account/uvirtual.h"

#include "account/virtualaccount.h"
#include "order/orderupload.h"
#include "tests/account/accountserver.h"
#include "tests/support/tlscerts.h"
#include "tests/support/windowdriver.h"
#include "ui/gradientbutton.h"
#include "ui/umydialog.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QString kNoAccount
    = QStringLiteral("Nie można się podłączyć do konta wirtualnego !\rSprawdź numer ID lub spróbuj ponownie później.");

class VirtualLoginTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(lab.server.Started());
        lab.AddAccount("DEMO2024", "Bez hasla", 50);
        lab.AddAccount("FOTO7788", "Album", 4096, "album2024");
        window.SetBrowserLink([this](const TAccountFacts& facts, const QString& description) {
            opened = facts;
            openedDescription = description;
            ++browsers;
        });
    }

    // Presses "wejdź" with id and password typed; the messages shown.
    QList<TShownDialog> Enter(const QString& id, const QString& password, int messages)
    {
        TDialogAnswers answers;
        for (int i = 0; i < messages; ++i)
            answers.Add({ kButtonOk });
        window.eid->setText(id);
        window.epass->setText(password);
        window.enterButtonClick();
        EXPECT_EQ(answers.Remaining(), 0) << id.toStdString();
        return answers.Shown();
    }

    // What every attempt leaves: no local manifest, no connection, no "Logowanie ...".
    void ExpectCleanedUp(const QString& what)
    {
        EXPECT_FALSE(QFile::exists(LocalManifestPath())) << what.toStdString();
        EXPECT_FALSE(window.ftp.Connected()) << what.toStdString();
        EXPECT_TRUE(window.llogin->isHidden()) << what.toStdString();
    }

    TAccountServer lab;
    Tfvirtual& window = fvirtual();
    TAccountFacts opened;
    QString openedDescription;
    int browsers = 0;
};

TEST_F(VirtualLoginTest, IdsOtherThanEightLettersOrDigitsAreRefusedBeforeAnyConnection)
{
    for (const char* id : { "AB12CD3", "AB12CD345", "../ABCDE", "  ", "DEMO 024" }) {
        const QList<TShownDialog> shown = Enter(QString::fromUtf8(id), QString(), 1);
        ASSERT_EQ(shown.size(), 1);
        EXPECT_EQ(shown[0].text, QStringLiteral("Prawidłowy numer ID powinien mieć 8 znaków !"));
        EXPECT_EQ(shown[0].icon, diError);
        EXPECT_TRUE(window.llogin->isHidden());
    }
    EXPECT_FALSE(lab.server.Lab().Output().contains("FTP LOGIN"));
    EXPECT_EQ(browsers, 0);
}

TEST_F(VirtualLoginTest, OpensTheBrowserWithTheManifestsFactsAndRemembersTheId)
{
    lab.AddAccount("AB12CD34", "Skany", 8192);
    EXPECT_TRUE(Enter(" ab12cd34 ", "cokolwiek", 0).isEmpty());
    EXPECT_EQ(window.eid->text(), "AB12CD34");
    EXPECT_EQ(lab.config.id, "AB12CD34");
    ASSERT_EQ(browsers, 1);
    EXPECT_EQ(opened.accountId, "AB12CD34");
    EXPECT_EQ(opened.quota, int64_t(8) << 30) << "a quota past 4 GiB does not wrap";
    EXPECT_EQ(opened.free, opened.quota);
    EXPECT_EQ(openedDescription, "Skany");
    ExpectCleanedUp("success");
    EXPECT_TRUE(lab.server.Lab().WaitForOutput("FTP SENT /virtual/AB12CD34/account_manifest.vds"));
}

TEST_F(VirtualLoginTest, PasswordsAndBrokenAccountsGetTheirMessagesAndEveryAttemptCleansUp)
{
    lab.AddAccount("NOMANIFE", "x", 1);
    QFile::remove(lab.Account("NOMANIFE", "account_manifest.vds"));
    WriteFileBytes(lab.Account("NOPASSKY", "account_manifest.vds"), "ID=NOPASSKY\r\nDESCR=x\r\nSIZE=1\r\n");
    WriteFileBytes(lab.Account("BADSIZE1", "account_manifest.vds"), "id=a\r\ndescr=x\r\nsize=duzo\r\npass=x\r\n");
    const QString wrongPassword = QStringLiteral("To konto wymaga prawidłowego hasła !");
    const struct {
        const char* id;
        const char* password;
        QString message; // empty: the browser opens
    } cases[] = {
        { "DEMO2024", "", {} }, { "DEMO2024", "cokolwiek", {} }, { "FOTO7788", "album2024", {} },
        { "FOTO7788", "", wrongPassword }, { "FOTO7788", "album2024 ", wrongPassword },
        { "NOPASSKY", "", QStringLiteral("Konto wirtualne uszkodzone !\rSkontaktuj się z obsługą programu !") },
        { "BADSIZE1", "", kNoAccount }, { "NOMANIFE", "", kNoAccount },
        { "ZZZZ9999", "", kNoAccount }, // no such folder
    };
    for (const auto& c : cases) {
        const QString id = QString::fromUtf8(c.id);
        const bool opens = c.message.isEmpty();
        const int before = browsers;
        const QList<TShownDialog> shown = Enter(id, QString::fromUtf8(c.password), opens ? 0 : 1);
        EXPECT_EQ(browsers - before, opens ? 1 : 0) << c.id << " '" << c.password << "'";
        if (!opens) {
            ASSERT_EQ(shown.size(), 1) << c.id;
            EXPECT_EQ(shown[0].text, c.message) << c.id;
            EXPECT_EQ(shown[0].icon, diError);
        }
        ExpectCleanedUp(id + " " + c.password);
    }
}

TEST_F(VirtualLoginTest, AStaleLocalManifestFailsTheAttemptAndIsGone)
{
    ASSERT_TRUE(WriteFileBytes(LocalManifestPath(), "id=x\ndescr=obce\nsize=1\npass=x\n"));
    const QList<TShownDialog> shown = Enter("DEMO2024", "", 1);
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].text, kNoAccount);
    ExpectCleanedUp("stale copy");
    EXPECT_TRUE(Enter("DEMO2024", "", 0).isEmpty()) << "the next attempt opens";
    EXPECT_EQ(openedDescription, "Bez hasla");
}

TEST_F(VirtualLoginTest, AnUnreachableServerShowsTheConnectionMessage)
{
    lab.engine.host = QStringLiteral("127.0.0.1:%1").arg(FreeLoopbackPort());
    const QList<TShownDialog> shown = Enter("DEMO2024", "", 1);
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].text, QStringLiteral("Nie udało się połączyć z serwerem FTP !"));
    ExpectCleanedUp("unreachable");
}

TEST_F(VirtualLoginTest, ShowingPrefillsTheRememberedIdAndEmptiesThePassword)
{
    lab.config.id = "FOTO7788";
    window.epass->setText("stare");
    QString id;
    QString password;
    QString info;
    OnNextModal([&](QWidget*) {
        id = window.eid->text();
        password = window.epass->text();
        info = window.linfo->text();
        window.cancelButton->click();
    });
    window.exec();
    EXPECT_EQ(id, "FOTO7788");
    EXPECT_TRUE(password.isEmpty());
    EXPECT_TRUE(info.startsWith(QStringLiteral("Konto wirtualne pozwala na przekaz dowolnych plików")));
    EXPECT_FALSE(window.isVisible());
}

// With the lab's tls=2 the account goes over TLS like an order: the login with its manifest,
// the listing, a download and an upload, all on a server that refuses anything in clear text.
TEST(VirtualAccountTls, LoginListingAndTransfersAreProtected)
{
    QTemporaryDir dir;
    TTestCertificates certificates;
    ASSERT_TRUE(MakeTestCertificates(dir.path(), certificates));
    const TScopedCertStore store(certificates.caFile);
    TAccountServer lab({ "--ftp-tls-cert", certificates.serverPem, "--ftp-tls-required" });
    ASSERT_TRUE(lab.server.Started());
    lab.engine.tls = 2;
    lab.AddAccount("AB12CD34", "Skany", 10);
    ASSERT_TRUE(WriteFileBytes(lab.Account("AB12CD34", "scan.jpg"), "skan"));

    TFtpClient ftp;
    const TAccountLogin login = LogInToAccount(ftp, "AB12CD34", "");
    ASSERT_TRUE(login.ok) << login.message.toStdString();
    EXPECT_TRUE(ftp.Security().control && ftp.Security().data);

    ASSERT_EQ(OpenAccountFolder(ftp, "AB12CD34").state, TAccountOpen::Opened);
    QList<TFtpListItem> listing;
    ASSERT_TRUE(ftp.List(&listing).ok);
    EXPECT_EQ(AccountFiles(listing).names, QStringList { "scan.jpg" });
    ASSERT_TRUE(ftp.Get("scan.jpg", dir.filePath("scan.jpg")).ok);
    EXPECT_EQ(ReadFileBytes(dir.filePath("scan.jpg")), "skan");
    ASSERT_TRUE(WriteFileBytes(dir.filePath("Odbitki.PDF"), QByteArray(100000, 'p')));
    EXPECT_TRUE(UploadOrderFile(ftp, dir.filePath("Odbitki.PDF")));
    EXPECT_EQ(ReadFileBytes(lab.Account("AB12CD34", "odbitki.pdf")), QByteArray(100000, 'p'));
    ftp.Disconnect();
}

TEST_F(VirtualLoginTest, EnteredFromTheKeyboardAlone)
{
    const TKeyboardVisit visit = VisitByKeyboard(&window, [&] { window.exec(); }, { Qt::Key_Escape });
    EXPECT_EQ(visit.focused, "eid");
    EXPECT_EQ(visit.tabs, (QStringList { "epass", "GradientButton1", "GradientButton2" }));
    EXPECT_TRUE(visit.closed) << "Escape cancels";

    OnNextModal([&](QWidget*) {
        window.eid->clear();
        QTest::keyClicks(window.eid, "DEMO2024");
        PressKey(&window, Qt::Key_Return); // "wejdź"
        if (window.isVisible())
            window.reject();
    });
    window.exec();
    EXPECT_EQ(browsers, 1);
    EXPECT_EQ(opened.accountId, "DEMO2024");
}

} // namespace
