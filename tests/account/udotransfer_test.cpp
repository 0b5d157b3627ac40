// The transfer window against the demo lab's FTP server, with a folder of the server as the
// virtual account: downloads and uploads with their states, counts and questions, cancelling
// a run, the open dialog, removing lines and names from the server that are not file names.
#include "account/udotransfer.h"

#include "core/core.h"
#include "core/coreobjects.h"
#include "core/log.h"
#include "core/textutils.h"
#include "lab/vdengine.h"
#include "skin/skinner.h"
#include "tests/support/ftpserver.h"
#include "tests/support/testsupport.h"
#include "tests/support/windowdriver.h"
#include "ui/gradientbutton.h"
#include "ui/gradientprogressbar.h"
#include "ui/umydialog.h"

#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

constexpr const char* kAccount = "AB12CD34";
// Slow enough that a test can press "anuluj" while the second file moves.
constexpr const char* kSlowRate = "2097152";

QStringList Texts(const TDialogAnswers& answers)
{
    QStringList texts;
    for (const TShownDialog& shown : answers.Shown())
        texts << shown.text;
    return texts;
}

QStringList States(const TTransferQueue& queue)
{
    QStringList states;
    for (int row = 0; row < queue.Count(); ++row)
        states << FileStateText(queue.State(row));
    return states;
}

QStringList FilesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// Records the bar's position at every paint: setting the position paints at once.
class TPositionRecorder : public QObject {
public:
    explicit TPositionRecorder(TGradientProgressBar* bar)
        : bar_(bar)
    {
        bar->installEventFilter(this);
    }
    QList<int> positions;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && (positions.isEmpty() || positions.last() != bar_->Position()))
            positions << bar_->Position();
        return false;
    }

private:
    TGradientProgressBar* bar_;
};

class TransferWindowTest : public testing::Test {
protected:
    explicit TransferWindowTest(const QStringList& faults = {})
        : server(faults)
    {
    }

    void SetUp() override
    {
        ASSERT_TRUE(server.Started());
        engine.host = QStringLiteral("127.0.0.1:%1").arg(server.Port());
        engine.user = TFtpServer::kUser;
        engine.pass = TFtpServer::kPassword;
        engine.virtual_ = "/virtual";
        config.timout = 5000;
        Core() = { &config, nullptr, nullptr, &engine, &skinner };
        ASSERT_TRUE(QDir().mkpath(Remote()));
        window.SetAccount({ kAccount, 100 << 20, 90 << 20 });
        window.epath->clear();
    }
    void TearDown() override { Core() = {}; }

    // A path in the account's folder on the server's disk.
    QString Remote(const QString& name = {}) const
    {
        return QDir::cleanPath(server.Orders(QStringLiteral("../virtual/%1/").arg(kAccount) + name));
    }
    QString Local(const QString& name) const { return local.filePath(name); }

    // Opens the window in download mode and runs inside while it shows, then closes it.
    void Download(const QStringList& names, const QList<int64_t>& sizes, const std::function<void()>& inside)
    {
        OnNextModal([&](QWidget*) {
            inside();
            window.reject();
        });
        window.OpenDownload(names, sizes);
    }
    void Upload(const std::function<void()>& inside)
    {
        OnNextModal([&](QWidget*) {
            inside();
            window.reject();
        });
        window.OpenUpload();
    }
    // Presses "anuluj" once, as soon as line row is in state.
    void CancelWhen(int row, int state)
    {
        auto* timer = new QTimer(&window);
        timer->setInterval(5);
        QObject::connect(timer, &QTimer::timeout, timer, [=, this] {
            if (window.Queue().Count() > row && window.Queue().State(row) == state) {
                timer->deleteLater();
                timer->stop();
                window.reject(); // Escape does not leave a run behind
                EXPECT_TRUE(window.isVisible());
                QTest::mouseClick(window.bcancel, Qt::LeftButton);
            }
        });
        timer->start();
    }

    ScopedAppDir app;
    TConfig config;
    TEngine engine;
    TSkinner skinner;
    TFtpServer server;
    QTemporaryDir local;
    Tfdotransfer& window = fdotransfer();
};

class SlowTransferWindowTest : public TransferWindowTest {
protected:
    SlowTransferWindowTest()
        : TransferWindowTest({ "--ftp-rate", kSlowRate })
    {
    }
};

