// The bytes of a command-line argument as maptool reads them: valid UTF-8 passes unchanged,
// each byte that starts no valid sequence becomes U+FFFD, a leading byte order mark goes.
#include <gtest/gtest.h>

#include "tools/maptool/CommandLine.h"
#include "tools/maptool/ToolFiles.h"

namespace {

// n replacement characters.
std::string Replaced(int n) {
    std::string text;
    for (int i = 0; i < n; ++i) text += "\xEF\xBF\xBD";
    return text;
}

TEST(MaptoolArgumentsTest, InvalidBytesBecomeReplacementCharacters) {
    const struct {
        std::string bytes, text;
    } cases[] = {
        {"\xEF\xBB\xBFzeichne", "zeichne"},
        {"zei\xEF\xBB\xBF"
         "chne",
         "zei\xEF\xBB\xBF"
         "chne"},
        {"\xEF\xBB\xBF", ""},
        {"K/\xE4.MAP", "K/" + Replaced(1) + ".MAP"},            // CP1252 "ä"
        {"a\xE2\x82", "a" + Replaced(2)},                       // cut short at the end
        {"\xF0\x9F\x98z", Replaced(3) + "z"},                   // cut short before a letter
        {"\xED\xA0\x80x", Replaced(3) + "x"},                   // a surrogate
        {"\xF4\x90\x80\x80", Replaced(4)},                      // beyond U+10FFFF
        {"\xC0\xAF\xE0\x9F\xBF\xF0\x8F\xBF\xBF", Replaced(9)},  // overlong forms
        {"\xF8\x88\x80\x80\x80", Replaced(5)},
        {"\xC2\x80\xE0\xA0\x80\xEF\xBF\xBE\xF4\x8F\xBF\xBF\xF0\x9F\x98\x80",
         "\xC2\x80\xE0\xA0\x80\xEF\xBF\xBE\xF4\x8F\xBF\xBF\xF0\x9F\x98\x80"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(maptool::ArgumentText(c.bytes), c.text);
    }
}

}  // namespace

// A path named on the command line or inside a Tiled file stands on its own, or lies beside
// what names it; on Windows drive letters and backslash roots stand on their own too.
TEST(MaptoolArgumentsTest, PathsStandOnTheirOwnAsTheSystemSays) {
    const struct {
        const char* path;
        bool onLinux, onWindows;
    } cases[] = {
        {"/tmp/a.tsx", true, true},
        {"a.tsx", false, false},
        {"../a.tsx", false, false},
        {"", false, false},
        {"C:/Karten/a.tsx", false, true},
        {"c:a.tsx", false, true},
        {"\\\\server\\share\\a.tsx", false, true},
        {"\\a.tsx", false, true},
        {"1:/a.tsx", false, false},
        {"Karten\\a.tsx", false, false},
    };
    for (const auto& c : cases) {
#ifdef _WIN32
        EXPECT_EQ(maptool::PathIsAbsolute(c.path), c.onWindows) << c.path;
#else
        EXPECT_EQ(maptool::PathIsAbsolute(c.path), c.onLinux) << c.path;
#endif
    }
}
