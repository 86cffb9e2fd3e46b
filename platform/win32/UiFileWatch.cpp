// File watches on ReadDirectoryChangesW: a thread per watch waits on its folder and posts the
// watch's message to the window when a change names the file. PostMessageW may be called from
// any thread; the program's thread fetches the message with its other input.
#include "platform/UiFileWatch.h"

#include <algorithm>
#include <map>
#include <memory>
#include <string>

#include "platform/win32/OsPath.h"
#include "platform/win32/UiInternal.h"

namespace platform {

using namespace win32;

namespace {

struct Watch {
    HWND window = nullptr;
    UINT message = 0;
    WPARAM number = 0;
    std::wstring name;  // the file's name in its folder
    HANDLE folder = INVALID_HANDLE_VALUE;
    HANDLE stop = nullptr;
    HANDLE thread = nullptr;
};

std::map<std::int32_t, std::unique_ptr<Watch>> gWatches;
std::int32_t gNext = 1;

bool SameName(const wchar_t* a, std::size_t length, const std::wstring& b) {
    return ::CompareStringOrdinal(a, static_cast<int>(length), b.data(), static_cast<int>(b.size()),
                                  TRUE) == CSTR_EQUAL;
}

// Whether the records of a completed read name the file; a read that overflowed names
// everything.
bool NamesFile(const std::uint8_t* records, DWORD bytes, const std::wstring& name) {
    if (bytes == 0) return true;
    for (DWORD offset = 0;;) {
        const auto* record = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(records + offset);
        if (SameName(record->FileName, record->FileNameLength / sizeof(wchar_t), name)) return true;
        if (record->NextEntryOffset == 0) return false;
        offset += record->NextEntryOffset;
    }
}

DWORD WINAPI Follow(LPVOID parameter) {
    Watch& watch = *static_cast<Watch*>(parameter);
    alignas(DWORD) std::uint8_t records[16384];
    OVERLAPPED overlapped{};
    overlapped.hEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    const DWORD what = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE |
                       FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_CREATION;
    for (;;) {
        ::ResetEvent(overlapped.hEvent);
        if (!::ReadDirectoryChangesW(watch.folder, records, sizeof records, FALSE, what, nullptr,
                                     &overlapped, nullptr)) {
            break;
        }
        const HANDLE events[2] = {overlapped.hEvent, watch.stop};
        if (::WaitForMultipleObjects(2, events, FALSE, INFINITE) != WAIT_OBJECT_0) {
            ::CancelIoEx(watch.folder, &overlapped);
            DWORD ignored = 0;
            ::GetOverlappedResult(watch.folder, &overlapped, &ignored, TRUE);
            break;
        }
        DWORD bytes = 0;
        if (!::GetOverlappedResult(watch.folder, &overlapped, &bytes, FALSE)) break;
        if (NamesFile(records, bytes, watch.name)) {
            ::PostMessageW(watch.window, watch.message, watch.number, 0);
        }
    }
    ::CloseHandle(overlapped.hEvent);
    return 0;
}

}  // namespace

std::int32_t WatchFile(Handle window, std::string_view cp1252Path, std::uint32_t message) {
    const std::wstring path = OsPath(cp1252Path);
    const std::size_t slash = path.find_last_of(L'\\');
    const std::wstring folder = slash == std::wstring::npos ? L"." : path.substr(0, slash + 1);
    auto watch = std::make_unique<Watch>();
    watch->window = Hwnd(window);
    watch->message = message;
    watch->name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    watch->folder = ::CreateFileW(
        folder.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
    if (watch->folder == INVALID_HANDLE_VALUE) return 0;
    const std::int32_t number = gNext++;
    watch->number = static_cast<WPARAM>(number);
    watch->stop = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    watch->thread = ::CreateThread(nullptr, 0, &Follow, watch.get(), 0, nullptr);
    if (watch->stop == nullptr || watch->thread == nullptr) {
        if (watch->stop != nullptr) ::CloseHandle(watch->stop);
        ::CloseHandle(watch->folder);
        return 0;
    }
    gWatches.emplace(number, std::move(watch));
    return number;
}

void UnwatchFile(std::int32_t number) {
    const auto found = gWatches.find(number);
    if (found == gWatches.end()) return;
    Watch& watch = *found->second;
    ::SetEvent(watch.stop);
    ::WaitForSingleObject(watch.thread, INFINITE);
    ::CloseHandle(watch.thread);
    ::CloseHandle(watch.stop);
    ::CloseHandle(watch.folder);
    // A message the thread posted before it ended is still in the queue: numbers are never
    // reused, so the reader ignores it.
    gWatches.erase(found);
}

}  // namespace platform
