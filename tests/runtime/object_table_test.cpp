#include "runtime/ObjectTable.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Thing {
    int handle = 0;
    int payload = 0;
    bool InUse() const { return handle != 0; }
};

runtime::ObjectTable<Thing>* gTable = nullptr;
std::vector<int> gFreed;

// The library's close operation: records the number, then frees the object.
void CloseThing(int number) {
    if (gTable->Lookup(number) == nullptr) return;
    gFreed.push_back(number);
    gTable->Free(number);
}

class ObjectTableTest : public ::testing::Test {
protected:
    ObjectTableTest() : table(16, &CloseThing) {
        gTable = &table;
        gFreed.clear();
    }
    int Create(int number, int payload = 0) {
        int id = 0;
        Thing* t = table.GetOrCreate(number, &id);
        t->handle = 1;
        t->payload = payload;
        return id;
    }
    runtime::ObjectTable<Thing> table;
};

TEST_F(ObjectTableTest, GrowsByItsStepPastTheNumberUsed) {
    EXPECT_EQ(table.Capacity(), 16);
    Create(19);
    EXPECT_EQ(table.Capacity(), 35);
    EXPECT_NE(table.Lookup(19), nullptr);
    Create(34);  // still a slot number: no growth
    EXPECT_EQ(table.Capacity(), 35);
}

TEST_F(ObjectTableTest, ReusingANumberClosesTheOldObjectFirst) {
    Create(3, 111);
    Thing* again = table.GetOrCreate(3);
    EXPECT_EQ(gFreed, std::vector<int>{3});
    EXPECT_FALSE(again->InUse());  // the caller fills a clean record
    again->handle = 7;
    again->payload = 222;
    EXPECT_EQ(table.Lookup(3)->payload, 222);
}

TEST_F(ObjectTableTest, LookupOfNoObjectYieldsNull) {
    Create(2);
    const int dynamicId = Create(-1);
    EXPECT_EQ(table.Lookup(1), nullptr);                 // free slot
    EXPECT_EQ(table.Lookup(table.Capacity()), nullptr);  // just past the slots
    EXPECT_EQ(table.Lookup(-1), nullptr);
    EXPECT_EQ(table.Lookup(dynamicId - 1), nullptr);  // never handed out
    EXPECT_NE(table.Lookup(dynamicId), nullptr);
    table.Free(dynamicId);
    EXPECT_EQ(table.Lookup(dynamicId), nullptr);  // identifiers are not reused
    EXPECT_NE(Create(-1), dynamicId);
    EXPECT_EQ(table.GetOrCreate(-5), nullptr);  // other negative numbers are refused
}

TEST_F(ObjectTableTest, WalkYieldsSlotsAscendingThenDynamicOldestFirstWhileClosing) {
    Create(5);
    const int a = Create(-1);
    Create(2);
    const int b = Create(-1);
    std::vector<int> seen;
    table.IterateStart();
    int number = 0;
    while (table.IterateNext(&number) != nullptr) {
        seen.push_back(number);
        CloseThing(number);  // closing what the walk returned must not disturb it
    }
    EXPECT_EQ(seen, (std::vector<int>{2, 5, a, b}));
    EXPECT_EQ(table.Lookup(2), nullptr);
    EXPECT_EQ(table.Lookup(b), nullptr);
}

TEST_F(ObjectTableTest, ForEachStopsWhenTheFunctionSaysSo) {
    Create(2);
    Create(5);
    Create(-1);
    std::vector<int> seen;
    const bool completed = table.ForEach([&](int number, Thing&) {
        seen.push_back(number);
        return number != 2;
    });
    EXPECT_FALSE(completed);
    EXPECT_EQ(seen, std::vector<int>{2});
    EXPECT_TRUE(table.ForEach([](int, Thing&) { return true; }));
}

TEST_F(ObjectTableTest, FreeAllClosesEveryObjectInWalkOrder) {
    const int a = Create(-1);
    Create(4);
    Create(0);
    table.FreeAll();
    EXPECT_EQ(gFreed, (std::vector<int>{0, 4, a}));
    EXPECT_TRUE(table.ForEach([](int, Thing&) { return false; }));  // nothing left
}

}  // namespace
