// The program's one way to open a link: the normalised address goes to the desktop, and a link
// that cannot be opened is logged and shown in a warning with its address ready to copy.
#include "ui/openlink.h"

#include "core/log.h"
#include "tests/support/testsupport.h"
#include "tests/support/urlcatcher.h"
#include "ui/umydialog.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>

#include <gtest/gtest.h>

namespace {

TEST(OpenLink, OpensTheAddressAsAWebAddressWithoutAMessage)
{
    TUrlCatcher catcher;
    TDialogAnswers answers;
    EXPECT_TRUE(OpenLink("www.lab.pl"));
    EXPECT_TRUE(OpenLink("mailto:biuro@lab.pl"));
    EXPECT_FALSE(OpenLink("  ")) << "no address, nothing to open";
    EXPECT_EQ(catcher.urls, (QList<QUrl> { QUrl("http://www.lab.pl"), QUrl("mailto:biuro@lab.pl") }));
    EXPECT_TRUE(answers.Shown().isEmpty());
}

TEST(OpenLink, ALinkThatCannotOpenShowsItsAddressToCopyAndIsLogged)
{
    const struct {
        const char* address;
        QString message;
        QString shown; // in the field, and copied from it
        QString url;
    } cases[] = {
        { "www.lab.pl/zaplata?id=DL1&sign=ab",
            QStringLiteral("Nie udało się otworzyć strony w przeglądarce internetowej.\rSkopiuj jej adres i otwórz go "
                           "samodzielnie:"),
            "http://www.lab.pl/zaplata?id=DL1&sign=ab", "http://www.lab.pl/zaplata?id=DL1&sign=ab" },
        { "mailto:biuro@lab.pl",
            QStringLiteral("Nie udało się uruchomić programu pocztowego.\rSkopiuj adres e-mail i napisz wiadomość "
                           "samodzielnie:"),
            "biuro@lab.pl", "mailto:biuro@lab.pl" },
    };
    TUrlRefuser refuser;
    Tfdialog& dialog = fdialog();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.address);
        TDialogAnswers answers { { kButtonOk } };
        bool fieldShown = false;
        bool readOnly = false;
        bool textAboveField = false;
        QString copied;
        answers.SetObserver([&](Tfdialog& shown) {
            fieldShown = shown.eaddress->isVisibleTo(&shown);
            readOnly = shown.eaddress->isReadOnly();
            textAboveField = shown.Label1->geometry().bottom() < shown.eaddress->geometry().top();
            QApplication::clipboard()->clear();
            shown.eaddress->selectAll();
            shown.eaddress->copy();
            copied = QApplication::clipboard()->text();
        });
        EXPECT_FALSE(OpenLink(QString::fromUtf8(c.address)));
        ASSERT_EQ(answers.Shown().size(), 1);
        EXPECT_EQ(answers.Shown()[0].text, c.message);
        EXPECT_EQ(answers.Shown()[0].icon, diExclamation);
        EXPECT_EQ(answers.Shown()[0].address, c.shown);
        EXPECT_TRUE(fieldShown);
        EXPECT_TRUE(readOnly);
        EXPECT_TRUE(textAboveField);
        EXPECT_EQ(copied, c.shown);
        EXPECT_TRUE(LogHasLine("Could not open the link " + c.url + ": no program to open it", 3));
    }
    // The next message is the text alone again.
    TDialogAnswers answers { { kButtonOk } };
    dialog.Warning(QStringLiteral("Zwykły komunikat"));
    EXPECT_EQ(answers.Shown()[0].address, QString());
    EXPECT_FALSE(dialog.eaddress->isVisibleTo(&dialog));
    EXPECT_EQ(dialog.Label1->geometry(), QRect(80, 16, 313, 82));
}

} // namespace
