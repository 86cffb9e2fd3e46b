#include "editor/MapDocument.h"

#include <gtest/gtest.h>

namespace {

using editor::Document;

TEST(MapDocumentTest, ResetGivesTheDefaultNewMap) {
    Document = editor::MapDocument{};
    Document.TileSetWidth = 640;
    editor::ResetDocument();
    EXPECT_EQ(Document.FileName, "NONAME");
    EXPECT_EQ(Document.MapName, "Neue Karte");
    EXPECT_EQ(Document.PlayerCount, 1);
    EXPECT_EQ(Document.SlotCount, 8);
    EXPECT_EQ(Document.BallCount, 4);
    EXPECT_EQ(Document.FieldWidth, 64);
    EXPECT_EQ(Document.FieldHeight, 64);
    EXPECT_EQ(Document.LastFieldX, 5);
    EXPECT_EQ(Document.LastFieldY, 5);
    EXPECT_EQ(Document.TileSetWidth, 640);  // belongs to the tile set, not reset here
    EXPECT_EQ(Document.Players.UpperBound(), 1000);
    for (int p = 0; p <= 1000; ++p) {
        EXPECT_EQ(Document.Players(p).X | Document.Players(p).Y | Document.Players(p).Direction, 0);
    }
    EXPECT_EQ(Document.Fields.ElementCount(), 1000 * 1000);
}

TEST(MapDocumentTest, ResetClearsWhatThePreviousMapLeft) {
    editor::ResetDocument();
    Document.Players(700) = {1, 2, 3};
    Document.Fields(999, 999) = 9;
    Document.Fields(3, 3) = 4;
    editor::ResetDocument();
    EXPECT_EQ(Document.Players(700).X, 0);
    EXPECT_EQ(Document.Fields(999, 999), 0);
    EXPECT_EQ(Document.Fields(3, 3), 0);
}

}  // namespace
