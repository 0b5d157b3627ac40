#include "skin/skinner.h"
#include "tests/support/testsupport.h"
#include "tests/tools/labrun.h"

#include <QDir>
#include <QImage>

#include <gtest/gtest.h>

TEST(SkinTools, MakeSkinThenSkinInfo)
{
    ScopedAppDir dir;
    const QString source = dir.Path(QStringLiteral("niebieska"));
    ASSERT_TRUE(WriteFileBytes(source + QStringLiteral("/colors.txt"), "background=10,20,30\nhot=ff,,\n"));
    QDir().mkpath(source + QStringLiteral("/images"));
    QImage image(7, 5, QImage::Format_RGB32);
    image.fill(Qt::gray);
    ASSERT_TRUE(image.save(source + QStringLiteral("/images/ISplash.png")));
    const QString skin = dir.Path(QStringLiteral("niebieska.vdskin"));

    const LabRun made = Lab({ QStringLiteral("make-skin"), source, skin });
    ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
    TSkinner skinner;
    EXPECT_TRUE(skinner.LoadFromFile(skin));

    const LabRun info = Lab({ QStringLiteral("skin-info"), skin });
    ASSERT_EQ(info.exitCode, 0) << info.err.toStdString();
    const QStringList lines = info.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2 + 10 + 1 + 2);
    EXPECT_EQ(lines[0], QStringLiteral("file: VD: SkinFilev1"));
    EXPECT_EQ(lines[1], QStringLiteral("colours: VD: ColorSchemeFilev2, scheme \"niebieska\""));
    EXPECT_EQ(lines[2], QStringLiteral("background=10,20,30"));
    EXPECT_EQ(lines[3], QStringLiteral("color=240,240,240")); // missing: button face
    EXPECT_EQ(lines[9], QStringLiteral("hot=255,0,0"));
    EXPECT_EQ(lines[12], QStringLiteral("icons (opaque): 0"));
    EXPECT_EQ(lines[13], QStringLiteral("images: 1"));
    EXPECT_EQ(lines[14], QStringLiteral("  isplash 7x5"));
}

TEST(SkinTools, MistakesEndWithOneLine)
{
    ScopedAppDir dir;
    ASSERT_TRUE(WriteFileBytes(dir.Path(QStringLiteral("damaged.vdskin")), QByteArray("\x0e\0\0\0VD: SkinFilev1", 18)));
    ASSERT_TRUE(WriteFileBytes(dir.Path(QStringLiteral("bad/colors.txt")), "text=1,2\n"));
    const struct {
        const char* what;
        QStringList args;
    } cases[] = {
        { "damaged skin", { QStringLiteral("skin-info"), dir.Path(QStringLiteral("damaged.vdskin")) } },
        { "missing skin", { QStringLiteral("skin-info"), dir.Path(QStringLiteral("missing.vdskin")) } },
        { "no file named", { QStringLiteral("skin-info") } },
        { "bad colour",
            { QStringLiteral("make-skin"), dir.Path(QStringLiteral("bad")), dir.Path(QStringLiteral("bad.vdskin")) } },
        { "no source folder",
            { QStringLiteral("make-skin"), dir.Path(QStringLiteral("none")), dir.Path(QStringLiteral("x")) } },
    };
    for (const auto& c : cases)
        ExpectOneLineError(Lab(c.args), QLatin1String(c.what));
    EXPECT_FALSE(QFile::exists(dir.Path(QStringLiteral("bad.vdskin"))));
}
