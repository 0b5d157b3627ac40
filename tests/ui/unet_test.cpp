#include "ui/unet.h"

#include "net/quietget.h"
#include "tests/support/demolab.h"
#include "tests/support/testsupport.h"
#include "ui/gradientprogressbar.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

TEST(Tfnet, DisablesTheOtherWindowsExceptItsOwnerUntilItCloses)
{
    QWidget owner, other, alreadyDisabled, hidden;
    for (QWidget* window : { &owner, &other, &alreadyDisabled })
        window->show();
    alreadyDisabled.setEnabled(false);

    fnet().ShowProgress(&owner, true, true);
    EXPECT_TRUE(fnet().isVisible());
    EXPECT_TRUE(owner.isEnabled());
    EXPECT_FALSE(other.isEnabled());
    EXPECT_TRUE(hidden.isEnabled());
    EXPECT_TRUE(fnet().pb->isVisible());
    EXPECT_EQ(fnet().pb->Position(), 0);

    fnet().close();
    EXPECT_TRUE(other.isEnabled());
    EXPECT_FALSE(alreadyDisabled.isEnabled());
}

TEST(Tfnet, WorkEventsMoveTheBarOnlyWhenFollowed)
{
    fnet().ShowProgress(nullptr, true, false);
    fnet().pb->SetMax(100);
    fnet().pb->SetPosition(30); // a caller that drives the bar itself
    fnet().httpWorkBegin(5000);
    fnet().httpWork(2500);
    EXPECT_EQ(fnet().pb->Max(), 100);
    EXPECT_EQ(fnet().pb->Position(), 30);

    fnet().ShowProgress(nullptr, true, true);
    fnet().httpWorkBegin(5000);
    fnet().httpWork(2500);
    EXPECT_EQ(fnet().pb->Max(), 5000);
    EXPECT_EQ(fnet().pb->Position(), 2500);
    fnet().httpWorkEnd();
    EXPECT_EQ(fnet().pb->Max(), 100);

    fnet().ShowProgress(nullptr, false, true); // no bar: nothing to follow
    EXPECT_FALSE(fnet().pb->isVisible());
    fnet().httpWorkBegin(7000);
    EXPECT_EQ(fnet().pb->Max(), 100);
    fnet().close();
}

TEST(Tfnet, EscapeCancelsTheTransfer)
{
    QTemporaryDir www;
    WriteFileBytes(www.filePath("slow.txt"), "late");
    TDemoLab lab(www.path(), { "--no-ftp", "--user", "u", "--password", "p", "--delay", "5000" });
    ASSERT_TRUE(lab.Started());
    ScopedAppDir app;
    fnet().ShowProgress(nullptr, true, true);
    QTimer::singleShot(200, [] { QTest::keyClick(&fnet(), Qt::Key_Escape); });
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(QuietGetHTTP(lab.Url("/slow.txt"), app.Path("slow.txt")));
    EXPECT_LT(clock.elapsed(), 3000);
    EXPECT_TRUE(LogHasLine(QStringLiteral("Transfer failed: ECancelled:Transfer cancelled"), 3));
    fnet().close();
}

} // namespace
