// Windows implementation of the file layer: wide-character paths on KERNEL32.
#include "platform/PlatformFile.h"
#include "platform/win32/OsPath.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <random>
#include <vector>

#include "platform/Cp1252.h"
#include "platform/PathParts.h"
#include "platform/win32/Wide.h"

namespace platform {
namespace {

FileCallCounts gCounts;
FileError gLastError = FileError::None;

// Records why a call failed; returns false for use in return statements.
bool Fail(DWORD error = ::GetLastError()) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_NETPATH:
        case ERROR_INVALID_DRIVE:
            gLastError = FileError::NotFound;
            break;
        case ERROR_DIRECTORY:
            gLastError = FileError::Folder;
            break;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_WRITE_PROTECT:
            gLastError = FileError::Denied;
            break;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            gLastError = FileError::NoSpace;
            break;
        case ERROR_FILE_TOO_LARGE:
            gLastError = FileError::TooLarge;
            break;
        default:
            gLastError = FileError::Other;
            break;
    }
    return false;
}

// Open files by handle number: slot n - 1 holds the OS handle of number n.
std::vector<HANDLE> gHandles;

HANDLE ToOs(FileHandle handle) {
    if (handle <= 0 || static_cast<std::size_t>(handle) > gHandles.size()) {
        return INVALID_HANDLE_VALUE;
    }
    return gHandles[static_cast<std::size_t>(handle) - 1];
}

FileHandle FromOs(HANDLE os) {
    for (std::size_t i = 0; i < gHandles.size(); ++i) {
        if (gHandles[i] == INVALID_HANDLE_VALUE) {
            gHandles[i] = os;
            return static_cast<FileHandle>(i + 1);
        }
    }
    gHandles.push_back(os);
    return static_cast<FileHandle>(gHandles.size());
}

std::wstring Wide(const std::string& utf8) {
    std::wstring wide = win32::WideFromUtf8(utf8);
    std::replace(wide.begin(), wide.end(), L'/', L'\\');
    return wide;
}

std::string Utf8(const std::wstring& wide) {
    if (wide.empty()) return {};
    const int n =
        ::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide.data(),
                              static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    if (n <= 0) return {};
    std::string utf8(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide.data(), static_cast<int>(wide.size()),
                          utf8.data(), n, nullptr, nullptr);
    return utf8;
}


// The folder as a path that a file name may follow ("" = the current directory).
std::wstring FolderPrefix(std::string_view cp1252Folder) {
    if (cp1252Folder.empty()) return {};
    std::wstring folder = OsPath(cp1252Folder);
    if (folder.back() != L'\\') folder += L'\\';
    return folder;
}

DWORD Attributes(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()); }

