// POSIX implementation of the file layer.
#include "platform/PlatformFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <limits>
#include <random>
#include <vector>

#include "platform/Cp1252.h"
#include "platform/PathParts.h"

namespace platform {
namespace {

FileCallCounts gCounts;
FileError gLastError = FileError::None;

// Records why an OS call failed; returns false for use in return statements.
bool Fail(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            gLastError = FileError::NotFound;
            break;
        case EISDIR:
            gLastError = FileError::Folder;
            break;
        case ENXIO:
        case ENODEV:
            gLastError = FileError::NotRegular;
            break;
        case EACCES:
        case EPERM:
        case EROFS:
            gLastError = FileError::Denied;
            break;
        case ENOSPC:
        case EDQUOT:
            gLastError = FileError::NoSpace;
            break;
        case EFBIG:
            gLastError = FileError::TooLarge;
            break;
        default:
            gLastError = FileError::Other;
            break;
    }
    return false;
}

// Temporary files that an interrupt or termination request removes (see FileCreateTemporary).
// The handler may only read these: a slot's path is complete before its flag is set.
struct CleanupSlot {
    char path[PATH_MAX];
    volatile std::sig_atomic_t used;
};
CleanupSlot gCleanup[kInterruptCleanupSlots];

extern "C" void RemoveTemporariesAndEnd(int signal) {
    for (CleanupSlot& slot : gCleanup) {
        if (slot.used != 0) ::unlink(slot.path);
    }
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

// Installs the handler for SIGINT and SIGTERM where nobody else handles or ignores them.
void InstallCleanupHandler() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    for (const int signal : {SIGINT, SIGTERM}) {
        struct sigaction old {};
        if (::sigaction(signal, nullptr, &old) != 0 || old.sa_handler != SIG_DFL) continue;
        struct sigaction action {};
        action.sa_handler = RemoveTemporariesAndEnd;
        ::sigemptyset(&action.sa_mask);
        ::sigaction(signal, &action, nullptr);
    }
}

void WatchTemporary(const std::string& path) {
    if (path.size() >= PATH_MAX) return;
    InstallCleanupHandler();
    for (CleanupSlot& slot : gCleanup) {
        if (slot.used != 0) continue;
        std::memcpy(slot.path, path.c_str(), path.size() + 1);
        slot.used = 1;
        return;
    }
}

// A temporary file's name is unique (process, counter, random), so its last part identifies it
// whichever way the folder was spelt.
void UnwatchTemporary(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.rfind(".~mapeditor-", 0) != 0) return;
    for (CleanupSlot& slot : gCleanup) {
        if (slot.used == 0) continue;
        const char* last = std::strrchr(slot.path, '/');
        if (name == (last != nullptr ? last + 1 : slot.path)) slot.used = 0;
    }
}

// Handles are fd + 1 so that 0 stays free as the failure value even if fd 0 is ours.
int ToFd(FileHandle handle) { return handle - 1; }
FileHandle FromFd(int fd) { return fd + 1; }

bool Exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

// The entry of folder `dir` whose name equals `name` ignoring case; first in byte order.
std::string FindCaseInsensitive(const std::string& dir, const std::string& name) {
    DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
    if (d == nullptr) return {};
    std::vector<std::string> matches;
    while (const dirent* entry = ::readdir(d)) {
        if (::strcasecmp(entry->d_name, name.c_str()) == 0) matches.emplace_back(entry->d_name);
    }
    ::closedir(d);
    if (matches.empty()) return {};
    return *std::min_element(matches.begin(), matches.end());
}

