// Where the file dialogs open: the remembered folder, else the pictures folder, else home,
// never the working folder; the configuration carries the choice to the next run.
#include "core/dialogfolders.h"

#include "core/core.h"

#include "tests/support/testsupport.h"

#include <QDir>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A home of its own, with the XDG user folders read from it.
struct DialogFolders : ::testing::Test {
    QTemporaryDir home;
    ScopedEnv homeEnv { "HOME", home.path() };
    ScopedEnv configEnv { "XDG_CONFIG_HOME", home.filePath(QStringLiteral(".config")) };
    ScopedAppDir app;
    QString Made(const QString& relative)
    {
        EXPECT_TRUE(QDir(home.path()).mkpath(relative));
        return QDir::cleanPath(home.filePath(relative));
    }
};

} // namespace

TEST_F(DialogFolders, FirstThePicturesFolderElseHomeNeverTheWorkingFolder)
{
    const QString working = Made(QStringLiteral("program"));
    const auto back = qScopeGuard([before = QDir::currentPath()] { QDir::setCurrent(before); });
    ASSERT_TRUE(QDir::setCurrent(working));
    TConfig config;
    EXPECT_EQ(DialogStartFolder(&config, TDialogPurpose::AddPhotos), QDir::cleanPath(home.path()));
    EXPECT_EQ(DialogStartFolder(nullptr, TDialogPurpose::SaveFolder), QDir::cleanPath(home.path()));

    const QString pictures = Made(QStringLiteral("Pictures"));
    EXPECT_EQ(DialogStartFolder(&config, TDialogPurpose::AddPhotos), pictures);
    // The desktop's own name for it, as xdg-user-dirs writes it.
    const QString obrazy = Made(QStringLiteral("Obrazy"));
    ASSERT_TRUE(
        WriteFileBytes(home.filePath(QStringLiteral(".config/user-dirs.dirs")), "XDG_PICTURES_DIR=\"$HOME/Obrazy\"\n"));
    EXPECT_EQ(DialogStartFolder(&config, TDialogPurpose::AccountFiles), obrazy);

    // Neither a relative folder (the working folder's) nor one that has gone is used.
    config.photofolder = QStringLiteral("program");
    EXPECT_EQ(DialogStartFolder(&config, TDialogPurpose::AddPhotos), obrazy);
    config.photofolder = home.filePath(QStringLiteral("gone"));
    EXPECT_EQ(DialogStartFolder(&config, TDialogPurpose::AddPhotos), obrazy);
}

TEST_F(DialogFolders, EachPurposeRemembersItsFolderAcrossRuns)
{
    const QString holiday = Made(QStringLiteral("Zdjęcia/wakacje"));
    const QString downloads = Made(QStringLiteral("pobrane"));
    const QString prints = Made(QStringLiteral("odbitki"));
    ASSERT_TRUE(WriteFileBytes(holiday + "/IMG_1.jpg", "x"));
    {
        TConfig config;
        RememberDialogFolder(&config, TDialogPurpose::AddPhotos, holiday + "/IMG_1.jpg"); // a file: its folder
        RememberDialogFolder(&config, TDialogPurpose::AccountFiles, downloads + "/");
        RememberDialogFolder(&config, TDialogPurpose::SaveFolder, prints);
        RememberDialogFolder(&config, TDialogPurpose::SaveFolder, QString()); // cancelled: kept
        RememberDialogFolder(nullptr, TDialogPurpose::SaveFolder, holiday); // no configuration: nothing
        ASSERT_TRUE(config.Save());
    }
    TConfig next;
    next.Load();
    EXPECT_EQ(DialogStartFolder(&next, TDialogPurpose::AddPhotos), holiday);
    EXPECT_EQ(DialogStartFolder(&next, TDialogPurpose::AccountFiles), downloads);
    EXPECT_EQ(DialogStartFolder(&next, TDialogPurpose::SaveFolder), prints);
}
