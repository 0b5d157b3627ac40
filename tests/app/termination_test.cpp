// SIGTERM sent to a running vendaro: the normal shut-down runs and nothing is asked.
#include "tests/support/demokit.h"
#include "tests/support/testsupport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>

namespace {

class TerminationTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(kit_.Made());
        // No tip and no news window: nothing modal stands between start-up and the main window.
        WriteFileBytes(Program("config/config.ini"), "[flags]\r\nfShowTip=0\r\n");
        WriteFileBytes(Program("newsid.txt"), "1");
    }
    QString Program(const QString& name = {}) const { return kit_.Program(name); }

    void Start(const QStringList& switches) { Start(vendaro_, switches); }
    void Start(QProcess& vendaro, const QStringList& switches)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("VENDARO_APPDIR", Program());
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("TEMP", kit_.Temp());
        environment.insert("XDG_CACHE_HOME", kit_.Temp() + "/cache"); // project folders and the instance lock
        environment.remove("XDG_RUNTIME_DIR");
        vendaro.setProcessEnvironment(environment);
        vendaro.setProcessChannelMode(QProcess::MergedChannels);
        vendaro.start(QStringLiteral(VENDARO_EXE), switches);
        ASSERT_TRUE(vendaro.waitForStarted());
    }
    // Sends SIGTERM and returns the milliseconds the program took to end (-1: it did not).
    qint64 Terminate() { return Terminate(vendaro_); }
    static qint64 Terminate(QProcess& vendaro)
    {
        QElapsedTimer clock;
        clock.start();
        ::kill(pid_t(vendaro.processId()), SIGTERM);
        if (!vendaro.waitForFinished(10000)) {
            vendaro.kill();
            return -1;
        }
        return clock.elapsed();
    }
    // The program tells how far it got only in the session log it saves as it ends. Each try
    // starts it, waits for its request of fetch, lets it run a little longer than the try before
    // and terminates it, until the saved log holds reachedLine (or the tries run out).
    QByteArray SessionLogOnceReached(
        TDemoLab& lab, const QString& fetch, const QStringList& switches, const QByteArray& reachedLine)
    {
        QByteArray session;
        for (int attempt = 1, pauseMs = 250; pauseMs <= 8000 && !session.contains(reachedLine);
             ++attempt, pauseMs *= 2) {
            for (const QString& log : kit_.ProgramFiles("session_log*.txt"))
                QFile::remove(Program(log));
            Start(switches);
            if (!lab.WaitForOutput(fetch, 20000, attempt))
                return {};
            QThread::msleep(pauseMs);
            if (Terminate() < 0)
                return {};
            const QStringList logs = kit_.ProgramFiles("session_log*.txt");
            session = logs.isEmpty() ? QByteArray() : ReadFileBytes(Program(logs.front()));
        }
        return session;
    }
    TKit kit_;
    QProcess vendaro_;
};

TEST_F(TerminationTest, MainWindowShutsDownNormally)
{
    ASSERT_TRUE(kit_.Serve());
    TDemoLab& lab = kit_.Lab();
    const QByteArray session
        = SessionLogOnceReached(lab, "GET /seeds/newsid.txt", { "-savelog" }, "[i]: Shutting down ...");
    EXPECT_EQ(vendaro_.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(vendaro_.exitCode(), 0);
    EXPECT_TRUE(session.contains("[i]: Shutting down ...")) << session.toStdString();
    EXPECT_TRUE(session.endsWith("[ ]: Deinitializing core ...\r\n"));
    EXPECT_TRUE(QFile::exists(Program("config/config.ini")));
    for (const char* name : { "engine_settmp.ini", "formatsTMP.txt", "shopsTMP.txt", "nnid.txt", "npid.txt" })
        EXPECT_FALSE(QFile::exists(Program(QString::fromLatin1(name)))) << name;
}

TEST_F(TerminationTest, WaitingStartUpEndsAtOnce)
{
    ASSERT_TRUE(kit_.Serve({ "--delay", "/formats.txt=20000" }));
    TDemoLab& lab = kit_.Lab();
    Start({});
    // The formats request has arrived and the lab holds its answer back: start-up is waiting.
    ASSERT_TRUE(lab.WaitForOutput("HOLD /formats.txt", 20000)) << lab.Output().toStdString();
    const qint64 took = Terminate();
    ASSERT_GE(took, 0);
    EXPECT_LT(took, 5000);
    EXPECT_EQ(vendaro_.exitCode(), 0);
    EXPECT_TRUE(kit_.ProgramFiles("error_log*.txt").isEmpty());
    EXPECT_FALSE(QFile::exists(Program("engine_settmp.ini")));
    EXPECT_FALSE(QFile::exists(Program("npid.txt")));
}

// A second start finds the first one running: it says so and fetches nothing. It is given three
// times what the first one needed to reach its first fetch, and must not fetch in that time.
TEST_F(TerminationTest, SecondInstanceStopsBeforeTheCore)
{
    ASSERT_TRUE(kit_.Serve());
    TDemoLab& lab = kit_.Lab();
    QElapsedTimer clock;
    clock.start();
    Start({});
    ASSERT_TRUE(lab.WaitForOutput("GET /engine_set.ini", 20000)) << lab.Output().toStdString();
    const qint64 firstFetchMs = clock.elapsed();
    ASSERT_TRUE(lab.WaitForOutput("GET /seeds/newsid.txt", 20000)) << lab.Output().toStdString();
    QProcess second;
    Start(second, {});
    EXPECT_FALSE(lab.WaitForOutput("GET /engine_set.ini", int(std::max<qint64>(3 * firstFetchMs, 1000)), 2));
    EXPECT_GE(Terminate(second), 0);
    EXPECT_TRUE(kit_.ProgramFiles("error_log*.txt").isEmpty());
    EXPECT_GE(Terminate(), 0);
}

} // namespace
