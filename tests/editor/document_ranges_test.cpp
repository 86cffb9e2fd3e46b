#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/DocumentRanges.h"
#include "editor/MapDocument.h"

namespace {

using editor::MapDocument;

// The corrections as "name:found>corrected" in their order.
std::vector<std::string> Listed(const MapDocument& document) {
    std::vector<std::string> out;
    for (const editor::Correction& c : editor::DocumentCorrections(document)) {
        out.push_back(std::string(c.name) + ":" + std::to_string(c.found) + ">" +
                      std::to_string(c.corrected) + (c.raised ? "+" : "-"));
    }
    return out;
}

TEST(DocumentRangesTest, CorrectionsComeInTheStepsOrderAndSeeEachOther) {
    struct Case {
        const char* what;
        std::vector<std::int32_t> values;  // players, slots, balls, width, height, last x, last y
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"in range", {1, 8, 4, 64, 48, 5, 0}, {}},
        {"no lower rules for bounds and balls", {64, 12, -7, 1, 1, -5, -999}, {}},
        {"field sizes", {1, 8, 4, 0, -3, 5, 5}, {"FieldWidth:0>1+", "FieldHeight:-3>1+"}},
        {"bounds",
         {1, 8, 4, 1, 1, 1000, INT32_MAX},
         {"LastFieldX:1000>999-", "LastFieldY:2147483647>999-"}},
        {"players", {65, 8, 4, 1, 1, 0, 0}, {"PlayerCount:65>64-"}},
        {"no players", {0, 8, 4, 1, 1, 0, 0}, {"PlayerCount:0>1+"}},
        {"slots lowered take the balls along",
         {1, 13, 13, 1, 1, 0, 0},
         {"SlotCount:13>12-", "BallCount:13>12-"}},
        {"slots raised, balls above them",
         {1, 0, 3, 1, 1, 0, 0},
         {"SlotCount:0>1+", "BallCount:3>1-"}},
        {"everything",
         {-1, 99, 100, 0, 0, 1000, 1000},
         {"FieldWidth:0>1+", "FieldHeight:0>1+", "LastFieldX:1000>999-", "LastFieldY:1000>999-",
          "PlayerCount:-1>1+", "SlotCount:99>12-", "BallCount:100>12-"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MapDocument document;
        std::int32_t* targets[] = {
            &document.PlayerCount, &document.SlotCount,  &document.BallCount, &document.FieldWidth,
            &document.FieldHeight, &document.LastFieldX, &document.LastFieldY};
        for (std::size_t i = 0; i < c.values.size(); ++i) *targets[i] = c.values[i];
        EXPECT_EQ(Listed(document), c.expected);
        // Applied in order, they leave nothing more to correct, and the document as it was.
        EXPECT_EQ(document.PlayerCount, c.values[0]);
        editor::CorrectDocument(document);
        EXPECT_TRUE(editor::DocumentCorrections(document).empty());
    }
}

}  // namespace
