// The login window against the demo lab's login script: what it checks before asking, what
// reaches the script, the answers, the autologin file.
#include "order/ulogin.h"

#include "core/log.h"
#include "lab/md5.h"
#include "tests/project/projectfixture.h"
#include "tests/support/demolab.h"
#include "tests/support/testsupport.h"
#include "tests/support/urlcatcher.h"
#include "tests/support/windowdriver.h"
#include "ui/nicecheckbox.h"
#include "ui/umydialog.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>

#include <QStyle>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QString kOddUser = QStringLiteral("a&b #+c");

class LoginWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        const QJsonObject accounts {
            { kOddUser,
                QJsonObject { { "password", "tajne" }, { "name", "Ala Nowak" }, { "city", "00-001 Warszawa" },
                    { "nip", "123-456" } } },
            { "piotr", QJsonObject { { "password", "p" }, { "blocked", "Konto zablokowane, zadzwoń do nas." } } },
        };
        ASSERT_TRUE(WriteFileBytes(server_.filePath("accounts.json"), QJsonDocument(accounts).toJson()));
        lab_ = std::make_unique<TDemoLab>(
            server_.path(), QStringList { "--no-ftp", "--user", "lab", "--password", "labpass" });
        ASSERT_TRUE(lab_->Started());
        f.engine.user = "lab";
        f.engine.pass = "labpass";
        f.engine.loginscript = lab_->Url("/login");
        window.elogin->clear();
        window.epass->clear();
        window.cbautologin->SetChecked(false);
        LogStore().Clear();
    }

    // Opens the window; inside, types user and password and presses "zaloguj" (unless press
    // is false); closes the window when it stayed open. The login when one succeeded.
    std::optional<TLogin> Login(const QString& user, const QString& password, bool remember, bool* stayed = nullptr)
    {
        OnNextModal([=, this](QWidget*) {
            window.elogin->setText(user);
            window.epass->setText(password);
            window.cbautologin->SetChecked(remember);
            window.GradientButton1Click();
            if (stayed)
                *stayed = window.isVisible();
            if (window.isVisible())
                window.reject();
        });
        return window.Login();
    }

    ScopedAppDir app_;
    TProjectFixture f;
    QTemporaryDir server_;
    std::unique_ptr<TDemoLab> lab_;
    Tflogin& window = flogin();
};

// The lab's pages open as web addresses also when written without a scheme.
TEST_F(LoginWindowTest, LinksOpenTheLabsPages)
{
    f.engine.www = "www.lab.example";
    f.engine.newuserpage = "lab.example/rejestracja.php";
    TUrlCatcher catcher;
    window.hlwwwClick();
    window.hlregisterClick();
    EXPECT_EQ(
        catcher.urls, (QList<QUrl> { QUrl("http://www.lab.example"), QUrl("http://lab.example/rejestracja.php") }));
}

TEST_F(LoginWindowTest, EmptyOrBlankNamesAreRefusedBeforeAnyRequest)
{
    const struct {
        const char* user;
        const char* password;
        const char16_t* warning;
    } cases[] = {
        { "", "tajne", u"Podaj nazwę użytkownika !" },
        { "   ", "tajne", u"Podaj nazwę użytkownika !" },
        { "jan", "", u"Podaj hasło !" },
        { " jan ", "  ", u"Podaj hasło !" },
    };
    for (const auto& c : cases) {
        TDialogAnswers answers { { kButtonOk } };
        bool stayed = false;
        EXPECT_FALSE(Login(c.user, c.password, false, &stayed));
        EXPECT_TRUE(stayed);
        ASSERT_EQ(answers.Shown().size(), 1);
        EXPECT_EQ(answers.Shown()[0].text, QString::fromUtf16(c.warning));
        EXPECT_EQ(window.elogin->text(), QString::fromUtf8(c.user).trimmed()) << "trimmed texts written back";
    }
    EXPECT_FALSE(lab_->Output().contains("LOGIN"));
    EXPECT_EQ(window.epass->echoMode(), QLineEdit::Password);
    EXPECT_EQ(window.epass->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, window.epass), '*');
}

TEST_F(LoginWindowTest, UserNameReachesTheScriptIntactAndTheAnswerIsKept)
{
    const std::optional<TLogin> login = Login(" " + kOddUser + " ", "tajne", false);
    ASSERT_TRUE(login);
    EXPECT_EQ(login->user, kOddUser);
    EXPECT_TRUE(login->answer.loggedIn);
    EXPECT_EQ(login->answer.customer.name, "Ala Nowak");
    EXPECT_EQ(login->answer.customer.city, "00-001 Warszawa");
    EXPECT_EQ(login->answer.customer.nip, "123-456");
    EXPECT_TRUE(lab_->WaitForOutput("LOGIN ok for 'a&b #+c'"));
    EXPECT_FALSE(lab_->Output().contains("tajne")) << "the password leaves only as its digest";
    EXPECT_TRUE(LogHasLine("Trying to login user \"" + kOddUser + "\" ...", 0));
    EXPECT_TRUE(LogHasLine(QStringLiteral("http successfull, parsing data ..."), 0));
    EXPECT_EQ(FileModeBits(app_.Path("login.net")), 0600) << "the answer holds personal data";
}