TEST_F(TransferWindowTest, KeyboardAloneInBothModes)
{
    QString uploadFocus, downloadFocus;
    QStringList uploadTabs, downloadTabs;
    bool closed = false;
    Upload([&] {
        uploadFocus = window.focusWidget()->objectName();
        uploadTabs = TabWalk(&window);
        PressKey(&window, Qt::Key_Escape);
        closed = !window.isVisible();
    });
    EXPECT_EQ(uploadFocus, "lbfiles");
    EXPECT_EQ(uploadTabs, (QStringList { "bselect", "bremove", "bupload", "bclose" }));
    EXPECT_TRUE(closed) << "Escape: \"zamknij\"";
    Download({ "a.txt" }, { 10 }, [&] {
        downloadFocus = window.focusWidget()->objectName();
        downloadTabs = TabWalk(&window);
    });
    EXPECT_EQ(downloadFocus, "lbfiles");
    EXPECT_EQ(downloadTabs, (QStringList { "epath", "bpath", "bdownload", "bremoved", "bclosed" }));
}

TEST_F(TransferWindowTest, DownloadsSeveralFilesIntoAFolderItCreatesAfterAsking)
{
    const QList<int64_t> sizes { 300000, 5000, 70001 };
    const QStringList names { "skan 1.tif", "b.jpg", "album.pdf" };
    for (int i = 0; i < names.size(); ++i)
        ASSERT_TRUE(WritePatternFile(Remote(names[i]), sizes[i]));
    const QString folder = Local("nowy/katalog");
    TPositionRecorder recorder(window.pb);
    TDialogAnswers answers { { kButtonOk }, { kButtonOk } };
    Download(names, sizes, [&] {
        EXPECT_TRUE(window.pdownload->isVisible());
        EXPECT_FALSE(window.pupload->isVisible());
        EXPECT_EQ(window.windowTitle(), QStringLiteral("Konto AB12CD34 - pobieranie plików"));
        EXPECT_EQ(window.lcountd->text(), "3");
        EXPECT_EQ(window.lsized->text(), FormatByteSize(375001, "Tb"));
        EXPECT_EQ(window.lbfiles->item(0)->text(), "skan 1.tif");
        EXPECT_EQ(States(window.Queue()), QStringList({ "oczekuje", "oczekuje", "oczekuje" }));
        window.epath->setText(folder + "/");
        QTest::mouseClick(window.bdownload, Qt::LeftButton);
        EXPECT_FALSE(window.pbusy->isVisible());
        EXPECT_TRUE(window.pdownload->isVisible());
    });
    EXPECT_EQ(Texts(answers), QStringList({ "Katalog docelowy nie istnieje, utworzyć ?", "Pobieranie ukończone !" }));
    EXPECT_EQ(window.epath->text(), folder);
    EXPECT_EQ(States(window.Queue()), QStringList({ "OK", "OK", "OK" }));
    EXPECT_EQ(FilesIn(folder), QStringList({ "album.pdf", "b.jpg", "skan 1.tif" }));
    for (const QString& name : names)
        EXPECT_EQ(ReadFileBytes(folder + "/" + name), ReadFileBytes(Remote(name))) << name.toStdString();
    EXPECT_EQ(window.lbcount->text(), "3");
    EXPECT_EQ(window.lbsize->text(), FormatByteSize(375001, "kb"));
    EXPECT_EQ(window.ldcount->text(), "3");
    EXPECT_EQ(window.ldsize->text(), FormatByteSize(375001, "kb"));
    ASSERT_GE(recorder.positions.size(), 3);
    EXPECT_TRUE(std::is_sorted(recorder.positions.begin(), recorder.positions.end() - 1));
    EXPECT_TRUE(recorder.positions.contains(100));
    EXPECT_EQ(window.pb->Position(), 0); // back to the idle panel
}