// Replacing a file in place would fail for it: no write bit at all (also for a process that
// may write anything), or no write access for this process.
bool IsReadOnly(const std::string& path, const struct stat& st) {
    return (st.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0;
}

// After a rename the folder's entry must reach the device too, or a power loss may undo it.
void SyncFolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

std::string TranslatePath(std::string_view cp1252Path, PathMatch match) {
    std::string utf8 = Utf8FromCp1252(cp1252Path);
    std::replace(utf8.begin(), utf8.end(), '\\', '/');
    if (match == PathMatch::Exact) return utf8;

    // Resolve part by part: exact name first, else a name differing only in case.
    return ResolvePathParts(utf8, [](const std::string& dir, const std::string& part) {
        if (Exists(dir + part)) return part;
        const std::string other = FindCaseInsensitive(dir, part);
        return other.empty() ? part : other;
    });
}

FileHandle FileOpen(std::string_view cp1252Path, FileOpenMode mode) {
    const std::string path = TranslatePath(cp1252Path);
    // Without blocking: opening a FIFO for reading would wait for a writer, forever.
    constexpr int kFlags = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    int fd = -1;
    switch (mode) {
        case FileOpenMode::Read:
            fd = ::open(path.c_str(), O_RDONLY | kFlags);
            break;
        case FileOpenMode::ReadWrite:
            fd = ::open(path.c_str(), O_RDWR | O_CREAT | kFlags, 0666);
            break;
        case FileOpenMode::Create:
            fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | kFlags, 0666);
            // A file we may write but not read: empty it for writing only.
            if (fd < 0 && errno == EACCES) fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | kFlags);
            break;
        case FileOpenMode::Exclusive:
            fd = ::open(path.c_str(), O_RDWR | kFlags);
            if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
                const int error = errno;
                ::close(fd);
                fd = -1;
                errno = error == EWOULDBLOCK ? EACCES : error;
            }
            break;
    }
    if (fd < 0) return Fail(errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int error = errno;
        ::close(fd);
        if (st.st_mode != 0) {
            gLastError = S_ISDIR(st.st_mode) ? FileError::Folder : FileError::NotRegular;
            return 0;
        }
        return Fail(error);
    }
    // A regular file: reads and writes wait for the disk as usual.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return FromFd(fd);
}

FileError LastFileError() { return gLastError; }

std::int64_t FileRead(FileHandle handle, void* destination, std::int64_t n) {
    ++gCounts.reads;
    if (handle <= 0 || n <= 0) return 0;
    auto* out = static_cast<char*>(destination);
    std::int64_t total = 0;
    while (total < n) {
        const ssize_t got = ::read(ToFd(handle), out + total, static_cast<size_t>(n - total));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) Fail(errno);
        if (got <= 0) break;
        total += got;
    }
    return total;
}

std::int64_t FileSize(FileHandle handle) {
    struct stat st {};
    if (handle <= 0 || ::fstat(ToFd(handle), &st) != 0) return -1;
    return st.st_size;
}

std::int64_t FileWrite(FileHandle handle, const void* source, std::int64_t n) {
    ++gCounts.writes;
    if (handle <= 0 || n <= 0) return 0;
    const auto* in = static_cast<const char*>(source);
    std::int64_t total = 0;
    while (total < n) {
        const ssize_t put = ::write(ToFd(handle), in + total, static_cast<size_t>(n - total));
        if (put < 0 && errno == EINTR) continue;
        if (put < 0) Fail(errno);
        if (put <= 0) break;
        total += put;
    }
    return total;
}

bool FileSync(FileHandle handle) {
    return handle > 0 && (::fsync(ToFd(handle)) == 0 || Fail(errno));
}

bool FileCloseHandle(FileHandle handle) {
    return handle > 0 && (::close(ToFd(handle)) == 0 || Fail(errno));
}

FileHandle FileCreateTemporary(std::string_view cp1252Folder, std::string* name) {
    static std::uint64_t counter = 0;
    std::string folder = cp1252Folder.empty() ? std::string(".") : TranslatePath(cp1252Folder);
    if (folder.back() != '/') folder += '/';
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        char candidate[64];
        std::snprintf(candidate, sizeof candidate, ".~mapeditor-%ld-%llu-%08x.tmp",
                      static_cast<long>(::getpid()), static_cast<unsigned long long>(++counter),
                      static_cast<unsigned>(random()));
        // An interrupt between creating the file and watching it would leave the file behind:
        // it waits until the file is watched.
        sigset_t interrupts;
        sigset_t previous;
        sigemptyset(&interrupts);
        sigaddset(&interrupts, SIGINT);
        sigaddset(&interrupts, SIGTERM);
        ::pthread_sigmask(SIG_BLOCK, &interrupts, &previous);
        const int fd =
            ::open((folder + candidate).c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        const int openError = errno;
        if (fd >= 0) WatchTemporary(folder + candidate);
        ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
        if (fd >= 0) {
            if (name != nullptr) *name = candidate;
            return FromFd(fd);
        }
        if (openError != EEXIST) return Fail(openError);
    }
    return Fail(EEXIST);
}

