#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "editor/DataFolder.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

TEST(UserDataFolderTest, FollowsXdgDataHomeElseHome) {
#ifndef _WIN32  // XDG_DATA_HOME and HOME name POSIX paths
    struct Case {
        const char* xdgDataHome;
        const char* home;
        const char* expected;
    };
    const Case cases[] = {
        {"/data", "/home/u", "/data/org.karteneditor.Karteneditor"},
        {nullptr, "/home/u", "/home/u/.local/share/org.karteneditor.Karteneditor"},
        {"", "/home/u", "/home/u/.local/share/org.karteneditor.Karteneditor"},
        {"data", "/home/u", "/home/u/.local/share/org.karteneditor.Karteneditor"},  // relative
        {nullptr, nullptr, ""},
        {"data", "home", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.xdgDataHome ? c.xdgDataHome : "(unset)") + " / " +
                     (c.home ? c.home : "(unset)"));
        EXPECT_EQ(editor::UserDataFolder(c.xdgDataHome, c.home), fs::path(c.expected));
    }
#endif
#ifdef _WIN32
    EXPECT_EQ(editor::UserDataFolderOnWindows("C:\\Users\\u\\AppData\\Roaming"),
              fs::path("C:\\Users\\u\\AppData\\Roaming\\Karteneditor"));
    EXPECT_EQ(editor::UserDataFolderOnWindows("/data"), fs::path());  // no drive: not absolute
#else
    EXPECT_EQ(editor::UserDataFolderOnWindows("/data"), fs::path("/data/Karteneditor"));
#endif
    EXPECT_EQ(editor::UserDataFolderOnWindows(nullptr), fs::path());
    EXPECT_EQ(editor::UserDataFolderOnWindows("AppData"), fs::path());
}

// Every file below a folder with its bytes, by relative path.
std::map<std::string, std::vector<std::uint8_t>> Tree(const fs::path& root) {
    std::map<std::string, std::vector<std::uint8_t>> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_regular_file()) {
            files[entry.path().lexically_relative(root).string()] = ReadBytes(entry.path());
        }
    }
    return files;
}

// Lets every file below root be removed: on Windows a read-only file cannot be.
void MakeWritable(const fs::path& root) {
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add);
    }
}

class DataFolderTest : public ::testing::Test {
protected:
    DataFolderTest() {
        // Installed sample maps: read-only, as a package installs them, one in a subfolder.
        fs::create_directories(samples / "Extra");
        WriteBytes(samples / "Wald.MAP", {1, 2, 3});
        WriteBytes(samples / "Wald.PNG", {4, 5});
        WriteBytes(samples / "Extra" / "Insel.MAP", {6});
        for (const auto& entry : fs::recursive_directory_iterator(samples)) {
            if (entry.is_regular_file()) fs::permissions(entry.path(), fs::perms::owner_read);
        }
    }

    ~DataFolderTest() override { MakeWritable(dir.Path()); }

    bool Prepare() { return editor::PrepareDataFolder(folder, samples, messages); }

    TempDir dir;
    fs::path samples = dir.Path() / "share" / "Karten";
    fs::path folder = dir.Path() / "home" / ".local" / "share" / "app";
    std::ostringstream messages;
};

TEST_F(DataFolderTest, FirstStartCopiesTheSampleMapsAsTheUsersOwn) {
    ASSERT_TRUE(Prepare());
    EXPECT_EQ(Tree(folder / "Karten"), Tree(samples));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 1);  // no scratch folder left
    const fs::perms perms = fs::status(folder / "Karten" / "Wald.MAP").permissions();
    EXPECT_NE(perms & fs::perms::owner_write, fs::perms::none);
    EXPECT_EQ(messages.str(), "");
}

TEST_F(DataFolderTest, LaterStartsKeepWhatTheUserChanged) {
    ASSERT_TRUE(Prepare());
    const fs::path maps = folder / "Karten";
    WriteBytes(maps / "Wald.MAP", {9, 9});
    fs::remove(maps / "Wald.PNG");
    WriteBytes(maps / "Neu.MAP", {7});
    const auto changed = Tree(maps);

    ASSERT_TRUE(Prepare());
    EXPECT_EQ(Tree(maps), changed);

    // Even an empty Karten is the user's: nothing is copied into it.
    fs::remove_all(maps);
    fs::create_directory(maps);
    ASSERT_TRUE(Prepare());
    EXPECT_TRUE(fs::is_empty(maps));
}

TEST_F(DataFolderTest, WithoutSampleMapsTheFolderIsMadeWithoutKarten) {
    MakeWritable(samples);
    fs::remove_all(samples);
    ASSERT_TRUE(Prepare());
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_FALSE(fs::exists(folder / "Karten"));
    EXPECT_NE(messages.str().find("keine Beispielkarten"), std::string::npos);
}

TEST_F(DataFolderTest, AFailedCopyLeavesNothingHalfMade) {
    // A link to nothing cannot be copied: the copy fails after the first files.
    fs::create_symlink(dir.Path() / "nowhere", samples / "Zzz.MAP");
    EXPECT_FALSE(Prepare());
    EXPECT_TRUE(fs::is_empty(folder));  // neither Karten nor the scratch copy
    EXPECT_NE(messages.str().find("kann die Beispielkarten nicht"), std::string::npos);

    // The next start tries again.
    fs::remove(samples / "Zzz.MAP");
    ASSERT_TRUE(Prepare());
    EXPECT_EQ(Tree(folder / "Karten"), Tree(samples));
}

TEST_F(DataFolderTest, AFolderThatCannotBeMadeIsReported) {
    fs::create_directories(folder.parent_path());
    WriteBytes(folder, {0});  // a file where the folder should be
    EXPECT_FALSE(Prepare());
    EXPECT_NE(messages.str().find("kann den Datenordner"), std::string::npos);
}

}  // namespace
