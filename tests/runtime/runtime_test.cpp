#include "runtime/Runtime.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/File.h"
#include "support/TempDir.h"

namespace {

std::vector<std::string> gLog;

TEST(RuntimeTest, StepsRunInTheirFixedOrdersAndFilesAreWrittenAtTheEnd) {
    using runtime::EndStep;
    using runtime::StartStep;
    gLog.clear();
    // Fill the steps in an order unlike the one they must run in.
    runtime::RuntimeSetStartStep(StartStep::PngDecoder, [] { gLog.push_back("png"); });
    runtime::RuntimeSetStartStep(StartStep::Windows, [] { gLog.push_back("windows"); });
    runtime::RuntimeSetStartStep(StartStep::Sprites, [] { gLog.push_back("sprites"); });
    runtime::RuntimeSetStartStep(StartStep::Fonts, [] { gLog.push_back("fonts"); });
    runtime::RuntimeSetEndStep(EndStep::Windows, [] { gLog.push_back("end windows"); });
    runtime::RuntimeSetEndStep(EndStep::Screen, [] { gLog.push_back("end screen"); });
    runtime::RuntimeSetEndStep(EndStep::Keyboard, [] { gLog.push_back("end keyboard"); });

    testing_support::TempDir dir;
    runtime::RuntimeStart();
    EXPECT_TRUE(runtime::RuntimeRunning());
    EXPECT_EQ(gLog, (std::vector<std::string>{"fonts", "windows", "sprites", "png"}));

    gLog.clear();
    ASSERT_NE(runtime::FileCreate(0, "pending.bin"), 0);  // the file library is up
    runtime::FileWriteLong(0, 0x01020304);
    runtime::RuntimeEnd();
    EXPECT_FALSE(runtime::RuntimeRunning());
    EXPECT_EQ(gLog, (std::vector<std::string>{"end screen", "end keyboard", "end windows"}));
    EXPECT_EQ(testing_support::ReadBytes("pending.bin"),
              (std::vector<std::uint8_t>{4, 3, 2, 1}));

    for (auto step : {StartStep::PngDecoder, StartStep::Windows, StartStep::Sprites, StartStep::Fonts}) {
        runtime::RuntimeSetStartStep(step, nullptr);
    }
    for (auto step : {EndStep::Windows, EndStep::Screen, EndStep::Keyboard}) {
        runtime::RuntimeSetEndStep(step, nullptr);
    }
}

}  // namespace
