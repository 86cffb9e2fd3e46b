// The modal message box of the window system stand-in: a text and a row of buttons.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/Ui.h"

namespace platform {

struct MessageBoxRequest {
    Handle owner = 0;
    std::string title;  // CP1252
    std::string text;
    std::vector<std::string> buttons;  // left to right
    std::int32_t defaultButton = -1;   // chosen by Return; -1 none named (on Windows, whose
                                       // boxes always have one, the first button)
    std::int32_t escapeButton = -1;    // chosen by Escape and the close box; -1: neither works
};

// Shows the box modally: no other window of the program takes input until it closes.
// Returns the index of the button chosen, -1 when there are no buttons.
std::int32_t ShowMessageBox(const MessageBoxRequest& request);

// What a message box shows, for tests that answer it.
struct MessageBoxView {
    std::string title;
    std::string text;
    std::vector<std::string> buttons;
    std::int32_t defaultButton = -1;
    std::int32_t escapeButton = -1;
};
// Answers that press a key in the box instead of clicking a button.
inline constexpr std::int32_t kPressReturn = -2;
inline constexpr std::int32_t kPressEscape = -3;
// While set, each box, once open, calls `answer` and clicks the button of the index it returns
// (or presses Return or Escape). Pass {} to stop.
void SetMessageBoxAnswerForTesting(std::function<std::int32_t(const MessageBoxView&)> answer);

}  // namespace platform