TEST_F(TransferWindowTest, DownloadAsksBeforeFolderAndOverwrite)
{
    ASSERT_TRUE(WriteFileBytes(Remote("a.txt"), "nowa treść"));
    ASSERT_TRUE(QDir().mkpath(Local("jest")));
    const struct {
        const char* what;
        QString folder;
        QList<TDialogAnswer> replies;
        QStringList shown;
        QByteArray content; // of folder/a.txt afterwards
    } cases[] = {
        { "no folder typed", "/", { { kButtonOk } }, { "Wybierz katalog docelowy !" }, {} },
        { "missing folder refused", Local("brak"), { { kButtonNo } }, { "Katalog docelowy nie istnieje, utworzyć ?" },
            {} },
        { "overwrite refused", Local("jest"), { { kButtonNo } },
            { "Część plików już istnieje w katalogu docelowym !\rCzy chcesz zastąpić istniejące pliki ?" }, "stara" },
        { "overwrite accepted", Local("jest"), { { kButtonOk }, { kButtonOk } },
            { "Część plików już istnieje w katalogu docelowym !\rCzy chcesz zastąpić istniejące pliki ?",
                "Pobieranie ukończone !" },
            "nowa treść" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (!c.content.isEmpty()) {
            ASSERT_TRUE(WriteFileBytes(Local("jest/a.txt"), "stara"));
        }
        TDialogAnswers answers;
        for (const TDialogAnswer& reply : c.replies)
            answers.Add(reply);
        Download({ "a.txt" }, { 10 }, [&] {
            window.epath->setText(c.folder);
            window.bdownloadClick();
        });
        EXPECT_EQ(Texts(answers), c.shown);
        EXPECT_EQ(ReadFileBytes(c.folder + "/a.txt"), c.content);
    }
    EXPECT_FALSE(QFileInfo::exists(Local("brak")));
}

TEST_F(TransferWindowTest, FolderPickerFillsTheTargetFolder)
{
    ASSERT_TRUE(QDir().mkpath(Local("cel")));
    QString title;
    Download({ "a.txt" }, { 10 }, [&] {
        OnNextModal([&](QWidget* picker) {
            auto* dialog = qobject_cast<QFileDialog*>(picker);
            ASSERT_NE(dialog, nullptr);
            title = dialog->windowTitle();
            dialog->setDirectory(Local("cel"));
            QMetaObject::invokeMethod(dialog, "accept");
        });
        QTest::mouseClick(window.bpath, Qt::LeftButton);
    });
    EXPECT_EQ(title, "Wybierz katalog docelowy");
    EXPECT_EQ(window.epath->text(), Local("cel"));
}

TEST_F(TransferWindowTest, NamesThatAreNotFileNamesAreNeverWritten)
{
    ASSERT_TRUE(WriteFileBytes(Remote("../evil"), "poza kontem"));
    ASSERT_TRUE(WriteFileBytes(Remote("a.txt"), "dobry"));
    ASSERT_TRUE(QDir().mkpath(Local("in")));
    TDialogAnswers answers { { kButtonOk } };
    Download({ "../evil", "a.txt", "..", "x\\..\\..\\evil" }, { 11, 5, 1, 1 }, [&] {
        EXPECT_EQ(window.lbfiles->item(0)->text(), "../evil");
        window.epath->setText(Local("in"));
        window.bdownloadClick();
    });
    EXPECT_EQ(Texts(answers), QStringList({ "Nie wszystkie pliki udało się pobrać !" }));
    EXPECT_EQ(States(window.Queue()), QStringList({ "Błąd", "OK", "Błąd", "Błąd" }));
    EXPECT_EQ(FilesIn(Local("in")), QStringList({ "a.txt" }));
    EXPECT_EQ(FilesIn(local.path()), QStringList());
}

TEST_F(TransferWindowTest, AFailedConnectionEndsTheRunBeforeAnyFile)
{
    const struct {
        const char* what;
        QString accountId;
        QString password;
        QStringList shown;
    } cases[] = {
        { "missing account folder", "ZZ999999", TFtpServer::kPassword, {} },
        { "login refused", kAccount, "zle", { "Nie udało się połączyć z serwerem FTP !" } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        window.SetAccount({ c.accountId, 1000, 1000 });
        engine.pass = c.password;
        TDialogAnswers answers;
        for (int i = 0; i < c.shown.size(); ++i)
            answers.Add({ kButtonOk });
        Download({ "a.txt" }, { 10 }, [&] {
            window.epath->setText(local.path());
            window.bdownloadClick();
            EXPECT_TRUE(window.pdownload->isVisible());
        });
        EXPECT_EQ(Texts(answers), c.shown);
        EXPECT_EQ(States(window.Queue()), QStringList({ "oczekuje" }));
    }
}

TEST_F(TransferWindowTest, UploadsChosenFilesSkippingEmptyOnesAndBlocksASecondRun)
{
    ASSERT_TRUE(WritePatternFile(Local("IMG_01.JPG"), 20000));
    ASSERT_TRUE(WriteFileBytes(Local("pusty.txt"), {}));
    ASSERT_TRUE(WritePatternFile(Local("umowa.pdf"), 50000));
    window.SetAccount({ kAccount, 1 << 20, 200000 });
    TDialogAnswers answers { { kButtonOk }, { kButtonOk }, { kButtonOk } };
    Upload([&] {
        EXPECT_TRUE(window.pupload->isVisible());
        EXPECT_FALSE(window.pdownload->isVisible());
        EXPECT_EQ(window.lasize->text(), FormatByteSize(1 << 20, "Tb"));
        AnswerNextFileDialog({ Local("IMG_01.JPG"), Local("pusty.txt"), Local("umowa.pdf") });
        QTest::mouseClick(window.bselect, Qt::LeftButton);
        ASSERT_EQ(window.Queue().Count(), 2);
        EXPECT_EQ(window.lcount->text(), "2");
        EXPECT_EQ(window.lsize->text(), FormatByteSize(70000, "Tb"));
        EXPECT_EQ(window.lbfiles->item(1)->text(), "umowa.pdf");
        window.buploadClick();
        window.buploadClick(); // the "OK" lines must go first
    });
    EXPECT_EQ(Texts(answers),
        QStringList({ "Rozpocząć wgrywanie ?", "Wgrywanie zakończone !",
            "Usuń pliki ze statusem OK z listy !\rNie można wgrywać plików które już istnieją na koncie !" }));
    EXPECT_EQ(States(window.Queue()), QStringList({ "OK", "OK" }));
    EXPECT_EQ(FilesIn(Remote()), QStringList({ "img_01.jpg", "umowa.pdf" }));
    EXPECT_EQ(ReadFileBytes(Remote("img_01.jpg")), ReadFileBytes(Local("IMG_01.JPG")));
    EXPECT_EQ(ReadFileBytes(Remote("umowa.pdf")), ReadFileBytes(Local("umowa.pdf")));
    EXPECT_EQ(window.Account().free, 130000);
    EXPECT_EQ(window.lafree->text(), FormatByteSize(130000, "Tb"));
    EXPECT_EQ(window.ldcount->text(), "2");
    EXPECT_EQ(window.ldsize->text(), FormatByteSize(70000, "kb"));
}

// The upload lower-cases names: "Account_Manifest.VDS" would overwrite the manifest, and a
// failed or cancelled upload deletes its remote file, the manifest with it.
TEST_F(TransferWindowTest, AFileThatWouldReplaceTheManifestIsNeitherQueuedNorSent)
{
    const QByteArray manifest = "id=AB12CD34\r\ndescr=Skany\r\nsize=100\r\npass=x\r\n";
    ASSERT_TRUE(WriteFileBytes(Remote("account_manifest.vds"), manifest));
    ASSERT_TRUE(WritePatternFile(Local("Account_Manifest.VDS"), 100));
    ASSERT_TRUE(WritePatternFile(Local("zdjecie.jpg"), 200));
    TDialogAnswers answers { { kButtonOk }, { kButtonOk }, { kButtonOk } };
    QString caption;
    Upload([&] {
        caption = window.windowTitle();
        AnswerNextFileDialog({ Local("Account_Manifest.VDS"), Local("zdjecie.jpg") });
        window.bselectClick();
        EXPECT_EQ(window.Queue().Count(), 1);
        EXPECT_EQ(window.lbfiles->item(0)->text(), "zdjecie.jpg");
        window.buploadClick();
    });
    EXPECT_EQ(caption, QStringLiteral("Konto AB12CD34 - wysyłanie plików"));
    EXPECT_EQ(Texts(answers),
        QStringList(
            { ManifestClashWarning({ "Account_Manifest.VDS" }), "Rozpocząć wgrywanie ?", "Wgrywanie zakończone !" }));
    EXPECT_EQ(answers.Shown()[0].icon, diExclamation);
    EXPECT_EQ(ReadFileBytes(Remote("account_manifest.vds")), manifest);
    EXPECT_EQ(FilesIn(Remote()), QStringList({ "account_manifest.vds", "zdjecie.jpg" }));
    EXPECT_FALSE(server.Lab().Output().contains("manifest", Qt::CaseInsensitive))
        << server.Lab().Output().toStdString();
}

TEST_F(TransferWindowTest, UploadLargerThanTheFreeSpaceIsRefusedBeforeConnecting)
{
    ASSERT_TRUE(WritePatternFile(Local("a.bin"), 6000));
    window.SetAccount({ kAccount, 10000, 5999 });
    TDialogAnswers answers { { kButtonOk } };
    Upload([&] {
        AnswerNextFileDialog({ Local("a.bin") });
        window.bselectClick();
        window.buploadClick();
    });
    EXPECT_EQ(Texts(answers),
        QStringList({ "Brak miejsca na tym koncie aby wgrać te pliki !\rWymagane " + FormatByteSize(6000, "Tb")
            + "; dostępne " + FormatByteSize(5999, "Tb") }));
    EXPECT_FALSE(server.Lab().Output().contains("FTP LOGIN"));
    EXPECT_EQ(States(window.Queue()), QStringList({ "oczekuje" }));
}

TEST_F(TransferWindowTest, RemovingLinesAsksAndAnEmptyDownloadQueueClosesTheWindow)
{
    for (const char* name : { "a.bin", "b.bin", "c.bin" })
        ASSERT_TRUE(WritePatternFile(Local(name), 100));
    TDialogAnswers answers { { kButtonOk }, { kButtonOk }, { kButtonOk }, { kButtonOk }, { kButtonOk } };
    Upload([&] {
        window.bremoveClick(); // nothing selected
        AnswerNextFileDialog({ Local("a.bin"), Local("b.bin"), Local("c.bin") });
        window.bselectClick();
        window.lbfiles->item(0)->setSelected(true);
        window.lbfiles->item(2)->setSelected(true);
        window.bremoveClick();
        EXPECT_EQ(window.lcount->text(), "1");
    });
    ASSERT_EQ(window.Queue().Count(), 1);
    EXPECT_EQ(window.Queue().Name(0), QDir::toNativeSeparators(Local("b.bin")));

    bool closed = false;
    const int64_t huge = int64_t(3) << 31; // 6 GiB: no 32-bit count holds it
    Download({ "x", "y" }, { huge, 2 }, [&] {
        EXPECT_EQ(window.lsized->text(), FormatByteSize(huge + 2, "Tb"));
        EXPECT_EQ(window.lbfiles->item(0)->data(Qt::UserRole).toString(), "6 Gb");
        window.bremovedClick(); // nothing selected
        window.lbfiles->selectAll();
        window.bremovedClick();
        closed = !window.isVisible();
    });
    EXPECT_TRUE(closed);
    EXPECT_EQ(Texts(answers),
        QStringList({ "Zaznacz pliki które chcesz usunąć !", "Usunąć pliki z listy ?",
            "Wybierz pliki które chcesz usunąć z listy !", "Usunąć wybrane pliki z listy ?",
            "Brak plików do pobrania, to okno zostanie zamknięte..." }));
}

TEST_F(SlowTransferWindowTest, CancellingTheSecondOfThreeUploadsDeletesItsRemotePart)
{
    ASSERT_TRUE(WritePatternFile(Local("a.bin"), 10000));
    ASSERT_TRUE(WritePatternFile(Local("duzy.bin"), 16 << 20)); // more than the sockets hold
    ASSERT_TRUE(WritePatternFile(Local("c.bin"), 10000));
    TDialogAnswers answers { { kButtonOk }, { kButtonOk }, { kButtonOk } };
    const int64_t free = window.Account().free;
    Upload([&] {
        AnswerNextFileDialog({ Local("a.bin"), Local("duzy.bin"), Local("c.bin") });
        window.bselectClick();
        CancelWhen(1, fsUploading);
        window.buploadClick();
        EXPECT_TRUE(window.pupload->isVisible());
    });
    EXPECT_EQ(Texts(answers),
        QStringList({ "Rozpocząć wgrywanie ?", "Przerwać wgrywanie plików ?", "Wgrywanie zostało przerwane !" }));
    EXPECT_EQ(States(window.Queue()), QStringList({ "OK", "Błąd", "oczekuje" }));
    EXPECT_EQ(window.ldcount->text(), "1");
    EXPECT_EQ(window.Account().free, free - 10000);
    EXPECT_TRUE(QTest::qWaitFor([&] { return FilesIn(Remote()) == QStringList({ "a.bin" }); }))
        << server.Lab().Output().toStdString() << LogStore().Lines().join("\n").toStdString();
}

TEST_F(SlowTransferWindowTest, CancellingADownloadLeavesNoFileThatLooksWhole)
{
    ASSERT_TRUE(WritePatternFile(Remote("a.bin"), 10000));
    ASSERT_TRUE(WritePatternFile(Remote("duzy.bin"), 16 << 20));
    ASSERT_TRUE(WritePatternFile(Remote("c.bin"), 10000));
    TDialogAnswers answers { { kButtonOk }, { kButtonOk } };
    Download({ "a.bin", "duzy.bin", "c.bin" }, { 10000, 16 << 20, 10000 }, [&] {
        window.epath->setText(local.path());
        CancelWhen(1, fsDownloading);
        window.bdownloadClick();
    });
    EXPECT_EQ(Texts(answers), QStringList({ "Przerwać wgrywanie plików ?", "Pobieranie przerwane !" }));
    EXPECT_EQ(States(window.Queue()), QStringList({ "OK", "Błąd", "oczekuje" }));
    EXPECT_EQ(FilesIn(local.path()), QStringList({ "a.bin" }));
}

} // namespace
