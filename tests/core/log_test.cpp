#include "core/log.h"

#include "tests/support/testsupport.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <gtest/gtest.h>

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
