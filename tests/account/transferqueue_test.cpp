// The transfer window's window-free rules: line states, the queue, the refusals of an upload
// run, download targets built from server names, progress and the closing messages.
#include "account/transferqueue.h"

#include "core/textutils.h"

#include <gtest/gtest.h>

namespace {

TEST(TransferQueue, StatesHaveTheirTexts)
{
    const QStringList texts { "oczekuje", "wgrywanie", "pobieranie", "OK", "Błąd" };
    for (int state = fsWaiting; state <= fsFailed; ++state)
        EXPECT_EQ(FileStateText(state), texts[state]);
    EXPECT_EQ(FileStateText(5), QString());
}

TEST(TransferQueue, RemovesSelectedLinesWithTheirSizesAndStates)
{
    TTransferQueue queue;
    for (int i = 0; i < 4; ++i)
        queue.Add(QStringLiteral("f%1").arg(i), int64_t(i + 1) << 32); // sizes above 4 GiB
    queue.SetState(1, fsDone);
    queue.SetState(3, fsFailed);
    EXPECT_EQ(queue.TotalBytes(), int64_t(10) << 32);
    queue.Remove({ 3, 0, 3, 9 }); // the last line, twice, and a row that is not there
    ASSERT_EQ(queue.Count(), 2);
    EXPECT_EQ(queue.Name(0), "f1");
    EXPECT_EQ(queue.Size(0), int64_t(2) << 32);
    EXPECT_EQ(queue.State(0), fsDone);
    EXPECT_EQ(queue.Name(1), "f2");
    EXPECT_EQ(queue.State(1), fsWaiting);
    EXPECT_TRUE(queue.AnyInState(fsDone));
    EXPECT_FALSE(queue.AnyInState(fsFailed));
}

TEST(TransferQueue, UploadRunRefusals)
{
    TTransferQueue empty;
    EXPECT_EQ(UploadRefusal(empty, 100), "Dodaj pliki które chcesz wgrać !");

    TTransferQueue queue;
    queue.Add("/a", 3000);
    queue.Add("/b", 2000);
    EXPECT_EQ(UploadRefusal(queue, 4999),
        "Brak miejsca na tym koncie aby wgrać te pliki !\rWymagane " + FormatByteSize(5000, "Tb") + "; dostępne "
            + FormatByteSize(4999, "Tb"));
    EXPECT_EQ(UploadRefusal(queue, 5000), QString());
    queue.SetState(1, fsDone);
    EXPECT_EQ(UploadRefusal(queue, 5000),
        "Usuń pliki ze statusem OK z listy !\rNie można wgrywać plików które już istnieją na koncie !");
    // Space is checked before the finished lines.
    EXPECT_TRUE(UploadRefusal(queue, 1).startsWith("Brak miejsca"));
}

// The upload lower-cases the file name, so a local "Account_Manifest.VDS" would land on the
// manifest: such files are named in the warning and never queued.
TEST(TransferQueue, FilesThatWouldReplaceTheManifestAreRefused)
{
    EXPECT_TRUE(UploadReplacesManifest("/home/jan/Account_Manifest.VDS"));
    EXPECT_TRUE(UploadReplacesManifest("/tmp/ACCOUNT_MANIFEST.vds."));
    EXPECT_FALSE(UploadReplacesManifest("/home/account_manifest.vds/photo.jpg"));
    EXPECT_FALSE(UploadReplacesManifest("/home/jan/manifest.vds"));
    EXPECT_EQ(ManifestClashWarning({}), QString());
    EXPECT_EQ(ManifestClashWarning({ "Account_Manifest.VDS" }),
        "Nie można wgrać pliku \"Account_Manifest.VDS\" !\rNa koncie zastąpiłby on plik opisu konta "
        "\"account_manifest.vds\". Zmień nazwę pliku i dodaj go ponownie.");
    EXPECT_EQ(ManifestClashWarning({ "A%1.vds", "ACCOUNT_MANIFEST.VDS" }),
        "Nie można wgrać plików \"A%1.vds\", \"ACCOUNT_MANIFEST.VDS\" !\rNa koncie zastąpiłyby one plik opisu "
        "konta \"account_manifest.vds\". Zmień nazwy plików i dodaj je ponownie.");
}

TEST(TransferQueue, TargetFolderLosesTrailingSeparators)
{
    const struct {
        const char* typed;
        const char* folder;
    } cases[]
        = { { "/foto/", "/foto" }, { "/foto//", "/foto" }, { "/foto", "/foto" }, { "/", "/" }, { "foto\\", "foto\\" } };
    for (const auto& c : cases)
        EXPECT_EQ(TrimTargetFolder(c.typed), c.folder) << c.typed;
}

TEST(TransferQueue, ServerNamesBecomePathsOnlyAsPlainFileNames)
{
    const struct {
        QString name;
        QString target;
    } cases[] = {
        { "zdjęcie 1.jpg", "/d/zdjęcie 1.jpg" },
        { "..a", "/d/..a" },
        { ".hidden", "/d/.hidden" },
        { "", "" },
        { ".", "" },
        { "..", "" },
        { "../evil", "" },
        { "..\\evil", "" },
        { "sub/x", "" },
        { "/etc/passwd", "" },
        { "a\nb", "" },
        { QString("a") + QChar(0x7F), "" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(DownloadTarget("/d", c.name), c.target) << c.name.toStdString();
    EXPECT_EQ(DownloadTarget("/", "x"), "/x");
}

TEST(TransferQueue, ProgressPercent)
{
    const int64_t gib = int64_t(1) << 30;
    EXPECT_EQ(TransferPercent(0, 0, 0), 0);
    EXPECT_EQ(TransferPercent(50, 0, 200), 25);
    EXPECT_EQ(TransferPercent(gib, 4 * gib, 10 * gib), 50); // no 32-bit overflow
    EXPECT_EQ(TransferPercent(300, 0, 200), 100);
}

TEST(TransferQueue, ClosingMessages)
{
    const struct {
        bool upload;
        bool cancelled;
        int errors;
        TSummaryKind kind;
        const char* text;
    } cases[] = {
        { true, true, 1, TSummaryKind::Warning, "Wgrywanie zostało przerwane !" },
        { true, false, 0, TSummaryKind::Information, "Wgrywanie zakończone !" },
        { true, false, 2, TSummaryKind::Error, "Nie wszystkie pliki udało się wgrać !" },
        { false, true, 0, TSummaryKind::Warning, "Pobieranie przerwane !" },
        { false, false, 0, TSummaryKind::Information, "Pobieranie ukończone !" },
        { false, false, 1, TSummaryKind::Error, "Nie wszystkie pliki udało się pobrać !" },
    };
    for (const auto& c : cases) {
        const TTransferSummary summary = TransferSummary(c.upload, c.cancelled, c.errors);
        EXPECT_EQ(summary.kind, c.kind) << c.text;
        EXPECT_EQ(summary.text, c.text);
    }
}

} // namespace
