// Process numbers for the tests of abandoned temporary files, and what a read-only folder
// refuses, on Linux and on Windows.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <string>

namespace testing_support {

#ifdef _WIN32

// A process of our own program, started suspended: it runs until the object ends it.
class OtherProcess {
public:
    OtherProcess() {
        wchar_t program[MAX_PATH];
        ::GetModuleFileNameW(nullptr, program, MAX_PATH);
        std::wstring commandLine = L"\"" + std::wstring(program) + L"\" --gtest_list_tests";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        if (::CreateProcessW(program, commandLine.data(), nullptr, nullptr, FALSE,
                             CREATE_SUSPENDED, nullptr, nullptr, &startup, &info_)) {
            ::CloseHandle(info_.hThread);
        }
    }
    ~OtherProcess() { End(); }
    OtherProcess(const OtherProcess&) = delete;
    OtherProcess& operator=(const OtherProcess&) = delete;

    std::string Id() const { return std::to_string(info_.dwProcessId); }
    // Ends the process and waits until it is gone.
    void End() {
        if (info_.hProcess == nullptr) return;
        ::TerminateProcess(info_.hProcess, 0);
        ::WaitForSingleObject(info_.hProcess, INFINITE);
        ::CloseHandle(info_.hProcess);
        info_.hProcess = nullptr;
    }

private:
    PROCESS_INFORMATION info_{};
};

// The number of a process that has ended.
inline std::string EndedProcessId() {
    OtherProcess child;
    const std::string id = child.Id();
    child.End();
    return id;
}

inline std::string OwnProcessId() { return std::to_string(::GetCurrentProcessId()); }

// A folder's read-only attribute does not refuse new files in it.
inline bool ReadOnlyFoldersTakeNewFiles() { return true; }

#else

// A process that runs while the test does: the one that started it.
class OtherProcess {
public:
    std::string Id() const { return std::to_string(::getppid()); }
};

inline std::string EndedProcessId() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    if (child < 0) return {};
    ::waitpid(child, nullptr, 0);
    return std::to_string(child);
}

inline std::string OwnProcessId() { return std::to_string(::getpid()); }

// Root may write into a folder without write permission.
inline bool ReadOnlyFoldersTakeNewFiles() { return ::geteuid() == 0; }

#endif

}  // namespace testing_support
