// The random brush's draws without windows: each number below n equally likely for an n that
// does not divide 2^64, the same draws for the same seed, and the set's toggling.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "editor/RandomBrush.h"

namespace {

TEST(RandomBrushTest, DrawsAreUniformBelowAnyCountAndFollowTheSeed) {
    editor::ResetRandomBrush();
    for (const std::uint32_t n : {1u, 2u, 3u, 7u, 1000u}) {
        SCOPED_TRACE(n);
        editor::SeedRandomBrush(42);
        constexpr int kDraws = 70000;
        std::vector<int> counts(n, 0);
        std::vector<std::uint32_t> first;
        for (int i = 0; i < kDraws; ++i) {
            const std::uint32_t r = editor::RandomBelow(n);
            ASSERT_LT(r, n);
            ++counts[r];
            if (i < 100) first.push_back(r);
        }
        // Each count binomial: within five standard deviations of the mean.
        const double mean = static_cast<double>(kDraws) / n;
        const double spread = 5 * std::sqrt(mean * (1 - 1.0 / n)) + 1;
        for (std::uint32_t v = 0; v < n; ++v) EXPECT_NEAR(counts[v], mean, spread) << v;
        editor::SeedRandomBrush(42);
        for (const std::uint32_t r : first) ASSERT_EQ(editor::RandomBelow(n), r);
    }
    // Another seed, other draws.
    editor::SeedRandomBrush(1);
    std::vector<std::uint32_t> one;
    for (int i = 0; i < 20; ++i) one.push_back(editor::RandomBelow(1000));
    editor::SeedRandomBrush(2);
    std::vector<std::uint32_t> two;
    for (int i = 0; i < 20; ++i) two.push_back(editor::RandomBelow(1000));
    EXPECT_NE(one, two);
}

TEST(RandomBrushTest, TheSetTogglesAndIsActiveFromTwoTiles) {
    editor::ResetRandomBrush();
    EXPECT_EQ(editor::BrushTile(9), 9);
    editor::ToggleRandomTile(4);
    EXPECT_FALSE(editor::RandomBrushActive());
    EXPECT_EQ(editor::BrushTile(9), 9);  // one tile is no set yet: the brush paints
    editor::ToggleRandomTile(6);
    EXPECT_EQ(editor::RandomBrushText(), "Zufall: 2 Kacheln");
    for (int i = 0; i < 50; ++i) {
        const std::int32_t tile = editor::BrushTile(9);
        EXPECT_TRUE(tile == 4 || tile == 6) << tile;
    }
    editor::ToggleRandomTile(4);  // out again
    EXPECT_EQ(editor::RandomBrush.Tiles, std::vector<std::int32_t>{6});
    EXPECT_EQ(editor::RandomBrushText(), "");
    editor::ToggleRandomTile(4);
    editor::EndRandomBrush();
    EXPECT_TRUE(editor::RandomBrush.Tiles.empty());
}

}  // namespace
