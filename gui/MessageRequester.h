// The message requester: a modal question with a row of buttons.
#pragma once

#include <cstdint>
#include <string_view>

namespace gui {

// Shows a modal message with a title, a text and buttons given as labels separated by "|"
// ("Speichern|Verwerfen|Abbrechen"), left to right. The program's other windows take no input
// while it is open. Return chooses defaultButton; Escape and the close box choose
// cancelButton, or do nothing when it is -1, so that only a button closes the requester.
// Returns the 0-based number of the button chosen, -1 when there is no button.
std::int32_t RequesterMessage(std::string_view title, std::string_view text,
                              std::string_view buttons, std::int32_t defaultButton,
                              std::int32_t cancelButton);

}  // namespace gui
