#include "core/log.h"

#include "tests/support/testsupport.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QRegularExpression>
#include <QThread>
#include <gtest/gtest.h>

#include <thread>
#include <vector>

TEST(Log, SavedFilesCarryNamePrefixesAndCrLf)
{
    ScopedAppDir app;
    LogStore().Clear();
    Log("Starting ...", 1);
    Log("progress");
    Log("odd value", 2);
    Log(QStringLiteral(u"błąd"), 3);

    const QString error = SaveErrorLog();
    EXPECT_EQ(QFileInfo(error).absolutePath(), app.Path());
    EXPECT_TRUE(QRegularExpression("^error_log\\d{4}-\\d\\d-\\d\\d \\d\\d-\\d\\d-\\d\\d\\.txt$")
                    .match(QFileInfo(error).fileName())
                    .hasMatch())
        << error.toStdString();
    EXPECT_EQ(ReadFileBytes(error),
        QByteArray("[i]: Starting ...\r\n[ ]: progress\r\n[w]: odd value\r\n[!]: b\xB3\xB9\x64\r\n"));

    const QString session = SaveSessionLog();
    EXPECT_TRUE(QFileInfo(session).fileName().startsWith("session_log"));
    LogStore().Clear();
}

// Lines from worker threads reach the store (and its listener) on the application's thread, each
// worker's lines in the order written.
TEST(Log, WorkerLinesArriveOnTheApplicationThread)
{
    LogStore().Clear();
    std::vector<Qt::HANDLE> listenerThreads;
    LogStore().SetListener([&listenerThreads] { listenerThreads.push_back(QThread::currentThreadId()); });
    std::vector<std::thread> workers;
    for (int w = 0; w < 2; ++w)
        workers.emplace_back([w] {
            for (int i = 0; i < 500; ++i)
                Log(QStringLiteral("worker %1 line %2").arg(w).arg(i), w);
        });
    for (std::thread& worker : workers)
        worker.join();
    EXPECT_TRUE(LogStore().Lines().isEmpty()); // nothing touched the store from the workers
    QCoreApplication::processEvents();
    LogStore().SetListener({});
    ASSERT_EQ(LogStore().Lines().size(), 1000);
    EXPECT_EQ(listenerThreads, std::vector<Qt::HANDLE>(1000, QThread::currentThreadId()));
    for (int w = 0; w < 2; ++w) {
        const QStringList lines = LogStore().Lines().filter(QStringLiteral("worker %1 ").arg(w));
        ASSERT_EQ(lines.size(), 500);
        for (int i = 0; i < 500; ++i)
            EXPECT_EQ(lines[i], QStringLiteral("worker %1 line %2").arg(w).arg(i));
    }
    EXPECT_TRUE(LogHasLine("worker 1 line 499", 1));
    LogStore().Clear();
}
