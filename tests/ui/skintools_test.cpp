#include "tests/support/testsupport.h"
#include "ui/skinner.h"

#include <QDir>
#include <QImage>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

struct LabRun {
    int exitCode = -1;
    QString out;
    QString err;
};

LabRun Lab(const QStringList& args)
{
    QProcess lab;
    lab.start(QStringLiteral(VENDARO_LAB), args);
    lab.waitForFinished(30000);
    return { lab.exitStatus() == QProcess::NormalExit ? lab.exitCode() : -1,
        QString::fromUtf8(lab.readAllStandardOutput()), QString::fromUtf8(lab.readAllStandardError()) };
}

void ExpectOneLineError(const LabRun& run)
{
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_TRUE(run.err.startsWith(QLatin1String("vendaro-lab: "))) << run.err.toStdString();
    EXPECT_EQ(run.err.count(u'\n'), 1) << run.err.toStdString();
}

} // namespace

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
    ExpectOneLineError(Lab({ QStringLiteral("skin-info"), dir.Path(QStringLiteral("damaged.vdskin")) }));
    ExpectOneLineError(Lab({ QStringLiteral("skin-info"), dir.Path(QStringLiteral("missing.vdskin")) }));
    ExpectOneLineError(Lab({ QStringLiteral("skin-info") }));
    ExpectOneLineError(
        Lab({ QStringLiteral("make-skin"), dir.Path(QStringLiteral("bad")), dir.Path(QStringLiteral("bad.vdskin")) }));
    EXPECT_FALSE(QFile::exists(dir.Path(QStringLiteral("bad.vdskin"))));
    ExpectOneLineError(
        Lab({ QStringLiteral("make-skin"), dir.Path(QStringLiteral("none")), dir.Path(QStringLiteral("x")) }));
}
