#include "tests/tools/labrun.h"

#include <QProcess>
#include <gtest/gtest.h>

LabRun Lab(const QStringList& args)
{
    QProcess lab;
    lab.start(QStringLiteral(VENDARO_LAB), args);
    lab.waitForFinished(30000);
    return { lab.exitStatus() == QProcess::NormalExit ? lab.exitCode() : -1,
        QString::fromUtf8(lab.readAllStandardOutput()), QString::fromUtf8(lab.readAllStandardError()) };
}

void ExpectOneLineError(const LabRun& run, const QString& what)
{
    EXPECT_EQ(run.exitCode, 1) << what.toStdString();
    EXPECT_TRUE(run.out.isEmpty()) << what.toStdString();
    EXPECT_TRUE(run.err.startsWith("vendaro-lab: ")) << run.err.toStdString();
    EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
}