bool IsRegular(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::int64_t FileTimeSeconds(const FILETIME& time) {
    const std::uint64_t ticks =
        (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    return static_cast<std::int64_t>(ticks / 10000000u);
}

// Temporary files that Ctrl+C, Ctrl+Break or the console's close remove (see
// FileCreateTemporary). The handler runs on a thread of its own and only reads these: a slot's
// path is complete before its flag is set.
struct CleanupSlot {
    wchar_t path[4 * MAX_PATH];
    volatile LONG used;
};
CleanupSlot gCleanup[kInterruptCleanupSlots];

// Deletes the watched files, then lets the next handler (in the end the system's, which ends
// the process) do what it would have done. A file still open is deleted as its handle closes.
BOOL WINAPI RemoveTemporariesOnControl(DWORD event) {
    switch (event) {
        case CTRL_C_EVENT:
        case CTRL_BREAK_EVENT:
        case CTRL_CLOSE_EVENT:
        case CTRL_LOGOFF_EVENT:
        case CTRL_SHUTDOWN_EVENT:
            for (CleanupSlot& slot : gCleanup) {
                if (slot.used != 0) ::DeleteFileW(slot.path);
            }
            break;
        default:
            break;
    }
    return FALSE;
}

void WatchTemporary(const std::wstring& path) {
    static const bool installed = ::SetConsoleCtrlHandler(RemoveTemporariesOnControl, TRUE) != 0;
    if (!installed) return;
    wchar_t full[4 * MAX_PATH];
    const DWORD n = ::GetFullPathNameW(path.c_str(), 4 * MAX_PATH, full, nullptr);
    if (n == 0 || n >= 4 * MAX_PATH) return;
    for (CleanupSlot& slot : gCleanup) {
        if (slot.used != 0) continue;
        std::wmemcpy(slot.path, full, n + 1);
        ::InterlockedExchange(&slot.used, 1);
        return;
    }
}

// A temporary file's name is unique (process, counter, random), so its last part identifies it
// whichever way the folder was spelt.
void UnwatchTemporary(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    const std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    if (name.rfind(L".~mapeditor-", 0) != 0) return;
    for (CleanupSlot& slot : gCleanup) {
        if (slot.used == 0) continue;
        const wchar_t* last = std::wcsrchr(slot.path, L'\\');
        if (name == (last != nullptr ? last + 1 : slot.path)) ::InterlockedExchange(&slot.used, 0);
    }
}

}  // namespace

std::wstring OsPath(std::string_view cp1252Path, PathMatch match) {
    return Wide(TranslatePath(cp1252Path, match));
}

std::string TranslatePath(std::string_view cp1252Path, PathMatch match) {
    std::string utf8 = Utf8FromCp1252(cp1252Path);
    std::replace(utf8.begin(), utf8.end(), '\\', '/');
    if (match == PathMatch::Exact) return utf8;

    // The file system matches names without regard to case; each part takes the spelling that
    // is on the disk, so that the program sees the names as they are. A drive ("C:") stays.
    return ResolvePathParts(utf8, [](const std::string& dir, const std::string& part) {
        if (part.back() == ':' || part.find_first_of("*?") != std::string::npos) return part;
        WIN32_FIND_DATAW found{};
        HANDLE find = ::FindFirstFileW(Wide(dir + part).c_str(), &found);
        if (find == INVALID_HANDLE_VALUE) return part;
        ::FindClose(find);
        const std::string name = Utf8(found.cFileName);
        return name.empty() ? part : name;
    });
}

FileHandle FileOpen(std::string_view cp1252Path, FileOpenMode mode) {
    const std::wstring path = OsPath(cp1252Path);
    const DWORD shareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    HANDLE os = INVALID_HANDLE_VALUE;
    switch (mode) {
        case FileOpenMode::Read:
            os = ::CreateFileW(path.c_str(), GENERIC_READ, shareAll, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
            break;
        case FileOpenMode::ReadWrite:
            os = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, shareAll, nullptr,
                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
            break;
        case FileOpenMode::Create:
            // Emptied in place rather than made anew, so that a hidden file stays what it is.
            os = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, shareAll, nullptr,
                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (os == INVALID_HANDLE_VALUE) {
                os = ::CreateFileW(path.c_str(), GENERIC_WRITE, shareAll, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
            }
            if (os != INVALID_HANDLE_VALUE && !::SetEndOfFile(os)) {
                ::CloseHandle(os);
                os = INVALID_HANDLE_VALUE;
            }
            break;
        case FileOpenMode::Exclusive:
            os = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
            break;
    }
    if (os == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        // A folder cannot be opened as a file: Windows says "access denied".
        const DWORD attributes = Attributes(path);
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            gLastError = FileError::Folder;
        } else {
            Fail(error);
        }
        return 0;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (::GetFileType(os) != FILE_TYPE_DISK || !::GetFileInformationByHandle(os, &info) ||
        !IsRegular(info.dwFileAttributes)) {
        gLastError = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0
                         ? FileError::Folder
                         : FileError::NotRegular;
        ::CloseHandle(os);
        return 0;
    }
    return FromOs(os);
}

std::int64_t FileRead(FileHandle handle, void* destination, std::int64_t n) {
    ++gCounts.reads;
    HANDLE os = ToOs(handle);
    if (os == INVALID_HANDLE_VALUE || n <= 0) return 0;
    auto* out = static_cast<char*>(destination);
    std::int64_t total = 0;
    while (total < n) {
        const DWORD want = static_cast<DWORD>(std::min<std::int64_t>(n - total, 1 << 30));
        DWORD got = 0;
        if (!::ReadFile(os, out + total, want, &got, nullptr)) {
            Fail();
            break;
        }
        if (got == 0) break;
        total += got;
    }
    return total;
}

std::int64_t FileSize(FileHandle handle) {
    HANDLE os = ToOs(handle);
    LARGE_INTEGER size{};
    if (os == INVALID_HANDLE_VALUE || !::GetFileSizeEx(os, &size)) return -1;
    return size.QuadPart;
}

std::int64_t FileWrite(FileHandle handle, const void* source, std::int64_t n) {
    ++gCounts.writes;
    HANDLE os = ToOs(handle);
    if (os == INVALID_HANDLE_VALUE || n <= 0) return 0;
    const auto* in = static_cast<const char*>(source);
    std::int64_t total = 0;
    while (total < n) {
        const DWORD want = static_cast<DWORD>(std::min<std::int64_t>(n - total, 1 << 30));
        DWORD put = 0;
        if (!::WriteFile(os, in + total, want, &put, nullptr)) {
            Fail();
            break;
        }
        if (put == 0) break;
        total += put;
    }
    return total;
}

bool FileSync(FileHandle handle) {
    HANDLE os = ToOs(handle);
    return os != INVALID_HANDLE_VALUE && (::FlushFileBuffers(os) || Fail());
}

bool FileCloseHandle(FileHandle handle) {
    HANDLE os = ToOs(handle);
    if (os == INVALID_HANDLE_VALUE) return false;
    gHandles[static_cast<std::size_t>(handle) - 1] = INVALID_HANDLE_VALUE;
    return ::CloseHandle(os) || Fail();
}

FileHandle FileCreateTemporary(std::string_view cp1252Folder, std::string* name) {
    static std::uint64_t counter = 0;
    const std::wstring folder = FolderPrefix(cp1252Folder);
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        char candidate[64];
        std::snprintf(candidate, sizeof candidate, ".~mapeditor-%lu-%llu-%08x.tmp",
                      static_cast<unsigned long>(::GetCurrentProcessId()),
                      static_cast<unsigned long long>(++counter), static_cast<unsigned>(random()));
        const std::wstring path = folder + Wide(candidate);
        HANDLE os = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr);
        if (os != INVALID_HANDLE_VALUE) {
            if (name != nullptr) *name = candidate;
            WatchTemporary(path);
            return FromOs(os);
        }
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_EXISTS) return Fail(error);
    }
    gLastError = FileError::Other;
    return 0;
}

