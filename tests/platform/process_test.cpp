#include "platform/appdir.h"
#include "platform/process.h"

#include "tests/support/testsupport.h"

#include <QProcess>
#include <QUuid>
#include <gtest/gtest.h>

TEST(Process, HasSwitch)
{
    const QStringList args{"/opt/vendaro/-log", "-savelog", "-NoSkin"};
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

QString Probe(const QString& key)
{
    QProcess child;
    child.start(QStringLiteral(INSTANCE_CHILD), {key});
    child.waitForFinished(30000);
    return QString::fromLatin1(child.readAllStandardOutput()).trimmed();
}

} // namespace

TEST(Process, SingleInstanceLockAcrossProcesses)
{
    const QString key = "/opt/vendaro-test/" + QUuid::createUuid().toString();
    EXPECT_EQ(Probe(key), "alone");

    QProcess holder;
    holder.start(QStringLiteral(INSTANCE_CHILD), {key, "hold"});
    ASSERT_TRUE(holder.waitForReadyRead(30000));
    EXPECT_EQ(QString::fromLatin1(holder.readLine()).trimmed(), "alone");
    EXPECT_EQ(Probe(key), "running");
    EXPECT_EQ(Probe(key + "/other"), "alone"); // another executable path

    holder.kill(); // a crashed instance leaves its lock file behind
    holder.waitForFinished(30000);
    EXPECT_EQ(Probe(key), "alone");

    EXPECT_FALSE(AnotherInstanceRunning(key + "/in-process"));
    EXPECT_FALSE(AnotherInstanceRunning(key + "/in-process")); // this process holds it already
    EXPECT_EQ(Probe(key + "/in-process"), "running");
}
