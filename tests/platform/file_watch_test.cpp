// File watches on this build's backend: a write in place and a new file renamed over the watched
// one post the watch's message; a file that appears after the watch began is followed; a change
// of another file in the folder does not post it; an ended watch posts nothing.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/Ui.h"
#include "platform/UiFileWatch.h"
#include "support/TempDir.h"

namespace {

constexpr std::uint32_t kChanged = platform::WM_APP + 5;

std::intptr_t Quiet(platform::Handle handle, std::uint32_t message, std::uintptr_t wParam,
                    std::intptr_t lParam) {
    return platform::DefWindowProc(handle, message, wParam, lParam);
}

void Write(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

class FileWatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::UiInit();
        window_ = platform::CreateTopWindow("Beobachtet", platform::WS_CAPTION, 20, 20, false, 100,
                                            100, &Quiet);
        ASSERT_NE(window_, 0);
        std::filesystem::create_directory("Karten");
    }
    void TearDown() override { platform::DestroyWindow(window_); }

    // Whether the watch's message arrives within `ms`; the messages that came are taken.
    bool Posted(std::int32_t watch, int ms) {
        bool posted = false;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (!posted && std::chrono::steady_clock::now() < deadline) {
            platform::WaitMessage(20);
            platform::Message message;
            while (platform::PeekMessage(&message)) {
                posted = posted || (message.message == kChanged &&
                                    message.wParam == static_cast<std::uintptr_t>(watch));
            }
        }
        return posted;
    }

    platform::Handle window_ = 0;
    testing_support::TempDir dir_;
};

TEST_F(FileWatchTest, WritesAndReplacementsOfTheFileAreTold) {
    Write("Karten/Andere.txt", "x");
    const std::int32_t watch = platform::WatchFile(window_, "Karten\\Bunt.PNG", kChanged);
    ASSERT_GT(watch, 0);
    struct Step {
        const char* what;
        void (*act)();
        bool told;
    };
    for (const Step& step : {
             Step{"the file appears", [] { Write("Karten/Bunt.PNG", "eins"); }, true},
             Step{"written in place", [] { Write("Karten/Bunt.PNG", "zwei!"); }, true},
             Step{"another file of the folder", [] { Write("Karten/Andere.txt", "yy"); }, false},
             Step{"a new file renamed over it",
                  [] {
                      Write("Karten/.neu", "drei");
                      std::filesystem::rename("Karten/.neu", "Karten/Bunt.PNG");
                  },
                  true},
             Step{"written in place after the rename", [] { Write("Karten/Bunt.PNG", "vier"); },
                  true},
         }) {
        SCOPED_TRACE(step.what);
        Posted(watch, 200);  // what the step before told more than once
        step.act();
        EXPECT_EQ(Posted(watch, step.told ? 3000 : 500), step.told);
    }
    platform::UnwatchFile(watch);
    Posted(watch, 200);
    Write("Karten/Bunt.PNG", "fünf");
    EXPECT_FALSE(Posted(watch, 500));
}

}  // namespace
