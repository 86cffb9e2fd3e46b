// A command-line program's arguments and standard streams on Windows. The command line comes as UTF-16 and
// is expanded here, as the shell expands it on Linux. The streams are switched to binary mode,
// so that a PNG or a line end reaches a pipe or a file as the same bytes as on Linux; a stream
// that is a console is fed through a pipe whose UTF-8 text a thread writes to the console as
// UTF-16 characters (a console shows bytes in its own code page, which would spoil the umlauts).
#include "platform/Console.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <thread>

#include "platform/win32/Wide.h"

namespace platform {
namespace {

using win32::Utf8FromWide;
using win32::WideFromUtf8;

// The names a pattern matches (its folder part kept in front), sorted; none when it matches
// nothing. A name that starts with '.' is matched only by a pattern that starts with '.', as
// by the shell.
std::vector<std::string> Expanded(const std::wstring& pattern) {
    const std::size_t cut = pattern.find_last_of(L"\\/:");
    const std::wstring folder = cut == std::wstring::npos ? L"" : pattern.substr(0, cut + 1);
    const bool dotted = pattern.compare(folder.size(), 1, L".") == 0;
    std::vector<std::string> names;
    WIN32_FIND_DATAW found{};
    HANDLE find = ::FindFirstFileW(pattern.c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring_view name = found.cFileName;
        if (name == L"." || name == L".." || (name.front() == L'.' && !dotted)) continue;
        names.push_back(Utf8FromWide(folder + std::wstring(name)));
    } while (::FindNextFileW(find, &found));
    ::FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

// A handle that is a console's screen: a character device that has a console mode.
bool IsConsole(HANDLE handle) {
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && handle != nullptr &&
           ::GetFileType(handle) == FILE_TYPE_CHAR && ::GetConsoleMode(handle, &mode) != 0;
}

// Writes the UTF-8 bytes read from `pipe` to `console` until the pipe's last writer closes it.
// A character split between two reads waits for its rest; bytes that are no UTF-8 show as
// U+FFFD, as the conversion makes them.
void FeedConsole(HANDLE pipe, HANDLE console) {
    std::string pending;
    char buffer[4096];
    DWORD got = 0;
    const auto show = [console](std::string_view text) {
        const std::wstring wide = WideFromUtf8(text);
        DWORD written = 0;
        if (!wide.empty()) {
            ::WriteConsoleW(console, wide.data(), static_cast<DWORD>(wide.size()), &written,
                            nullptr);
        }
    };
    while (::ReadFile(pipe, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        pending.append(buffer, got);
        // Up to the start of a character that may be incomplete (at most 3 bytes back).
        std::size_t complete = pending.size();
        for (std::size_t back = 1; back <= 3 && back <= pending.size(); ++back) {
            const auto c = static_cast<unsigned char>(pending[pending.size() - back]);
            if ((c & 0xC0) == 0x80) continue;  // a continuation byte: look further back
            const std::size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
            if (length > back) complete = pending.size() - back;
            break;
        }
        show(std::string_view(pending).substr(0, complete));
        pending.erase(0, complete);
    }
    show(pending);
    ::CloseHandle(pipe);
    ::CloseHandle(console);
}

// The thread that feeds the console from the pipe, and whether standard error was a console
// before the pipe took its place (-1: not asked yet).
std::thread gFeeder;
int gErrorConsole = -1;

}  // namespace

std::vector<std::string> ProgramArguments(int, char**) {
    int count = 0;
    LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; wide != nullptr && i < count; ++i) {
        const std::wstring argument = wide[i];
        if (argument.find_first_of(L"*?") != std::wstring::npos) {
            const std::vector<std::string> names = Expanded(argument);
            if (!names.empty()) {
                arguments.insert(arguments.end(), names.begin(), names.end());
                continue;
            }
        }
        arguments.push_back(Utf8FromWide(argument));
    }
    ::LocalFree(wide);
    return arguments;
}

StandardStreams::StandardStreams() {
    const bool outputConsole = IsConsole(::GetStdHandle(STD_OUTPUT_HANDLE));
    gErrorConsole = IsConsole(::GetStdHandle(STD_ERROR_HANDLE)) ? 1 : 0;
    HANDLE console = INVALID_HANDLE_VALUE;
    if (outputConsole || gErrorConsole == 1) {
        // A handle of its own: the streams' handles go when the pipe takes their place.
        console = ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    }
    HANDLE reading = nullptr;
    HANDLE writing = nullptr;
    if (console != INVALID_HANDLE_VALUE && ::CreatePipe(&reading, &writing, nullptr, 0)) {
        // Escape sequences (the progress line's erasing) are understood where the console can.
        DWORD mode = 0;
        if (::GetConsoleMode(console, &mode)) {
            ::SetConsoleMode(console, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
        }
        // Both streams on the console share the pipe, so that their lines keep their order;
        // unbuffered, as a console stream is.
        const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(writing), 0);
        if (outputConsole) {
            _dup2(descriptor, _fileno(stdout));
            std::setvbuf(stdout, nullptr, _IONBF, 0);
        }
        if (gErrorConsole == 1) {
            _dup2(descriptor, _fileno(stderr));
            std::setvbuf(stderr, nullptr, _IONBF, 0);
        }
        _close(descriptor);
        gFeeder = std::thread(FeedConsole, reading, console);
    } else if (console != INVALID_HANDLE_VALUE) {
        ::CloseHandle(console);
    }
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

StandardStreams::~StandardStreams() {
    std::fflush(stdout);
    std::fflush(stderr);
    if (!gFeeder.joinable()) return;
    // The pipe ends with its last writer: both streams' descriptors go to the null device, and
    // the thread writes what is left before the program ends.
    const int null = _open("NUL", _O_WRONLY | _O_BINARY);
    _dup2(null, _fileno(stdout));
    _dup2(null, _fileno(stderr));
    _close(null);
    gFeeder.join();
}

bool StandardErrorIsTerminal() {
    if (gErrorConsole < 0) gErrorConsole = IsConsole(::GetStdHandle(STD_ERROR_HANDLE)) ? 1 : 0;
    return gErrorConsole == 1;
}

}  // namespace platform
