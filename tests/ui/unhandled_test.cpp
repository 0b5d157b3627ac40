#include "core/unhandled.h"

#include "core/blowfish.h"
#include "core/log.h"

#include "tests/support/testsupport.h"

#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class ELocalError : public std::runtime_error {
public:
    ELocalError()
        : std::runtime_error("local")
    {
    }
};

struct ChildRun {
    int exitCode = -1;
    QString stdOut;
    QString stdErr;
    QStringList logs; // error logs left in the program folder
    QByteArray logText;
};

ChildRun RunChild(const QString& mode)
{
    QTemporaryDir dir;
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("VENDARO_APPDIR", dir.path());
    env.insert("VENDARO_FATAL_BOX_AUTOCLOSE", "1");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    child.setProcessEnvironment(env);
    child.start(QStringLiteral(UNHANDLED_CHILD), { mode });
    child.waitForFinished(60000);
    ChildRun run;
    run.exitCode = child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -1;
    run.stdOut = QString::fromUtf8(child.readAllStandardOutput());
    run.stdErr = QString::fromUtf8(child.readAllStandardError());
    run.logs = QDir(dir.path()).entryList({ "error_log*.txt" }, QDir::Files);
    if (!run.logs.isEmpty())
        run.logText = ReadFileBytes(dir.filePath(run.logs.front()));
    return run;
}

} // namespace

TEST(Unhandled, ClassNamesAndReport)
{
    EXPECT_EQ(ExceptionClassName(EInvalidData()), "EInvalidData");
    EXPECT_EQ(ExceptionClassName(ELocalError()), "ELocalError");
    EXPECT_EQ(ExceptionClassName(std::runtime_error("x")), "std::runtime_error");

    ScopedAppDir app;
    LogStore().Clear();
    const QString text = ReportUnhandledException(DescribeException(std::make_exception_ptr(EInvalidKey())));
    const QStringList logs = QDir(app.Path()).entryList({ "error_log*.txt" });
    ASSERT_EQ(logs.size(), 1);
    EXPECT_EQ(text,
        QStringLiteral(u"BŁĄD KRYTYCZNY !\r\rKlasa błędu: EInvalidKey\rKomunikat: Invalid key length\r\r"
                       u"Log został zapisany (")
            + logs.front() + ")");
    EXPECT_EQ(ReadFileBytes(app.Path(logs.front())),
        "[!]: UNHANDLED EXCEPTION\r\n[!]: EInvalidKey:Invalid key length\r\n[!]: ------------\r\n");
    EXPECT_EQ(DescribeException(std::make_exception_ptr(42)).className, "unknown");
    LogStore().Clear();
}

TEST(Unhandled, EscapingExceptionEndsTheProcessWithAnErrorLog)
{
    const struct {
        const char* mode;
        const char* line;
    } cases[] = {
        { "startup", "EInvalidKey:Invalid key length" },
        { "event", "std::runtime_error:boom in a timer" },
        { "foreign", "unknown:" },
        { "logcrash", "ELogCrash:LOG-CRASH" },
    };
    for (const auto& c : cases) {
        const ChildRun run = RunChild(c.mode);
        EXPECT_EQ(run.exitCode, 1) << c.mode << run.stdErr.toStdString();
        EXPECT_FALSE(run.stdOut.contains("clean exit")) << c.mode;
        ASSERT_EQ(run.logs.size(), 1) << c.mode << run.stdErr.toStdString();
        EXPECT_EQ(run.logText,
            "[ ]: child started\r\n[!]: UNHANDLED EXCEPTION\r\n[!]: " + QByteArray(c.line)
                + "\r\n[!]: ------------\r\n")
            << c.mode;
        EXPECT_TRUE(run.stdErr.contains(
            QStringLiteral(u"BŁĄD KRYTYCZNY !\n\nKlasa błędu: ") + QString::fromLatin1(c.line).section(':', 0, 0)))
            << run.stdErr.toStdString();
        EXPECT_TRUE(run.stdErr.contains(QStringLiteral(u"Log został zapisany (") + run.logs.front() + ")"));
    }
    // Without an exception the child ends normally and leaves no log.
    const ChildRun clean = RunChild("none");
    EXPECT_EQ(clean.exitCode, 0);
    EXPECT_TRUE(clean.stdOut.contains("clean exit"));
    EXPECT_TRUE(clean.logs.isEmpty());
}