int RemoveAbandonedTemporaries(std::string_view cp1252Folder, std::int64_t minimumAgeSeconds) {
    std::string folder = cp1252Folder.empty() ? std::string(".") : TranslatePath(cp1252Folder);
    if (folder.back() != '/') folder += '/';
    DIR* d = ::opendir(folder.c_str());
    if (d == nullptr) return 0;
    const std::int64_t now = static_cast<std::int64_t>(::time(nullptr));
    int removed = 0;
    while (const dirent* entry = ::readdir(d)) {
        // Exactly the names FileCreateTemporary makes: .~mapeditor-PID-COUNT-XXXXXXXX.tmp
        long pid = 0;
        unsigned long long count = 0;
        unsigned random = 0;
        int end = 0;
        if (std::sscanf(entry->d_name, ".~mapeditor-%ld-%llu-%8x.tmp%n", &pid, &count, &random,
                        &end) != 3 ||
            entry->d_name[end] != '\0' || pid <= 0 || pid == static_cast<long>(::getpid())) {
            continue;
        }
        const std::string path = folder + entry->d_name;
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        if (now - static_cast<std::int64_t>(st.st_mtime) < minimumAgeSeconds) continue;
        // A process of that number that still runs (or that we may not signal) may be saving.
        if (ProcessMayRun(pid)) continue;
        if (::unlink(path.c_str()) == 0) ++removed;
    }
    ::closedir(d);
    return removed;
}

bool FileReplace(std::string_view cp1252From, std::string_view cp1252To, PathMatch match) {
    const std::string from = TranslatePath(cp1252From, match);
    const std::string to = TranslatePath(cp1252To, match);
    struct stat target {};
    if (::stat(to.c_str(), &target) == 0) {
        if (IsReadOnly(to, target)) return Fail(EACCES);
        if (::chmod(from.c_str(), target.st_mode & 07777) != 0) return Fail(errno);
    }
    if (::rename(from.c_str(), to.c_str()) != 0) return Fail(errno);
    UnwatchTemporary(from);
    SyncFolderOf(to);
    return true;
}

bool FileIsReadOnly(std::string_view cp1252Path, PathMatch match) {
    const std::string path = TranslatePath(cp1252Path, match);
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && IsReadOnly(path, st);
}

bool FileExists(std::string_view cp1252Path) {
    struct stat st {};
    return ::stat(TranslatePath(cp1252Path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool FilesSame(std::string_view cp1252A, std::string_view cp1252B) {
    struct stat a {
    }, b{};
    return ::stat(TranslatePath(cp1252A).c_str(), &a) == 0 &&
           ::stat(TranslatePath(cp1252B).c_str(), &b) == 0 && a.st_dev == b.st_dev &&
           a.st_ino == b.st_ino;
}

std::int64_t FileWriteTime(std::string_view cp1252Path) {
    struct stat st {};
    if (::stat(TranslatePath(cp1252Path).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
    return static_cast<std::int64_t>(st.st_mtime);
}

std::int64_t ProcessNumber() { return static_cast<std::int64_t>(::getpid()); }

std::string ProgramFile() {
    std::string path(PATH_MAX, '\0');
    const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= path.size()) return {};
    path.resize(static_cast<std::size_t>(n));
    return path;
}

bool ProcessMayRun(std::int64_t number) {
    if (number <= 0 || number > std::numeric_limits<pid_t>::max()) return false;
    return ::kill(static_cast<pid_t>(number), 0) == 0 || errno != ESRCH;
}

std::vector<std::string> FolderFiles(std::string_view cp1252Folder) {
    const std::string folder =
        cp1252Folder.empty() ? std::string(".") : TranslatePath(cp1252Folder);
    std::vector<std::string> names;
    DIR* d = ::opendir(folder.c_str());
    if (d == nullptr) return names;
    while (const dirent* entry = ::readdir(d)) {
        struct stat st {};
        const std::string utf8 = entry->d_name;
        if (::stat((folder + "/" + utf8).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        std::string cp1252 = Cp1252FromUtf8(utf8);
        if (Utf8FromCp1252(cp1252) == utf8) names.push_back(std::move(cp1252));
    }
    ::closedir(d);
    std::sort(names.begin(), names.end());
    return names;
}

bool FileDelete(std::string_view cp1252Path, PathMatch match) {
    const std::string path = TranslatePath(cp1252Path, match);
    if (::unlink(path.c_str()) != 0) return Fail(errno);
    UnwatchTemporary(path);
    return true;
}

bool FolderCreate(std::string_view cp1252Path) {
    const std::string path = TranslatePath(cp1252Path);
    if (::mkdir(path.c_str(), 0777) == 0) return true;
    struct stat st {};
    return errno == EEXIST && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

FileCallCounts GetFileCallCounts() { return gCounts; }

}  // namespace platform
