#include "runtime/Array.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <utility>

namespace {

struct Record {
    int a, b, c;
};

TEST(ArrayTest, UpperBoundIsInclusiveAndElementsStartZero) {
    for (const int bound : {1, 0, 1000}) {  // 0 still gives one element
        SCOPED_TRACE(bound);
        runtime::Array<Record> players;
        EXPECT_TRUE(players.IsNull());
        runtime::ArrayDim(players, bound);
        ASSERT_FALSE(players.IsNull());
        EXPECT_EQ(players.UpperBound(), bound);
        for (int i = 0; i <= bound; ++i) {
            EXPECT_EQ(players(i).a, 0);
            EXPECT_EQ(players(i).c, 0);
        }
    }
}

TEST(ArrayTest, RedimensioningDiscardsContentsEvenAtTheSameSize) {
    runtime::Array<Record> players;
    runtime::ArrayDim(players, 1000);
    players(1000) = {1, 2, 3};
    runtime::ArrayDim(players, 1000);
    EXPECT_EQ(players(1000).a, 0);

    runtime::Array2D<int> fields;
    runtime::ArrayDimMulti(fields, {1000, 1000});
    fields(999, 999) = 5;
    runtime::ArrayDimMulti(fields, {1000, 1000});
    EXPECT_EQ(fields(999, 999), 0);
}

// Re-dimensioning to the same sizes keeps the block and clears only what was used: every way
// of writing into it must count.
TEST(ArrayTest, RedimensioningClearsWhatEveryWayOfWritingLeft) {
    struct Case {
        const char* what;
        std::function<void(runtime::Array2D<int>&)> write;
    };
    const Case cases[] = {
        {"element access", [](runtime::Array2D<int>& f) { f(0, 0) = f(999, 999) = f(3, 700) = 5; }},
        {"a run through an address",
         [](runtime::Array2D<int>& f) {
             int* run = &f(4, 998);
             std::fill_n(run, 1005, 7);  // from the end of column 4 into column 6
             f.MarkRunUsed(run, 1005);
         }},
        {"the raw block, spare element included",
         [](runtime::Array2D<int>& f) { f.Data()[123456] = f.Data()[1000000] = 9; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        runtime::Array2D<int> fields;
        runtime::ArrayDimMulti(fields, {1000, 1000});
        c.write(fields);
        runtime::ArrayDimMulti(fields, {1000, 1000});
        const int* all = std::as_const(fields).Data();
        EXPECT_EQ(std::count(all, all + 1000001, 0), 1000001);
    }

    runtime::ArrayMulti<int, 3> cube;
    runtime::ArrayDimMulti(cube, {3, 4, 5});
    cube(2, 3, 4) = cube(1, 0, 2) = 1;
    runtime::ArrayDimMulti(cube, {3, 4, 5});
    const int* all = std::as_const(cube).Data();
    EXPECT_EQ(std::count(all, all + 61, 0), 61);
}

// A reader that fills a leading box itself: that box is left to it, everything else is 0.
TEST(ArrayTest, RedimensioningForABoxTheCallerFillsClearsEverythingElse) {
    runtime::Array2D<int> fields;
    runtime::ArrayDimMulti(fields, {1000, 1000});
    for (int x = 0; x < 10; ++x) {
        for (int y = 0; y < 10; ++y) fields(x, y) = 1;
    }
    fields(500, 700) = 2;
    runtime::ArrayDimMulti(fields, {1000, 1000}, {4, 6});
    std::int64_t wrong = 0;
    for (int x = 0; x < 1000; ++x) {
        for (int y = 0; y < 1000; ++y)
            wrong += std::as_const(fields)(x, y) != (x < 4 && y < 6 ? 1 : 0);
    }
    EXPECT_EQ(wrong, 0);
    // Other sizes make a new block: nothing is left over.
    runtime::ArrayDimMulti(fields, {10, 10}, {4, 6});
    EXPECT_EQ(std::as_const(fields)(1, 1), 0);
}

TEST(ArrayTest, TwoDimensionsAreFirstIndexMajorWithASpareElement) {
    runtime::Array2D<int> fields;
    runtime::ArrayDimMulti(fields, {1000, 1000});
    EXPECT_EQ(fields.ElementCount(), 1000000);
    EXPECT_EQ(fields.Stride(0), 1000);
    EXPECT_EQ(&fields(7, 3) - fields.Data(), 7 * 1000 + 3);
    EXPECT_EQ(&fields(8, 3) - &fields(7, 3), 1000);  // next column is 1000 elements on
    EXPECT_EQ(&fields(7, 4) - &fields(7, 3), 1);     // next row is the neighbour
    EXPECT_EQ(fields.Data()[1000000], 0);            // the spare element exists and is zero

    runtime::Array2D<int> tiny;
    runtime::ArrayDimMulti(tiny, {1, 1});
    EXPECT_EQ(tiny.ElementCount(), 1);
    EXPECT_EQ(tiny.Data()[1], 0);
}

TEST(ArrayTest, ThreeDimensionsUseStridesOfTheLaterSizes) {
    runtime::ArrayMulti<int, 3> cube;
    runtime::ArrayDimMulti(cube, {3, 4, 5});
    EXPECT_EQ(cube.Stride(0), 20);
    EXPECT_EQ(cube.Stride(1), 5);
    EXPECT_EQ(&cube(1, 2, 3) - cube.Data(), 33);
}

TEST(ArrayTest, FreeAndImpossibleSizesLeaveTheArrayNull) {
    runtime::Array<int> a;
    runtime::ArrayDim(a, 3);
    runtime::ArrayFree(a);
    EXPECT_TRUE(a.IsNull());
    runtime::ArrayFree(a);  // freeing null does nothing
    runtime::ArrayDim(a, -5);
    EXPECT_TRUE(a.IsNull());

    runtime::Array2D<int> b;
    runtime::ArrayDimMulti(b, {-1, 4});
    EXPECT_TRUE(b.IsNull());
}

}  // namespace
