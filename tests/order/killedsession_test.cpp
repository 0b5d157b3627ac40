// The customer's program killed (SIGKILL) in the middle of a photo of an order to the demo lab,
// then started again as the customer starts it: it offers the order once its main window
// shows, and OK finishes it as a sent order, complete for the lab's check.
#include "order/history.h"
#include "project/umain.h"
#include "tests/order/orderkill.h"
#include "tests/support/demokit.h"
#include "tests/support/programrun.h"
#include "tests/support/testsupport.h"
#include "tests/support/urlcatcher.h"
#include "tests/tools/labrun.h"
#include "ui/umydialog.h"

#include <QApplication>
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QRegularExpression>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(DemoLabSession, KilledOrderIsFinishedAtTheNextStart)
{
    TKit kit;
    ASSERT_TRUE(kit.Made());
    ASSERT_TRUE(kit.Serve(kKillTestSlowLine));
    const ScopedEnv temp("TMPDIR", kit.Temp());
    const ScopedEnv cache("XDG_CACHE_HOME", kit.Temp() + "/cache");
    const ScopedEnv runtime("XDG_RUNTIME_DIR", nullptr);
    QLocale::setDefault(QLocale::c());
    const QJsonObject serve = QJsonDocument::fromJson(ReadFileBytes(kit.Root() + "/server/serve.json")).object();
    const TKillTarget target { kit.Program().chopped(1), kit.Temp(), &kit.Lab(), kit.Ftp("orders"),
        serve["ftp_user"].toString(), serve["ftp_password"].toString(), kit.Lab().FtpPort() };
    const QString id = SendAndKill(target, { .name = "during the poster", .killIn = kKillTestPoster });
    ASSERT_FALSE(id.isEmpty());

    TUrlCatcher pages;
    TDialogAnswers answers { { kButtonOk }, { kButtonOk } };
    EXPECT_TRUE(RunProgramIn(kit, [&](Tfmain& main) {
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return answers.Shown().size() == 2 && !QApplication::activeModalWidget(); }, 120000));
        main.close();
    }));
    QStringList shown;
    for (const TShownDialog& dialog : answers.Shown())
        shown << dialog.text;
    EXPECT_EQ(shown,
        (QStringList { QStringLiteral("Dokończyć wysyłanie zlecenia %1 (wysłano 1 z %2 plików) ?")
                           .arg(id, QString::number(kKillTestPhotos + 1)),
            QStringLiteral("Zlecenie zostało pomyślnie wysłane !\rWyczyścić zlecenie z wysłanych zdjęć ?") }));

    const LabRun check = Lab({ "check-order", kit.Ftp("orders"), id });
    EXPECT_EQ(check.exitCode, 0) << check.out.toStdString() << check.err.toStdString();
    const QString log = kit.Lab().Output();
    EXPECT_TRUE(
        log.contains(QRegularExpression("FTP UPLOAD /orders/" + RemotePhoto(id, kKillTestPoster) + " from [1-9]")))
        << "the cut poster went on";
    for (const auto& [name, bytes] : UploadedBytes(log))
        EXPECT_EQ(bytes, QFileInfo(kit.Ftp("orders/" + name)).size()) << name.toStdString() << ": sent twice";
    ASSERT_EQ(pages.urls.size(), 1);
    EXPECT_TRUE(pages.urls[0].toString().contains("?id=" + id + "&sign="));
    EXPECT_EQ(QDir(kit.Program("orders")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList {});
    const QStringList entries = QDir(kit.Program("history")).entryList({ "*_hist.dat" });
    ASSERT_EQ(entries.size(), 1);
    THistory entry;
    ASSERT_TRUE(entry.LoadEntry(kit.Program("history/" + entries[0])));
    EXPECT_EQ(entry.GetValue("oid"), id);
    EXPECT_EQ(entry.GetValue("ordersend"), "1");
}

} // namespace
