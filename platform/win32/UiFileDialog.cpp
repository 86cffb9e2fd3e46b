// The open and save dialogs of COMDLG32. Paths come back with '/' separators, as the program
// writes them everywhere.
#include "platform/win32/UiInternal.h"
#include "platform/win32/Wide.h"

#include <dlgs.h>

namespace platform {
namespace win32 {
namespace {

std::function<std::string(const FileDialogView&)>& Answer() {
    static std::function<std::string(const FileDialogView&)> answer;
    return answer;
}

struct Dialog {
    const OpenFileName* request;
    bool save;
};

std::wstring DialogString(HWND dialog, UINT message) {
    wchar_t buffer[MAX_PATH * 4] = {};
    const auto length =
        ::SendMessageW(dialog, message, static_cast<WPARAM>(std::size(buffer)),
                       reinterpret_cast<LPARAM>(buffer));
    return length > 0 ? std::wstring(buffer) : std::wstring();
}

std::string Slashes(std::string path) {
    for (char& c : path) {
        if (c == '\\') c = '/';
    }
    return path;
}

std::vector<std::string> FilterLabels(const std::string& list) {
    std::vector<std::string> labels;
    std::size_t start = 0;
    for (bool label = true; start < list.size(); label = !label) {
        const std::size_t end = list.find('\0', start);
        const std::string part = list.substr(start, end == std::string::npos ? end : end - start);
        if (part.empty()) break;
        if (label) labels.push_back(part);
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return labels;
}

// An answer that the dialog would refuse with a message of its own is a cancel.
bool Acceptable(const std::wstring& path, const OpenFileName& request) {
    // The name field takes no longer path (Wine's dialog even breaks down on one).
    if (path.size() >= MAX_PATH) return false;
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if ((request.flags & OFN_FILEMUSTEXIST) != 0) {
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    }
    wchar_t full[MAX_PATH * 4];
    wchar_t* name = nullptr;
    if (::GetFullPathNameW(path.c_str(), static_cast<DWORD>(std::size(full)), full, &name) == 0 ||
        name == nullptr) {
        return false;
    }
    *name = L'\0';
    const DWORD folder = ::GetFileAttributesW(full);
    return folder != INVALID_FILE_ATTRIBUTES && (folder & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Once the dialog is up, a test's answer is typed into the name field and confirmed.
UINT_PTR CALLBACK Hook(HWND child, UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_NOTIFY) return 0;
    const auto* notify = reinterpret_cast<const OFNOTIFYW*>(lParam);
    if (notify->hdr.code != CDN_INITDONE || !Answer()) return 0;
    const Dialog& dialog = *reinterpret_cast<const Dialog*>(notify->lpOFN->lCustData);
    HWND parent = ::GetParent(child);
    FileDialogView view;
    view.save = dialog.save;
    std::wstring title(static_cast<std::size_t>(::GetWindowTextLengthW(parent)) + 1, L'\0');
    title.resize(static_cast<std::size_t>(
        std::max(0, ::GetWindowTextW(parent, title.data(), static_cast<int>(title.size())))));
    view.title = Cp1252FromWide(title);
    view.directory = Slashes(Cp1252FromWide(DialogString(parent, CDM_GETFOLDERPATH)));
    view.fileName = Cp1252FromWide(DialogString(parent, CDM_GETSPEC));
    view.filterLabels = FilterLabels(dialog.request->filter);
    view.selectedFilter = static_cast<std::int32_t>(notify->lpOFN->nFilterIndex) - 1;
    const std::string answer = Answer()(view);
    TakeInputGivenToTheDialog();
    std::wstring path = WideFromCp1252(answer);
    for (wchar_t& c : path) {
        if (c == L'/') c = L'\\';
    }
    if (answer.empty() || !Acceptable(path, *dialog.request)) {
        ::PostMessageW(parent, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return 0;
    }
    ::SendMessageW(parent, CDM_SETCONTROLTEXT, cmb13, reinterpret_cast<LPARAM>(path.c_str()));
    ::SendMessageW(parent, CDM_SETCONTROLTEXT, edt1, reinterpret_cast<LPARAM>(path.c_str()));
    ::PostMessageW(parent, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(parent, IDOK)));
    return 0;
}

bool RunFileDialog(OpenFileName& request, bool save) {
    UiInit();
    const std::wstring filter = WideKeepingZeros(request.filter + std::string(2, '\0'));
    std::wstring folder = WideFromCp1252(request.initialDir);
    for (wchar_t& c : folder) {
        if (c == L'/') c = L'\\';
    }
    const std::wstring title = WideFromCp1252(request.title);
    const std::size_t room = static_cast<std::size_t>(std::max(1, request.maxFile));
    std::wstring file = WideFromCp1252(request.file);
    for (wchar_t& c : file) {
        if (c == L'/') c = L'\\';
    }
    file.resize(std::max(room, file.size() + 1), L'\0');

    Dialog dialog{&request, save};
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.lpstrFilter = request.filter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(std::max(0, request.filterIndex));
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
    // The extension is added below, as written: Wine's dialog would add it in lower case.
    ofn.lpstrDefExt = nullptr;
    // The caller asks about replacing a file itself.
    ofn.Flags = (request.flags | OFN_EXPLORER) & ~static_cast<DWORD>(OFN_OVERWRITEPROMPT);
    if (save) ofn.Flags |= OFN_PATHMUSTEXIST;
    ofn.lCustData = reinterpret_cast<LPARAM>(&dialog);
    if (Answer()) {
        ofn.Flags |= OFN_ENABLEHOOK | OFN_ENABLESIZING;
        ofn.lpfnHook = &Hook;
    }
    BOOL chosen = FALSE;
    {
        const ModalScope modal(request.owner);
        chosen = save ? ::GetSaveFileNameW(&ofn) : ::GetOpenFileNameW(&ofn);
    }
    if (!chosen) return false;
    std::string path = Slashes(Cp1252FromWide(ofn.lpstrFile));
    if (save && !request.defExt.empty() &&
        path.find('.', path.find_last_of('/') + 1) == std::string::npos) {
        path += "." + request.defExt;
    }
    if (static_cast<std::int32_t>(path.size()) + 1 > request.maxFile) return false;
    request.file = path;
    return true;
}

}  // namespace

std::wstring WideKeepingZeros(std::string_view cp1252) {
    std::wstring wide;
    wide.reserve(cp1252.size());
    for (const char c : cp1252) {
        wide.push_back(static_cast<wchar_t>(Cp1252ToCodePoint(static_cast<unsigned char>(c))));
    }
    return wide;
}

}  // namespace win32

using namespace win32;

bool GetOpenFileName(OpenFileName& request) { return RunFileDialog(request, false); }

bool GetSaveFileName(OpenFileName& request) { return RunFileDialog(request, true); }

void SetFileDialogAnswerForTesting(std::function<std::string(const FileDialogView&)> answer) {
    Answer() = std::move(answer);
}

}  // namespace platform
