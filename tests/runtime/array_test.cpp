#include "runtime/Array.h"

#include <gtest/gtest.h>

namespace {

struct Record {
    int a, b, c;
};

TEST(ArrayTest, UpperBoundIsInclusiveAndElementsStartZero) {
    runtime::Array<Record> players;
    EXPECT_TRUE(players.IsNull());
    runtime::ArrayDim(players, 1);
    ASSERT_FALSE(players.IsNull());
    EXPECT_EQ(players.UpperBound(), 1);
    for (int i = 0; i <= 1; ++i) {
        EXPECT_EQ(players(i).a, 0);
        EXPECT_EQ(players(i).c, 0);
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
