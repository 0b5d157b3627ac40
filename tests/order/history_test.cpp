// The history entry: contact-sheet pages of 48 cells, the entry file and its reader.
#include "order/history.h"

#include "core/log.h"
#include "order/historyfile.h"
#include "tests/support/testsupport.h"

#include <QBuffer>
#include <QFile>

#include <gtest/gtest.h>

namespace {

QImage Solid(int width, int height, QRgb colour)
{
    QImage picture(width, height, QImage::Format_ARGB32);
    picture.fill(colour);
    return picture;
}

bool NearlyWhite(QRgb pixel)
{
    return qRed(pixel) > 235 && qGreen(pixel) > 235 && qBlue(pixel) > 235;
}

class HistoryTest : public testing::Test {
protected:
    void SetUp() override { LogStore().Clear(); }

    QImage Page(const THistory& history, int n)
    {
        QImage page;
        EXPECT_TRUE(history.LoadPage(n, page)) << n;
        return page;
    }

    ScopedAppDir app_;
    const QDateTime now_ { QDate(2026, 12, 10), QTime(9, 5, 7, 450) };
};

TEST_F(HistoryTest, IdIsTheHashOfTheSecondAndPagesHold48Cells)
{
    THistory history;
    history.StartEntry(now_);
    EXPECT_EQ(history.id.size(), 8);
    THistory sameSecond;
    sameSecond.StartEntry(now_.addMSecs(400));
    EXPECT_EQ(sameSecond.id, history.id);
    EXPECT_TRUE(LogHasLine("history: Starting new history with id=" + history.id, 0));

    for (int i = 0; i < 48; ++i)
        history.AddThumbnail(Solid(300, 200, qRgb(200, 0, 0)));
    EXPECT_EQ(history.pageCount, 2);
    EXPECT_EQ(history.cellX, 5);
    EXPECT_EQ(history.cellY, 5);
    EXPECT_TRUE(QFile::exists(app_.Path("history/" + history.id + "_1.jpg")));
    EXPECT_FALSE(QFile::exists(app_.Path("history/" + history.id + "_2.jpg")));
    const QImage first = Page(history, 1);
    ASSERT_EQ(first.size(), QSize(800, 600));
    // The last cell (705, 505) holds a 90 x 60 picture centred at y 520 .. 580.
    EXPECT_GT(qRed(first.pixel(750, 550)), 150);
    EXPECT_LT(qGreen(first.pixel(750, 550)), 60);
    EXPECT_TRUE(NearlyWhite(first.pixel(750, 510))); // above the fitted picture, inside the cell
    EXPECT_LT(qRed(first.pixel(704, 550)), 80); // the black frame left of the cell
    EXPECT_TRUE(NearlyWhite(first.pixel(799, 599)));

    history.SavePage(); // what the order does after the last photo: an empty page 2
    EXPECT_TRUE(LogHasLine("History: saving page (2) ...", 0));
    const QImage second = Page(history, 2);
    EXPECT_TRUE(NearlyWhite(second.pixel(50, 50)));
}

TEST_F(HistoryTest, FortyNinthPhotoOpensPageTwoAtTheFirstCell)
{
    THistory history;
    history.StartEntry(now_);
    for (int i = 0; i < 49; ++i)
        history.AddThumbnail(Solid(40, 60, i == 48 ? qRgb(0, 0, 220) : qRgb(200, 0, 0))); // small: enlarged
    EXPECT_EQ(history.pageCount, 2);
    EXPECT_EQ(history.cellX, 105);
    EXPECT_EQ(history.cellY, 5);
    history.SavePage();
    const QImage second = Page(history, 2);
    EXPECT_GT(qBlue(second.pixel(50, 50)), 150); // the 60 x 90 picture at x 20 .. 80
    EXPECT_LT(qRed(second.pixel(50, 50)), 60);
    EXPECT_TRUE(NearlyWhite(second.pixel(10, 50)));
    EXPECT_TRUE(NearlyWhite(second.pixel(150, 50)));
}

TEST_F(HistoryTest, EntryFileRoundTripAndValues)
{
    THistory history;
    history.StartEntry(now_);
    history.lines = QStringList { "oid=AB12", "Date=2026-12-10 09:05:07", "rddata=a.jpg|1|10x15|50",
        "rddata=b.jpg|2|13x18|120", "name=Zażółć" };
    history.SavePage();
    ASSERT_TRUE(history.SaveEntry());
    const QString path = app_.Path("history/" + history.id + "_hist.dat");
    ASSERT_TRUE(QFile::exists(path));

    THistory read;
    ASSERT_TRUE(read.LoadEntry(path));
    EXPECT_TRUE(LogHasLine("history: loading from file: " + history.id + "_hist.dat", 0));
    EXPECT_EQ(read.id, history.id);
    EXPECT_EQ(read.lines, history.lines);
    EXPECT_EQ(read.pageCount, 1);
    EXPECT_EQ(read.GetValue("date"), "2026-12-10 09:05:07");
    EXPECT_EQ(read.GetValue("RDDATA", 1), "b.jpg|2|13x18|120");
    EXPECT_EQ(read.GetValue("rddata", 2), "");
    EXPECT_EQ(read.GetValue("name"), QStringLiteral("Zażółć"));

    QImage picture = Solid(3, 3, qRgb(1, 2, 3));
    EXPECT_FALSE(read.LoadPage(2, picture)); // no such page: the picture stays
    EXPECT_EQ(picture.size(), QSize(3, 3));
    WriteFileBytes(app_.Path("history/" + history.id + "_2.jpg"), "\xFF\xD8 not a picture");
    EXPECT_FALSE(read.LoadPage(2, picture));
    EXPECT_EQ(picture.size(), QSize(100, 100));
}

TEST_F(HistoryTest, ReaderRefusesWrongHeaderAndPathLikeIds)
{
    const auto bytes = [](const char* header, const QString& id) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        THistoryEntryData entry { id, { "oid=1" }, 2 };
        WriteHistoryEntry(buffer, entry);
        QByteArray data = buffer.data();
        data.replace("VD: history file", header);
        return data;
    };
    const struct {
        QByteArray data;
        bool ok;
        const char* logged;
    } cases[] = {
        { bytes("VD: history file", "0F6B7B2E"), true, nullptr },
        { bytes("VD: history fil!", "0F6B7B2E"), false, "history: load filed ! invalid caption !" },
        { bytes("VD: history file", "../../x"), false, "history: load failed ! invalid id !" },
        { bytes("VD: history file", "0F6B7B2E").left(40), false, nullptr }, // cut short
    };
    for (const auto& c : cases) {
        LogStore().Clear();
        QBuffer buffer;
        buffer.setData(c.data);
        buffer.open(QIODevice::ReadOnly);
        THistoryEntryData entry;
        EXPECT_EQ(ReadHistoryEntry(buffer, entry), c.ok);
        if (c.logged) {
            EXPECT_TRUE(LogHasLine(c.logged, 3)) << c.logged;
        }
        EXPECT_EQ(entry.pageCount, c.ok ? 2 : 0);
    }
}

} // namespace