int RemoveAbandonedTemporaries(std::string_view cp1252Folder, std::int64_t minimumAgeSeconds) {
    const std::wstring folder = FolderPrefix(cp1252Folder);
    WIN32_FIND_DATAW entry{};
    HANDLE find = ::FindFirstFileW((folder + L"*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return 0;
    FILETIME nowTime{};
    ::GetSystemTimeAsFileTime(&nowTime);
    const std::int64_t now = FileTimeSeconds(nowTime);
    int removed = 0;
    do {
        // Exactly the names FileCreateTemporary makes: .~mapeditor-PID-COUNT-XXXXXXXX.tmp
        const std::string name = Utf8(entry.cFileName);
        unsigned long pid = 0;
        unsigned long long count = 0;
        unsigned randomPart = 0;
        int end = 0;
        if (std::sscanf(name.c_str(), ".~mapeditor-%lu-%llu-%8x.tmp%n", &pid, &count, &randomPart,
                        &end) != 3 ||
            name.c_str()[end] != '\0' || pid == 0 || pid == ::GetCurrentProcessId() ||
            !IsRegular(entry.dwFileAttributes)) {
            continue;
        }
        if (now - FileTimeSeconds(entry.ftLastWriteTime) < minimumAgeSeconds) continue;
        if (ProcessMayRun(static_cast<std::int64_t>(pid))) continue;
        if (::DeleteFileW((folder + entry.cFileName).c_str())) ++removed;
    } while (::FindNextFileW(find, &entry));
    ::FindClose(find);
    return removed;
}

bool FileReplace(std::string_view cp1252From, std::string_view cp1252To, PathMatch match) {
    const std::wstring from = OsPath(cp1252From, match);
    const std::wstring to = OsPath(cp1252To, match);
    // The new file takes the attributes of the one it replaces; a temporary file is no longer
    // hidden once it is the map.
    const DWORD target = Attributes(to);
    DWORD attributes = FILE_ATTRIBUTE_NORMAL;
    if (target != INVALID_FILE_ATTRIBUTES) {
        if ((target & FILE_ATTRIBUTE_READONLY) != 0) return Fail(ERROR_ACCESS_DENIED);
        attributes = target & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE |
                               FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | FILE_ATTRIBUTE_SYSTEM);
        if (attributes == 0) attributes = FILE_ATTRIBUTE_NORMAL;
    }
    if (!::SetFileAttributesW(from.c_str(), attributes)) return Fail();
    // One step on the volume, and written through before it returns.
    if (!::MoveFileExW(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return Fail();
    }
    UnwatchTemporary(from);
    return true;
}

bool FileIsReadOnly(std::string_view cp1252Path, PathMatch match) {
    const std::wstring path = OsPath(cp1252Path, match);
    const DWORD attributes = Attributes(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) return true;
    // No write access for this process (an access list that refuses it).
    HANDLE os = ::CreateFileW(path.c_str(), GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (os == INVALID_HANDLE_VALUE) return ::GetLastError() == ERROR_ACCESS_DENIED;
    ::CloseHandle(os);
    return false;
}

bool FileExists(std::string_view cp1252Path) { return IsRegular(Attributes(OsPath(cp1252Path))); }

bool FilesSame(std::string_view cp1252A, std::string_view cp1252B) {
    auto identify = [](const std::wstring& path, BY_HANDLE_FILE_INFORMATION* info) {
        HANDLE os =
            ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (os == INVALID_HANDLE_VALUE) return false;
        const bool ok = ::GetFileInformationByHandle(os, info) != 0;
        ::CloseHandle(os);
        return ok;
    };
    BY_HANDLE_FILE_INFORMATION a{}, b{};
    return identify(OsPath(cp1252A), &a) && identify(OsPath(cp1252B), &b) &&
           a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
           a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
}

std::int64_t FileWriteTime(std::string_view cp1252Path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(OsPath(cp1252Path).c_str(), GetFileExInfoStandard, &data) ||
        !IsRegular(data.dwFileAttributes)) {
        return -1;
    }
    // From 1601-01-01 to 1970-01-01.
    constexpr std::int64_t kUnixEpoch = 11644473600;
    return FileTimeSeconds(data.ftLastWriteTime) - kUnixEpoch;
}

std::int64_t ProcessNumber() { return static_cast<std::int64_t>(::GetCurrentProcessId()); }

std::string ProgramFile() {
    std::wstring program(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n =
            ::GetModuleFileNameW(nullptr, program.data(), static_cast<DWORD>(program.size()));
        if (n == 0) return {};
        if (n < program.size()) {
            program.resize(n);
            return Utf8(program);
        }
        program.resize(program.size() * 2);
    }
}

// One that is gone cannot be opened, or has an exit code.
bool ProcessMayRun(std::int64_t number) {
    if (number <= 0 || number > 0xFFFFFFFF) return false;
    HANDLE process =
        ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(number));
    if (process == nullptr) return ::GetLastError() != ERROR_INVALID_PARAMETER;
    DWORD code = 0;
    const bool running = !::GetExitCodeProcess(process, &code) || code == STILL_ACTIVE;
    ::CloseHandle(process);
    return running;
}

std::vector<std::string> FolderFiles(std::string_view cp1252Folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW entry{};
    HANDLE find = ::FindFirstFileW((FolderPrefix(cp1252Folder) + L"*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        if (!IsRegular(entry.dwFileAttributes)) continue;
        const std::string utf8 = Utf8(entry.cFileName);
        std::string cp1252 = Cp1252FromUtf8(utf8);
        if (!utf8.empty() && Utf8FromCp1252(cp1252) == utf8) names.push_back(std::move(cp1252));
    } while (::FindNextFileW(find, &entry));
    ::FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

bool FileDelete(std::string_view cp1252Path, PathMatch match) {
    const std::wstring path = OsPath(cp1252Path, match);
    if (!::DeleteFileW(path.c_str())) return Fail();
    UnwatchTemporary(path);
    return true;
}

bool FolderCreate(std::string_view cp1252Path) {
    const std::wstring path = OsPath(cp1252Path);
    if (::CreateDirectoryW(path.c_str(), nullptr)) return true;
    const DWORD error = ::GetLastError();
    const DWORD attributes = Attributes(path);
    return (attributes != INVALID_FILE_ATTRIBUTES &&
            (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) ||
           Fail(error);
}

FileError LastFileError() { return gLastError; }

FileCallCounts GetFileCallCounts() { return gCounts; }

}  // namespace platform
