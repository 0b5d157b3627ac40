#include "core/typedlists.h"

#include <gtest/gtest.h>

TEST(TIntList, GrowthShrinkAndErrors)
{
    TIntList list;
    list.Add(7, 0);
    list.Add(7, -3);
    EXPECT_EQ(list.Count(), 0);
    list.Add(1);
    EXPECT_EQ(list.Capacity(), 8192);
    list.Add(2, 8192);
    EXPECT_EQ(list.Count(), 8193);
    EXPECT_EQ(list.Capacity(), 16384);
    list.Delete(0); // 8191 unused: no shrink yet
    EXPECT_EQ(list.Capacity(), 16384);
    list.Delete(0);
    list.Delete(0); // 8193 unused
    EXPECT_EQ(list.Capacity(), 8192);
    EXPECT_EQ(list.Count(), 8190);

    try {
        list.Get(list.Count());
        FAIL();
    } catch (const EListError& e) {
        EXPECT_STREQ(e.what(), "Invalid index (8190/8190) in TIntList");
    }
    EXPECT_THROW(list.Get(-1), EListError);
    try {
        list.Set(-1, 0);
        FAIL();
    } catch (const EListError& e) {
        EXPECT_STREQ(e.what(), "Invalid index in TIntList");
    }
    EXPECT_THROW(list.Delete(8190), EListError);
    list.Clear();
    EXPECT_EQ(list.Capacity(), 0);
}

TEST(TIntList, DeleteMovesTailAndSumWraps)
{
    TIntList list;
    for (int v : { 1, 2, 3, 4 })
        list.Add(v);
    list.Delete(1);
    EXPECT_EQ(list.Get(0), 1);
    EXPECT_EQ(list.Get(1), 3);
    EXPECT_EQ(list.Get(2), 4);
    list.Add(INT32_MAX);
    EXPECT_EQ(list.Sum(), INT32_MIN + 7);
}

TEST(TboolList, TrueCountFollowsEveryOperation)
{
    TboolList list;
    list.Add(0);
    EXPECT_EQ(list.Capacity(), 25);
    list.Add(5);
    list.Add(1);
    EXPECT_EQ(list.TrueCount(), 2);
    list.Set(1, 9); // already true: the stored value stays
    EXPECT_EQ(list.Get(1), 5);
    EXPECT_EQ(list.TrueCount(), 2);
    list.Set(0, 3);
    EXPECT_EQ(list.TrueCount(), 3);
    list.Delete(2);
    EXPECT_EQ(list.TrueCount(), 2);
    list.SetAll(1);
    EXPECT_EQ(list.Get(0), 0x01010101);
    EXPECT_EQ(list.TrueCount(), 2);
    list.SetAll(0);
    EXPECT_EQ(list.TrueCount(), 0);
    try {
        list.Get(2);
        FAIL();
    } catch (const EListError& e) {
        EXPECT_STREQ(e.what(), "Invalid index in TBoolList");
    }
    list.Clear();
    EXPECT_EQ(list.Count() + list.Capacity() + list.TrueCount(), 0);
}

TEST(TboolList, ReserveKeepsItemsAndNeverShrinks)
{
    TboolList list;
    list.Add(7);
    list.Reserve(1000);
    EXPECT_EQ(list.Capacity(), 1000);
    list.Reserve(10);
    EXPECT_EQ(list.Capacity(), 1000);
    for (int i = 1; i < 1000; ++i)
        list.Add(i % 2);
    EXPECT_EQ(list.Capacity(), 1000) << "no growth while the reserved slots last";
    EXPECT_EQ(list.Get(0), 7);
    EXPECT_EQ(list.TrueCount(), 501);
    list.Add(1);
    EXPECT_EQ(list.Capacity(), 1025);
}
