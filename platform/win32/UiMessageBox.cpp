// The message box on the common controls' task dialog, which takes buttons of our own
// texts. The program's windows take no input while it is open.
#include "platform/win32/UiInternal.h"
#include "platform/win32/Wide.h"

namespace platform {
namespace win32 {
namespace {

constexpr int kFirstButtonId = 100;

bool HasEscape(const MessageBoxRequest& request) {
    return request.escapeButton >= 0 &&
           request.escapeButton < static_cast<std::int32_t>(request.buttons.size());
}

// The button that Escape stands for carries the cancel command itself: the dialog then ends
// with it on Escape and the close box (Wine's task dialog ignores both otherwise).
int ButtonId(const MessageBoxRequest& request, std::int32_t button) {
    return HasEscape(request) && button == request.escapeButton ? IDCANCEL
                                                                : kFirstButtonId + button;
}

std::function<std::int32_t(const MessageBoxView&)>& Answer() {
    static std::function<std::int32_t(const MessageBoxView&)> answer;
    return answer;
}

struct Box {
    const MessageBoxRequest* request;
};

// Presses a key in the box as the keyboard would: the dialog takes it from the queue.
void PressKey(HWND dialog, WPARAM key) {
    const UINT scan = ::MapVirtualKeyW(static_cast<UINT>(key), MAPVK_VK_TO_VSC);
    ::PostMessageW(dialog, WM_KEYDOWN, key, static_cast<LPARAM>(1 | (scan << 16)));
    ::PostMessageW(dialog, WM_KEYUP, key, static_cast<LPARAM>(1 | (scan << 16) | (3u << 30)));
}

HRESULT CALLBACK Callback(HWND dialog, UINT notification, WPARAM, LPARAM, LONG_PTR data) {
    if (notification != TDN_CREATED || !Answer()) return S_OK;
    const MessageBoxRequest& request = *reinterpret_cast<const Box*>(data)->request;
    MessageBoxView view;
    std::wstring title(static_cast<std::size_t>(::GetWindowTextLengthW(dialog)) + 1, L'\0');
    title.resize(static_cast<std::size_t>(
        std::max(0, ::GetWindowTextW(dialog, title.data(), static_cast<int>(title.size())))));
    view.title = Cp1252FromWide(title);
    view.text = request.text;
    view.buttons = request.buttons;
    view.defaultButton = request.defaultButton;
    view.escapeButton = request.escapeButton;
    const std::int32_t answer = Answer()(view);
    TakeInputGivenToTheDialog();
    if (answer == kPressReturn) {
        PressKey(dialog, VK_RETURN);
    } else if (answer == kPressEscape) {
        PressKey(dialog, VK_ESCAPE);
    } else if (answer >= 0 && answer < static_cast<std::int32_t>(request.buttons.size())) {
        ::SendMessageW(dialog, TDM_CLICK_BUTTON, static_cast<WPARAM>(ButtonId(request, answer)), 0);
    }
    return S_OK;
}

}  // namespace
}  // namespace win32

using namespace win32;

std::int32_t ShowMessageBox(const MessageBoxRequest& request) {
    UiInit();
    if (request.buttons.empty()) return -1;
    const std::int32_t count = static_cast<std::int32_t>(request.buttons.size());
    const std::wstring title = WideFromCp1252(request.title);
    const std::wstring text = WideFromCp1252(request.text);
    std::vector<std::wstring> texts;
    std::vector<TASKDIALOG_BUTTON> buttons;
    for (const std::string& button : request.buttons) texts.push_back(WideFromCp1252(button));
    for (std::int32_t i = 0; i < count; ++i) {
        buttons.push_back({ButtonId(request, i), texts[static_cast<std::size_t>(i)].c_str()});
    }
    Box box{&request};
    TASKDIALOGCONFIG config{};
    config.cbSize = sizeof(config);
    config.hInstance = ::GetModuleHandleW(nullptr);
    // Escape and the close box work only when a button stands for them.
    config.dwFlags = HasEscape(request) ? TDF_ALLOW_DIALOG_CANCELLATION : 0;
    config.pszWindowTitle = title.c_str();
    config.pszMainIcon = TD_INFORMATION_ICON;
    config.pszContent = text.c_str();
    config.cButtons = static_cast<UINT>(count);
    config.pButtons = buttons.data();
    // Without a named default Return presses the first button, as the system's boxes do.
    config.nDefaultButton = request.defaultButton >= 0 && request.defaultButton < count
                                ? ButtonId(request, request.defaultButton)
                                : ButtonId(request, 0);
    config.pfCallback = &Callback;
    config.lpCallbackData = reinterpret_cast<LONG_PTR>(&box);
    int pressed = 0;
    HRESULT shown = E_FAIL;
    {
        const ModalScope modal(request.owner);
        shown = ::TaskDialogIndirect(&config, &pressed, nullptr, nullptr);
    }
    if (FAILED(shown)) return -1;
    if (pressed == IDCANCEL) return config.dwFlags != 0 ? request.escapeButton : -1;
    if (pressed >= kFirstButtonId && pressed < kFirstButtonId + count) {
        return pressed - kFirstButtonId;
    }
    return -1;
}

void SetMessageBoxAnswerForTesting(std::function<std::int32_t(const MessageBoxView&)> answer) {
    Answer() = std::move(answer);
}

}  // namespace platform
