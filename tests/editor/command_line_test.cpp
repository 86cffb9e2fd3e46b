#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "editor/CommandLine.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using testing_support::TempDir;

struct Outcome {
    std::optional<int> exitCode;
    std::string out;
    std::string err;
};

Outcome Start(std::vector<const char*> arguments) {
    arguments.insert(arguments.begin(), "mapeditor");
    std::ostringstream out;
    std::ostringstream err;
    const auto exitCode =
        editor::EnterStartFolder(static_cast<int>(arguments.size()), arguments.data(), out, err);
    return {exitCode, out.str(), err.str()};
}

// Sets an environment variable for one test, or unsets it (null), and restores it afterwards.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedEnv() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(CommandLineTest, EachArgumentListEndsOrStartsInItsFolder) {
    struct Case {
        std::vector<const char*> arguments;
        std::optional<int> exitCode;  // nothing: the editor starts
        const char* out;              // a part of what is printed, "" for nothing
        const char* err;
        const char* folder;  // where it works then, relative to the test's folder
    };
    const Case cases[] = {
        {{}, std::nullopt, "", "", "."},
        {{"Maps"}, std::nullopt, "", "", "Maps"},
        {{"--", "-dash"}, std::nullopt, "", "", "-dash"},
        {{"--help"}, 0, "Aufruf: mapeditor [ORDNER]", "", "."},
        {{"Maps", "--help"}, 0, "--data-folder  im Datenordner", "", "."},
        {{"--version"}, 0, "mapeditor (Karteneditor) 1.0\n", "", "."},
        {{"--hilfe"}, 2, "", "mapeditor: unbekannte Option »--hilfe«\nAufruf:", "."},
        {{"-dash"}, 2, "", "unbekannte Option »-dash«", "."},
        {{"Maps", "Maps"}, 2, "", "mehr als ein ORDNER", "."},
        {{"--data-folder", "Maps"}, 2, "", "ORDNER und --data-folder zusammen", "."},
        {{"Fehlt"}, 1, "", "mapeditor: kann nicht im Ordner \"Fehlt\" arbeiten", "."},
        {{"Datei"}, 1, "", "kann nicht im Ordner \"Datei\"", "."},
    };
    for (const Case& c : cases) {
        std::string name;
        for (const char* argument : c.arguments) name += std::string(argument) + " ";
        SCOPED_TRACE(name);
        TempDir dir;
        fs::create_directory("Maps");
        fs::create_directory("-dash");
        testing_support::WriteBytes("Datei", {1});

        const Outcome outcome = Start(c.arguments);
        EXPECT_EQ(outcome.exitCode, c.exitCode);
        EXPECT_NE(outcome.out.find(c.out), std::string::npos) << outcome.out;
        EXPECT_NE(outcome.err.find(c.err), std::string::npos) << outcome.err;
        if (*c.out == '\0') {
            EXPECT_EQ(outcome.out, "");
        }
        if (*c.err == '\0') {
            EXPECT_EQ(outcome.err, "");
        }
        EXPECT_EQ(fs::current_path(), fs::canonical(dir.Path() / c.folder));
    }
}

TEST(CommandLineTest, DataFolderIsMadeAndEntered) {
    TempDir dir;
    const ScopedEnv data("XDG_DATA_HOME", (dir.Path() / "data").c_str());
    const Outcome outcome = Start({"--data-folder"});
    EXPECT_EQ(outcome.exitCode, std::nullopt);
    EXPECT_EQ(fs::current_path(),
              fs::canonical(dir.Path() / "data" / "org.karteneditor.Karteneditor"));
    // This test program is not installed: no sample maps beside it, which it says.
    EXPECT_NE(outcome.err.find("keine Beispielkarten"), std::string::npos) << outcome.err;
}

TEST(CommandLineTest, DataFolderNeedsAnAbsoluteHome) {
    TempDir dir;
    const ScopedEnv data("XDG_DATA_HOME", nullptr);
    const ScopedEnv home("HOME", "relative");
    const Outcome outcome = Start({"--data-folder"});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_NE(outcome.err.find("der Datenordner ist unbekannt"), std::string::npos);
    EXPECT_EQ(fs::current_path(), fs::canonical(dir.Path()));
    EXPECT_TRUE(fs::is_empty(dir.Path()));
}

}  // namespace