TEST_F(LoginWindowTest, RefusedLoginShowsTheScriptsMessageOrTheOwnOne)
{
    {
        TDialogAnswers answers { { kButtonOk } };
        bool stayed = false;
        EXPECT_FALSE(Login("piotr", "p", false, &stayed));
        EXPECT_TRUE(stayed) << "open for another try";
        ASSERT_EQ(answers.Shown().size(), 1);
        EXPECT_EQ(answers.Shown()[0].text, QStringLiteral("Konto zablokowane, zadzwoń do nas."));
        EXPECT_EQ(answers.Shown()[0].icon, diError);
    }
    {
        // An answer without "ok" and without a message: the login script of another lab.
        ASSERT_TRUE(WriteFileBytes(server_.filePath("silent"), "name=Someone\r\n"));
        f.engine.loginscript = lab_->Url("/silent");
        TDialogAnswers answers { { kButtonOk } };
        EXPECT_FALSE(Login("piotr", "p", false));
        ASSERT_EQ(answers.Shown().size(), 1);
        EXPECT_EQ(answers.Shown()[0].text, QStringLiteral("Podane login i hasło nie są prawidłowe !"));
    }
    {
        f.engine.loginscript = QStringLiteral("http://127.0.0.1:%1/login").arg(FreeLoopbackPort());
        TDialogAnswers answers { { kButtonOk } };
        EXPECT_FALSE(Login("piotr", "p", false));
        ASSERT_EQ(answers.Shown().size(), 1);
        EXPECT_EQ(answers.Shown()[0].text, QStringLiteral("Błąd połączenia z serwerem, spróbuj ponownie za chwilę"));
        EXPECT_TRUE(LogHasLine(QStringLiteral("http failed."), 3));
    }
}

TEST_F(LoginWindowTest, AutologinIsWrittenEvenWhenTheLoginFailsAndFillsTheNextShowing)
{
    {
        TDialogAnswers answers { { kButtonOk } };
        EXPECT_FALSE(Login(kOddUser, "wrong", true));
    }
    const QString file = app_.Path("mylogin.dat");
    ASSERT_TRUE(QFile::exists(file));
    EXPECT_EQ(FileModeBits(file), 0600);
    EXPECT_TRUE(LogHasLine(QStringLiteral("Saving autologin data ..."), 0));

    window.elogin->setText("someone else");
    window.epass->clear();
    window.cbautologin->SetChecked(false);
    QString shownUser, shownPassword;
    bool shownChecked = false;
    OnNextModal([&](QWidget*) {
        shownUser = window.elogin->text();
        shownPassword = window.epass->text();
        shownChecked = window.cbautologin->Checked();
        window.reject();
    });
    EXPECT_FALSE(window.Login());
    EXPECT_EQ(shownUser, kOddUser);
    EXPECT_EQ(shownPassword, "wrong");
    EXPECT_TRUE(shownChecked);
    EXPECT_TRUE(LogHasLine(QStringLiteral("Loading autologin data ..."), 0));

    EXPECT_TRUE(Login(kOddUser, "tajne", false)) << "unchecked: the file goes, the login still runs";
    EXPECT_FALSE(QFile::exists(file));
}

} // namespace

namespace {

TEST_F(LoginWindowTest, LoggedInFromTheKeyboardAlone)
{
    const TKeyboardVisit visit = VisitByKeyboard(&window, [&] { window.Login(); }, { Qt::Key_Escape });
    EXPECT_EQ(visit.focused, "elogin");
    EXPECT_EQ(visit.tabs,
        (QStringList { "epass", "cbautologin", "hlwww", "hlregister", "GradientButton1", "GradientButton2" }));
    EXPECT_TRUE(visit.closed) << "Escape cancels";

    std::optional<TLogin> login;
    OnNextModal([&](QWidget*) {
        QTest::keyClicks(window.elogin, kOddUser);
        PressKey(&window, Qt::Key_Tab);
        QTest::keyClicks(window.epass, "tajne");
        PressKey(&window, Qt::Key_Return); // "zaloguj"
        if (window.isVisible())
            window.reject();
    });
    login = window.Login();
    ASSERT_TRUE(login);
}

} // namespace
