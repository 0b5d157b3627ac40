// The Debian package as a customer gets it: the lab's kit packaged into it, unpacked into a
// temporary root that nobody may write, and started from there against the demo lab.
#include "tests/support/demokit.h"
#include "tests/support/testsupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

namespace {

// Runs a command to its end; its error output when it fails.
QString RunTool(const QString& program, const QStringList& args)
{
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return program + ": "
            + QString::fromLocal8Bit(process.readAllStandardError() + process.readAllStandardOutput());
    return {};
}

QString NewestProgramPackage()
{
    const QFileInfoList debs
        = QDir(QStringLiteral(VENDARO_PACKAGE_DIR)).entryInfoList({ "vendaro_*.deb" }, QDir::Files, QDir::Time);
    return debs.isEmpty() ? QString() : debs.front().filePath();
}

void WritePhoto(const QString& path, QColor color)
{
    QDir().mkpath(QFileInfo(path).path());
    QImage photo(120, 80, QImage::Format_RGB32);
    photo.fill(color);
    ASSERT_TRUE(photo.save(path)) << path.toStdString();
}

// True once each named photo has its working copies in the user's cache (waits up to 60 s).
bool WaitForWorkingCopies(const QString& cache, const QStringList& names)
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        QStringList found;
        for (const QString& folder : QDir(cache).entryList({ "VDTMP.*" }, QDir::Dirs))
            found += QDir(cache + u'/' + folder).entryList({ "prev_*.sbm" }, QDir::Files);
        if (std::all_of(names.begin(), names.end(),
                [&](const QString& name) { return found.contains("prev_" + name + ".sbm"); }))
            return true;
        if (clock.elapsed() > 60000)
            return false;
        QThread::msleep(50);
    }
}

TEST(Install, PackagedKitRunsReadOnlyOpensGivenPhotosAndTakesThoseOfALaterLaunch)
{
    TKit kit;
    ASSERT_TRUE(kit.Made());
    QTemporaryDir dir;
    const QString program = NewestProgramPackage();
    ASSERT_FALSE(program.isEmpty()) << "no package in " VENDARO_PACKAGE_DIR;
    const QString labPackage = dir.filePath("fotolab-demo.deb");
    ASSERT_EQ(RunTool(VENDARO_LAB, { "package", kit.Root(), program, labPackage }), QString());
    const QString root = dir.filePath("root");
    ASSERT_EQ(RunTool("dpkg-deb", { "-x", labPackage, root }), QString());

    // The layout: the program folder with the lab's kit, the launcher and the desktop's files.
    for (const char* file : { "opt/vendaro/vendaro", "opt/vendaro/libjfxlib.so", "opt/vendaro/config/engine.ini",
             "opt/vendaro/tips.ini", "opt/vendaro/skins/grafit.vdskin", "usr/share/applications/vendaro.desktop",
             "usr/share/icons/hicolor/16x16/apps/vendaro.png", "usr/share/icons/hicolor/256x256/apps/vendaro.png",
             "usr/share/icons/hicolor/scalable/apps/vendaro.svg", "usr/share/mime/packages/vendaro.xml" })
        EXPECT_TRUE(QFileInfo(root + u'/' + file).isFile()) << file;
    EXPECT_EQ(QImage(root + "/usr/share/icons/hicolor/48x48/apps/vendaro.png").size(), QSize(48, 48));
    EXPECT_EQ(QFileInfo(root + "/usr/bin/vendaro").symLinkTarget(), "/opt/vendaro/vendaro");
    EXPECT_FALSE(QFileInfo::exists(root + "/opt/vendaro/config/config.ini"));
    const QByteArray desktop = ReadFileBytes(root + "/usr/share/applications/vendaro.desktop");
    EXPECT_TRUE(desktop.contains("\nExec=/opt/vendaro/vendaro %F\n")) << desktop.toStdString();
    EXPECT_TRUE(desktop.contains("image/jpeg;")) << desktop.toStdString();
    EXPECT_TRUE(desktop.contains("image/heic;")) << desktop.toStdString();
    EXPECT_EQ(RunTool("dpkg-deb", { "--info", labPackage }), QString());

    const QString photos = dir.filePath("photos");
    WritePhoto(photos + "/a.jpg", Qt::red);
    WritePhoto(photos + "/album/c.jpg", Qt::green);
    WritePhoto(photos + "/album/d.png", Qt::blue);
    WritePhoto(photos + "/later/e.jpg", Qt::yellow);
    // The customer's own files: no tip of the day, the news already seen.
    const QString data = dir.filePath("data");
    const QString userFolder = data + "/vendaro/Fotolab Demo";
    ASSERT_TRUE(WriteFileBytes(userFolder + "/config/config.ini", "[flags]\r\nfShowTip=0\r\n"));
    ASSERT_TRUE(WriteFileBytes(userFolder + "/newsid.txt", "1"));

    SetTreeWritable(root, false);
    const auto restore = qScopeGuard([&] { SetTreeWritable(root, true); });
    const QStringList before = Snapshot(root);
    ASSERT_TRUE(kit.Serve());

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("VENDARO_APPDIR");
    environment.remove("XDG_RUNTIME_DIR");
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("TEMP", kit.Temp());
    environment.insert("XDG_DATA_HOME", data);
    environment.insert("XDG_CACHE_HOME", dir.filePath("cache"));
    const QString exe = root + "/opt/vendaro/vendaro";
    QProcess first;
    first.setProcessEnvironment(environment);
    first.setProcessChannelMode(QProcess::MergedChannels);
    first.setWorkingDirectory(photos);
    first.start(exe, { "-savelog", "a.jpg", photos + "/album" });
    ASSERT_TRUE(first.waitForStarted());
    const auto stop = qScopeGuard([&] {
        if (first.state() != QProcess::NotRunning) {
            first.kill();
            first.waitForFinished();
        }
    });
    const QString cache = dir.filePath("cache/vendaro");
    ASSERT_TRUE(WaitForWorkingCopies(cache, { "a", "c", "d" })) << first.readAll().toStdString();

    // A second launch with a photo hands it over and ends.
    QProcess second;
    second.setProcessEnvironment(environment);
    second.start(exe, { photos + "/later/e.jpg" });
    ASSERT_TRUE(second.waitForFinished(30000));
    EXPECT_EQ(second.exitCode(), 0);
    // Handed-over photos wait until the adding of the first ones has ended.
    ASSERT_TRUE(WaitForWorkingCopies(cache, { "e" })) << first.readAll().toStdString();

    ::kill(pid_t(first.processId()), SIGTERM);
    ASSERT_TRUE(first.waitForFinished(20000));
    EXPECT_EQ(first.exitCode(), 0);
    const QStringList logs = QDir(userFolder).entryList({ "session_log*.txt" }, QDir::Files);
    ASSERT_EQ(logs.size(), 1);
    const QByteArray session = ReadFileBytes(userFolder + u'/' + logs.front());
    EXPECT_TRUE(session.contains("Opened 2 paths; 3 photos in the project.")) << session.toStdString();
    EXPECT_TRUE(session.contains("Another launch handed over 1 paths.")) << session.toStdString();
    EXPECT_EQ(Snapshot(root), before);
}

} // namespace
