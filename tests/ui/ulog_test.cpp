#include "ui/ulog.h"

#include "core/log.h"

#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

void Command(Tflog& window, const QString& text)
{
    window.Edit1->setText(text);
    QTest::keyClick(window.Edit1, Qt::Key_Return);
}

} // namespace

TEST(Tflog, CommandBox)
{
    LogStore().Clear();
    Tflog window;
    Command(window, "flag_dontsend 1");
    EXPECT_TRUE(DontSend());
    EXPECT_EQ(LogStore().Lines().back(), "flag_dontsend is now 1");
    EXPECT_TRUE(window.Edit1->text().isEmpty());
    Command(window, "FLAG_DONTSEND");
    EXPECT_FALSE(DontSend());
    EXPECT_EQ(LogStore().Lines().back(), "flag_dontsend is now 0");
    Command(window, "hello");
    EXPECT_EQ(LogStore().Lines().back(), "unknown command: \"hello\" 1");
    EXPECT_EQ(LogStore().Levels().Get(LogStore().Levels().Count() - 1), 3);

    for (const char* crash : { "crash", "CRASH" }) {
        window.Edit1->setText(crash);
        try {
            window.Edit1KeyPress();
            FAIL() << crash;
        } catch (const std::exception& e) {
            EXPECT_STREQ(e.what(), "LOG-CRASH");
        }
    }
    LogStore().Clear();
}

TEST(Tflog, HiddenWindowShowsEveryLineWhenOpened)
{
    LogStore().Clear();
    Tflog window;
    Log("one");
    Log("two");
    EXPECT_EQ(window.lblog->count(), 0);
    window.show();
    EXPECT_EQ(window.lblog->count(), 2);
    Log("three");
    EXPECT_EQ(window.lblog->count(), 3);
    window.hide();
    LogStore().Clear();
}
