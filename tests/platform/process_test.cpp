#include "platform/appdir.h"
#include "platform/process.h"

#include "tests/support/testsupport.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QUuid>
#include <gtest/gtest.h>

#include <sys/stat.h>

TEST(Process, HasSwitch)
{
    const QStringList args { "/opt/vendaro/-log", "-savelog", "-NoSkin" };
    EXPECT_TRUE(HasSwitch(args, "-savelog"));
    EXPECT_TRUE(HasSwitch(args, "-noskin"));
    EXPECT_FALSE(HasSwitch(args, "-noskin", false));
    EXPECT_FALSE(HasSwitch(args, "-log")); // the program name is not an argument
    EXPECT_FALSE(HasSwitch("-definitely-not-given"));
}

TEST(Process, VersionString)
{
    const QString expected = QStringLiteral("%1.%2.%3  (Build %4)")
                                 .arg(VENDARO_VERSION_MAJOR)
                                 .arg(VENDARO_VERSION_MINOR)
                                 .arg(VENDARO_VERSION_PATCH)
                                 .arg(VENDARO_BUILD_NUMBER);
    EXPECT_EQ(VersionString(ExecutablePath(), "Build "), expected);
    EXPECT_EQ(VersionString(ExecutablePath(), ""),
        expected.left(expected.indexOf('(') + 1) + QString::number(VENDARO_BUILD_NUMBER) + ")");
    EXPECT_EQ(VersionString(QStringLiteral(VENDARO_SOURCE_DIR "/CMakeLists.txt"), ""), "0.0.0  (0)");
    EXPECT_EQ(VersionString("/no/such/file", ""), "");
}

namespace {

// Probes the lock as a user whose runtime folder is runtimeDir (the test's own by default).
QString Probe(const QString& key, const QString& runtimeDir = {})
{
    QProcess child;
    if (!runtimeDir.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_RUNTIME_DIR", runtimeDir);
        child.setProcessEnvironment(environment);
    }
    child.start(QStringLiteral(INSTANCE_CHILD), { key });
    child.waitForFinished(30000);
    return QString::fromLatin1(child.readAllStandardOutput()).trimmed();
}

} // namespace

TEST(Process, SingleInstanceLockAcrossProcesses)
{
    QTemporaryDir runtime, otherUser;
    const ScopedEnv runtimeSet("XDG_RUNTIME_DIR", runtime.path());
    const QString key = "/opt/vendaro-test/" + QUuid::createUuid().toString();
    EXPECT_EQ(Probe(key), "alone");

    QProcess holder;
    holder.start(QStringLiteral(INSTANCE_CHILD), { key, "hold" });
    ASSERT_TRUE(holder.waitForReadyRead(30000));
    EXPECT_EQ(QString::fromLatin1(holder.readLine()).trimmed(), "alone");
    EXPECT_EQ(Probe(key), "running");
    EXPECT_EQ(Probe(key + "/other"), "alone"); // another executable path
    EXPECT_EQ(Probe(key, otherUser.path()), "alone"); // another user's program never blocks this one
    EXPECT_EQ(QDir(runtime.filePath("vendaro")).entryList({ "instance-*.lock" }, QDir::Files).size(), 1);

    holder.kill(); // a crashed instance leaves its lock file behind
    holder.waitForFinished(30000);
    EXPECT_EQ(Probe(key), "alone");

    EXPECT_FALSE(AnotherInstanceRunning(key + "/in-process"));
    EXPECT_FALSE(AnotherInstanceRunning(key + "/in-process")); // this process holds it already
    EXPECT_EQ(Probe(key + "/in-process"), "running");
}

// Without a runtime folder the lock goes to the user's own cache folder, which only the user
// may enter.
TEST(Process, SingleInstanceLockWithoutARuntimeFolder)
{
    QTemporaryDir cache;
    const ScopedEnv runtimeUnset("XDG_RUNTIME_DIR", nullptr);
    const ScopedEnv cacheSet("XDG_CACHE_HOME", cache.path());
    const QString key = "/opt/vendaro-test/" + QUuid::createUuid().toString();
    EXPECT_FALSE(AnotherInstanceRunning(key));
    EXPECT_EQ(Probe(key), "running");
    const QString folder = cache.filePath("vendaro");
    EXPECT_EQ(QDir(folder).entryList({ "instance-*.lock" }, QDir::Files).size(), 1);
    struct stat info { };
    ASSERT_EQ(::stat(QFile::encodeName(folder).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
}
