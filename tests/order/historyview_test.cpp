// What the history window shows, without the window: the details rows and their wording, the
// paging rule, the listed entries and an entry's deletion, on entries THistory writes.
#include "order/historyfolder.h"
#include "order/historyview.h"

#include "core/log.h"
#include "tests/support/testsupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocale>

#include <gtest/gtest.h>

namespace {

QStringList Lines(const std::vector<THistoryDetail>& rows)
{
    QStringList lines;
    for (const THistoryDetail& row : rows)
        lines << row.Line();
    return lines;
}

const QStringList kEntryLines { "metainfo=VD: MetaData, version 1.5", "oid=0F6B7B2E", "date=2026-12-10 09:05:07",
    "orygsize_r=2,4 MB", "orygsize=2516582", "size_r=1,1 MB", "size=1153433", "sizesaved_r=1,3 MB", "price=1250",
    "truecount=3", QStringLiteral("name=Jan Kowalski"), QStringLiteral("street=ul. Długa 1"), "city=00-950 Warszawa",
    "phone=600100200", "email=jan@example.pl", "shopname=Punkt A", QStringLiteral("shopcity=30-001 Kraków"),
    QStringLiteral("shopstreet=ul. Krótka 1"), "shopphone=12 111", "shopemail=a@example.pl", "shopbank=11 2222",
    "payby=2", "deliverypost=1", "vat=1", "count=2", "rdmatrix=srcfilename|quantity|formatname|price",
    "rddata=IMG 0001.jpg|1|10x15|50", QStringLiteral("rddata=zdjęcie:2.png|2|13x18|120") };

TEST(HistoryDetailsTest, EveryRowInOrder)
{
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    const auto rows = HistoryDetails(kEntryLines);
    QLocale::setDefault(previous);
    EXPECT_EQ(Lines(rows),
        (QStringList { "ID:0F6B7B2E", "Data:2026-12-10 09:05:07", "Rozmiar oryg.:2,4 MB", "Rozmiar zlec.:1,1 MB",
            QStringLiteral("Zaoszczędzone:1,3 MB"), QStringLiteral("Ilość zdjęć:3"), QStringLiteral("Cena:12,50 zł*"),
            QStringLiteral("Zamawiający:Jan Kowalski"), QStringLiteral("Adres 1:ul. Długa 1"),
            "Adres 2:00-950 Warszawa", "email:jan@example.pl", "telefon:600100200", "Faktura VAT: 1",
            "Dostawca:Punkt A", QStringLiteral("Adres 1:30-001 Kraków"), QStringLiteral("Adres 2:ul. Krótka 1"),
            "telefon:12 111", "email:a@example.pl", "konto:11 2222", QStringLiteral("Dostawa:Przesyłka"),
            QStringLiteral("Rodzaj płatności:Przelew"), QStringLiteral("Ilość plików:2"), "IMG 0001.jpg:10x15, 1 szt.",
            QStringLiteral("zdjęcie:2.png:13x18, 2 szt.") }));
    // A file name holding ":" stays whole: the label is the name, not the text before its ":".
    EXPECT_EQ(rows.back().label, QStringLiteral("zdjęcie:2.png"));
    EXPECT_EQ(rows.back().value, "13x18, 2 szt.");
}

TEST(HistoryDetailsTest, PriceDeliveryAndPaymentWording)
{
    const auto row = [](const QStringList& lines, const QString& label) {
        for (const THistoryDetail& detail : HistoryDetails(lines))
            if (detail.label == label)
                return detail.value;
        return QStringLiteral("<none>");
    };
    const QString payment = QStringLiteral("Rodzaj płatności");
    const struct {
        QStringList lines;
        QString label;
        QString value;
    } cases[] = {
        { { "payby=1" }, payment, QStringLiteral("Gotówka") },
        { { "payby=2" }, payment, "Przelew" },
        { { "payby=3" }, payment, QStringLiteral("Karta") },
        { {}, payment, QStringLiteral("Karta") },
        { { "PAYBY=1", "payby=2" }, payment, QStringLiteral("Gotówka") }, // the first line, key in any case
        { { "deliverypost=1" }, "Dostawa", QStringLiteral("Przesyłka") },
        { { "deliverypost=0" }, "Dostawa", QStringLiteral("Odbiór osobisty.") },
        { {}, "Dostawa", QStringLiteral("Odbiór osobisty.") },
        { {}, "Cena", QStringLiteral("0.00 zł*") },
        { { "price=5" }, "Cena", QStringLiteral("0.05 zł*") },
        { { "price=-250" }, "Cena", QStringLiteral("-2.50 zł*") },
        { { "price=12a" }, "Cena", QStringLiteral("0.00 zł*") },
        { { "price=30000000000" }, "Cena", QStringLiteral("300000000.00 zł*") },
        { {}, "Faktura VAT", " " },
    };
    const QLocale previous;
    QLocale::setDefault(QLocale::c());
    for (const auto& c : cases)
        EXPECT_EQ(row(c.lines, c.label), c.value) << c.lines.join(',').toStdString();
    QLocale::setDefault(previous);
}

TEST(HistoryDetailsTest, PhotoRowsFollowCountAndRddata)
{
    const auto photos = [](const QStringList& lines) {
        const auto rows = HistoryDetails(lines);
        return Lines({ rows.begin() + 22, rows.end() });
    };
    EXPECT_EQ(photos({ "count=1", "rddata=a.jpg|1|10x15|50", "rddata=b.jpg|1|10x15|50" }),
        QStringList { "a.jpg:10x15, 1 szt." });
    // What a line leaves out is left out of its row.
    EXPECT_EQ(photos({ "count=3", "rddata=a.jpg", "rddata=b.jpg|2", "rddata=c.jpg||9x13" }),
        (QStringList { "a.jpg:", "b.jpg:2 szt.", "c.jpg:9x13" }));
    EXPECT_TRUE(photos({ "count=x", "rddata=a.jpg|1|10x15|50" }).isEmpty());
    EXPECT_TRUE(photos({ "count=-4", "rddata=a.jpg|1|10x15|50" }).isEmpty());
    // A count far beyond the lines lists what is there, at once.
    EXPECT_EQ(photos({ "count=2147483647", "rddata=a.jpg|1|9x13|40" }), QStringList { "a.jpg:9x13, 1 szt." });
}

TEST(HistoryPagingTest, WrapsRoundBothWays)
{
    const struct {
        int current, count, step, expected;
    } cases[] = {
        { 1, 3, -1, 3 },
        { 3, 3, 1, 1 },
        { 2, 3, 1, 3 },
        { 2, 3, -1, 1 },
        { 1, 1, 1, 1 },
        { 1, 1, -1, 1 },
        { 1, 0, 1, 1 },
        { 1, 0, -1, 1 },
        { 1, -5, -1, 1 },
        { 2147483647, 2147483647, 1, 1 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(StepPage(c.current, c.count, c.step), c.expected) << c.current << " " << c.count << " " << c.step;
    EXPECT_EQ(PageStatus(2, 3), "2 / 3");
}

class HistoryFolderTest : public testing::Test {
protected:
    // An entry of pages pages written as the send-order window writes one.
    THistory Write(const QDateTime& when, const QString& oid, int pages)
    {
        THistory entry;
        entry.StartEntry(when);
        for (int page = 1; page < pages; ++page) {
            entry.SavePage();
            entry.pageCount = page + 1;
        }
        entry.lines = QStringList { "oid=" + oid, "date=" + when.toString("yyyy-MM-dd hh:mm:ss") };
        entry.SavePage();
        EXPECT_TRUE(entry.SaveEntry());
        return entry;
    }
    QStringList Files() const { return QDir(HistoryFolder()).entryList(QDir::Files, QDir::Name); }

    ScopedAppDir app_;
    const QDateTime first_ { QDate(2026, 12, 1), QTime(10, 0, 0) };
    const QDateTime second_ { QDate(2026, 12, 2), QTime(11, 30, 5) };
};

TEST_F(HistoryFolderTest, ListsReadableEntriesOnly)
{
    ASSERT_TRUE(QDir().mkpath(HistoryFolder()));
    const THistory a = Write(first_, "DL2612011", 1);
    const THistory b = Write(second_, "DL2612022", 2);
    ASSERT_TRUE(WriteFileBytes(app_.Path("history/bad_hist.dat"), QByteArray("\x10\0\0\0VD: history fil!", 20)));
    ASSERT_TRUE(WriteFileBytes(app_.Path("history/empty.dat"), QByteArray()));
    LogStore().Clear();
    std::vector<THistoryListing> listed = ListHistoryEntries(HistoryFolder());
    EXPECT_TRUE(LogHasLine("history: load filed ! invalid caption !", 3));
    std::sort(listed.begin(), listed.end(), [](const auto& x, const auto& y) { return x.line < y.line; });
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0].line, "ID: DL2612011, data: 2026-12-01 10:00:00");
    EXPECT_EQ(listed[0].path, a.EntryPath());
    EXPECT_EQ(listed[1].line, "ID: DL2612022, data: 2026-12-02 11:30:05");
    EXPECT_EQ(listed[1].path, b.EntryPath());
    EXPECT_TRUE(ListHistoryEntries(app_.Path("no such folder")).empty());
}

TEST_F(HistoryFolderTest, NewestIsTheLatestDateOrElseTheLatestFile)
{
    ASSERT_TRUE(QDir().mkpath(HistoryFolder()));
    EXPECT_EQ(NewestHistoryEntry(ListHistoryEntries(HistoryFolder())), -1);
    Write(second_, "B", 1);
    Write(first_, "A", 1);
    const auto newest = [] {
        const std::vector<THistoryListing> listed = ListHistoryEntries(HistoryFolder());
        const int n = NewestHistoryEntry(listed);
        return n < 0 ? QString() : listed[n].line.section(',', 0, 0);
    };
    EXPECT_EQ(newest(), "ID: B");
    // An entry whose date does not read counts by its file's time.
    THistory undated = Write(second_.addSecs(60), "C", 1);
    undated.lines = QStringList { "oid=C", "date=wczoraj" };
    ASSERT_TRUE(undated.SaveEntry());
    QFile file(undated.EntryPath());
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(second_.addDays(-1), QFileDevice::FileModificationTime));
    file.close();
    EXPECT_EQ(newest(), "ID: B");
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(second_.addDays(1), QFileDevice::FileModificationTime));
    file.close();
    EXPECT_EQ(newest(), "ID: C");
}

