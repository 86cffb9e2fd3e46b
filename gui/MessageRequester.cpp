// The message requester on the platform's message box, modal like the file requesters.
#include "gui/MessageRequester.h"

#include <string>

#include "gui/WindowInternal.h"
#include "platform/UiMessageBox.h"

namespace gui {

std::int32_t RequesterMessage(std::string_view title, std::string_view text,
                              std::string_view buttons, std::int32_t defaultButton,
                              std::int32_t cancelButton) {
    platform::MessageBoxRequest request;
    request.title = std::string(detail::TextOf(title));
    request.text = std::string(detail::TextOf(text));
    if (!detail::TextOf(buttons).empty()) {
        for (const std::string_view label : detail::SplitAtBars(detail::TextOf(buttons))) {
            request.buttons.emplace_back(label);
        }
    }
    request.defaultButton = defaultButton;
    request.escapeButton = cancelButton;
    const detail::ModalScope modal;
    request.owner = modal.Owner();
    return platform::ShowMessageBox(request);
}

}  // namespace gui
