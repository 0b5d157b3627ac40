#include "ui/gradientprogressbar.h"
#include "ui/upleasewait.h"

#include <QLabel>
#include <QWidget>

#include <gtest/gtest.h>

TEST(Tfwait, DisablesTheOtherWindowsAndEnablesExactlyThoseAgain)
{
    QWidget owner, other, alreadyDisabled, hidden;
    owner.show();
    other.show();
    alreadyDisabled.show();
    alreadyDisabled.setEnabled(false);

    Tfwait& wait = fwait();
    wait.ShowWait(&owner, true);
    EXPECT_TRUE(wait.isVisible());
    EXPECT_TRUE(owner.isEnabled());
    EXPECT_FALSE(other.isEnabled());
    EXPECT_TRUE(hidden.isEnabled());
    EXPECT_TRUE(wait.isEnabled());

    wait.close();
    EXPECT_TRUE(other.isEnabled());
    EXPECT_FALSE(alreadyDisabled.isEnabled());
}

TEST(Tfwait, BarStartsAtZeroAndTheLabelTakesItsRoomWhenHidden)
{
    QWidget owner;
    owner.show();
    Tfwait& wait = fwait();
    wait.pb->SetPosition(70);
    wait.ShowWait(&owner, true);
    EXPECT_EQ(wait.pb->Position(), 0);
    EXPECT_TRUE(wait.pb->isVisible());
    EXPECT_EQ(wait.Label1->height(), 89 - 8 - 18);
    EXPECT_EQ(wait.pb->ShownCaption(), QStringLiteral("0 %"));
    wait.close();

    wait.ShowWait(&owner, false);
    EXPECT_FALSE(wait.pb->isVisible());
    EXPECT_EQ(wait.Label1->height(), 81);
    EXPECT_EQ(wait.Label1->text(), QStringLiteral("Proszę czekać ..."));
    wait.close();
}
