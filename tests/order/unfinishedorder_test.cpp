// The record of an unfinished order: written and read back, every line the reader refuses, and
// what the next start finds among the orders' folders.
#include "order/unfinishedorder.h"

#include "platform/files.h"
#include "tests/support/testsupport.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

const QByteArray kRecord = "VD: unfinished order 1\n"
                           "id=3FA9C07B\n"
                           "history=1A2B3C4D\n"
                           "login=Zażółć\n"
                           "sent=1\n"
                           "file=3FA9C07B_00001.jpg|150000\n"
                           "file=3FA9C07B_00002.jpg|200000\n"
                           "file=3FA9C07B_metadata.txt|812\n";

TEST(UnfinishedOrderRecord, WritesAndReadsEveryItem)
{
    const std::optional<TUnfinishedOrder> order = ParseUnfinishedOrder(kRecord);
    ASSERT_TRUE(order);
    EXPECT_EQ(order->orderId, "3FA9C07B");
    EXPECT_EQ(order->historyId, "1A2B3C4D");
    EXPECT_EQ(order->login, QStringLiteral("Zażółć"));
    EXPECT_EQ(order->sent, 1);
    EXPECT_EQ(order->files,
        (std::vector<TUnfinishedFile> {
            { "3FA9C07B_00001.jpg", 150000 }, { "3FA9C07B_00002.jpg", 200000 }, { "3FA9C07B_metadata.txt", 812 } }));
    EXPECT_EQ(UnfinishedOrderBytes(*order), kRecord);
    EXPECT_EQ(UnfinishedOrderQuestion(*order),
        QStringLiteral("Dokończyć wysyłanie zlecenia 3FA9C07B (wysłano 1 z 3 plików) ?"));
}

// Each case changes one line of kRecord (from, to); the reader must refuse the result.
TEST(UnfinishedOrderRecord, RefusesWhatTheProgramWouldNotWrite)
{
    const struct {
        const char* name;
        QByteArray from;
        QByteArray to;
    } cases[] = {
        { "another header", "order 1\n", "order 2\n" },
        { "cut short", "|812\n", "|81" },
        { "CR LF lines", "\n", "\r\n" },
        { "a key out of order", "history=1A2B3C4D\nlogin=Zażółć\n", "login=Zażółć\nhistory=1A2B3C4D\n" },
        { "an unknown key", "sent=1\n", "sent=1\nzip=1\n" },
        { "an ID with a slash", "id=3FA9C07B\n", "id=3FA9/C07B\n" },
        { "an empty ID", "id=3FA9C07B\n", "id=\n" },
        { "a history id with a dot", "history=1A2B3C4D\n", "history=../1A2B\n" },
        { "a login with a control character", "login=Zażółć\n", "login=a\tb\n" },
        { "a login that is not UTF-8", "login=Zażółć\n", "login=\xB1\n" },
        { "sent beyond the files", "sent=1\n", "sent=4\n" },
        { "sent negative", "sent=1\n", "sent=-1\n" },
        { "sent with a leading zero", "sent=1\n", "sent=01\n" },
        { "a file of another order", "file=3FA9C07B_00002.jpg", "file=3FA9C07C_00002.jpg" },
        { "a file up the tree", "file=3FA9C07B_00002.jpg", "file=3FA9C07B_/../x.jpg" },
        { "a file name with dots", "file=3FA9C07B_00002.jpg", "file=3FA9C07B_..jpg" },
        { "a file twice", "file=3FA9C07B_00002.jpg|200000", "file=3FA9C07B_00001.jpg|150000" },
        { "a size without a bar", "jpg|200000", "jpg200000" },
        { "a size too large", "|200000", "|9007199254740993" },
        { "a negative size", "|200000", "|-2" },
        { "the metadata not last", "file=3FA9C07B_metadata.txt|812\n", "" },
        { "no file at all",
            "file=3FA9C07B_00001.jpg|150000\nfile=3FA9C07B_00002.jpg|200000\nfile=3FA9C07B_metadata.txt|812\n", "" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QByteArray bytes = kRecord;
        const qsizetype at = bytes.indexOf(c.from);
        ASSERT_GE(at, 0);
        if (c.from == "\n")
            bytes.replace(c.from, c.to);
        else
            bytes.replace(at, c.from.size(), c.to);
        EXPECT_FALSE(ParseUnfinishedOrder(bytes));
    }
}

// The next start finds the orders whose files are as their records say; every other folder of
// the orders' folder goes.
TEST(UnfinishedOrderRecord, NextStartFindsTheOrdersThatCanBeFinished)
{
    ScopedAppDir app;
    const auto makeOrder = [&](const QString& folderName, const QString& id, bool withRecord) {
        TUnfinishedOrder order { id, "", "", 0, {}, OrdersFolder() + "/" + folderName };
        EXPECT_TRUE(QDir().mkpath(order.folder));
        for (const char* suffix : { "_00001.jpg", "_metadata.txt" }) {
            const QString name = id + suffix;
            EXPECT_TRUE(WriteFileBytes(order.folder + "/" + name, name.toUtf8()));
            order.files.push_back({ name, name.size() });
        }
        if (withRecord) {
            EXPECT_TRUE(WriteUnfinishedOrder(order));
        }
        return order;
    };
    const TUnfinishedOrder whole = makeOrder("VDOTMP.00000001", "AAAA0001", true);
    makeOrder("VDOTMP.00000002", "AAAA0002", false); // killed before its upload
    const TUnfinishedOrder touched = makeOrder("VDOTMP.00000003", "AAAA0003", true);
    ASSERT_TRUE(WriteFileBytes(touched.folder + "/AAAA0003_00001.jpg", "shorter"));
    const TUnfinishedOrder gone = makeOrder("VDOTMP.00000004", "AAAA0004", true);
    ASSERT_TRUE(QFile::remove(gone.folder + "/AAAA0004_metadata.txt"));
    const TUnfinishedOrder damaged = makeOrder("VDOTMP.00000005", "AAAA0005", true);
    ASSERT_TRUE(WriteFileBytes(UnfinishedRecordPath(damaged.folder), "VD: unfinished order 1\nid="));

    const std::vector<TUnfinishedOrder> found = FindUnfinishedOrders();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0], whole);
    EXPECT_EQ(
        QDir(OrdersFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList { "VDOTMP.00000001" });
    EXPECT_EQ(found[0].Paths(),
        (QStringList { whole.folder + "/AAAA0001_00001.jpg", whole.folder + "/AAAA0001_metadata.txt" }));
}

} // namespace