TEST_F(HistoryFolderTest, DeletesTheEntryAndOnlyItsOwnPages)
{
    ASSERT_TRUE(QDir().mkpath(HistoryFolder()));
    THistory a = Write(first_, "A", 3);
    const THistory b = Write(second_, "B", 1);
    const QString stray = HistoryFolder() + "/" + a.id + "_03.jpg"; // not a page name the program makes
    ASSERT_TRUE(WriteFileBytes(stray, "x"));
    // A copy of a's entry file under another name deletes only itself.
    const QString copy = HistoryFolder() + "/kopia.dat";
    ASSERT_TRUE(QFile::copy(a.EntryPath(), copy));
    THistory read;
    ASSERT_TRUE(read.LoadEntry(copy));
    EXPECT_TRUE(DeleteHistoryEntry(read, copy));
    EXPECT_FALSE(QFile::exists(copy));
    EXPECT_EQ(Files().size(), 7);

    // A page count far beyond the pages present costs nothing.
    a.pageCount = 2147483647;
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(DeleteHistoryEntry(a, a.EntryPath()));
    EXPECT_LT(clock.elapsed(), 5000);
    QStringList left { a.id + "_03.jpg", b.id + "_1.jpg", b.id + "_hist.dat" };
    left.sort();
    EXPECT_EQ(Files(), left);
}

} // namespace
