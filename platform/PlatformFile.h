// OS file access for the runtime's sequential files.
// Paths arrive as the program writes them: CP1252 bytes with '\' as the folder separator,
// relative to the current directory. They are translated here: '\' becomes '/', the bytes
// become a UTF-8 file name, and each part of the path that has no exact match on disk is
// matched case-insensitively (maps copied from Windows arrive as "karten/wald.map").
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

enum class FileOpenMode {
    Read = 1,       // existing file, reading; others may read too
    ReadWrite = 2,  // opened or created, reading and writing
    Create = 3,     // created or emptied, reading and writing
    Exclusive = 4,  // existing file, reading and writing, nobody else may open it
};

// How a path's names are found: a name with no exact match on disk takes one that differs only
// in case (the program's own files), or every name is taken exactly as written (files a user
// names for a new output, which must never replace another file).
enum class PathMatch { AnyCase, Exact };

// A handle is positive while a file is open; 0 is never a valid handle.
using FileHandle = std::int32_t;

// Opens a regular file; folders and other special files are refused. The open never waits: a
// FIFO, a device or a socket is refused at once (opened without blocking, then examined), never
// read. Returns 0 on failure.
FileHandle FileOpen(std::string_view cp1252Path, FileOpenMode mode);

// Why the last operation of this layer that failed did fail. Every failing operation that
// touches the file system sets it (a successful one leaves it as it was), so read it right after
// the failure. Both backends map their OS errors onto these.
enum class FileError {
    None,
    NotFound,    // the file or a folder on its path does not exist
    Folder,      // a folder where a file was expected
    NotRegular,  // a FIFO, device or socket: refused without waiting
    Denied,      // no permission
    NoSpace,     // the storage device is full (or the user's quota)
    TooLarge,    // beyond the largest file the file system or process may write
    Other,
};
FileError LastFileError();

// Reads up to n bytes; returns the count read (0 at the end of the file or on an error).
std::int64_t FileRead(FileHandle handle, void* destination, std::int64_t n);

// Size in bytes of an open file, or -1 on an error.
std::int64_t FileSize(FileHandle handle);

// Writes n bytes, retrying partial writes; returns the count the OS took (less than n on an
// error such as a full disk or the file size limit).
std::int64_t FileWrite(FileHandle handle, const void* source, std::int64_t n);

// Forces written data to the storage device. Returns true on success.
bool FileSync(FileHandle handle);

// Closes the handle. Returns true when the OS reported no error.
bool FileCloseHandle(FileHandle handle);

// Creates and opens (reading and writing) a new empty file in a folder ("" = the current
// directory) under a hidden name that no file there has: it is created exclusively, so an
// existing file is never opened, whoever made it. `name` receives the file name (ASCII, no
// folder). Returns 0 on failure.
// Until FileReplace renames it or FileDelete deletes it, the file is deleted when the process is
// ended by an interrupt or termination request (SIGINT or SIGTERM; on Windows Ctrl+C, Ctrl+Break
// and the console's close), which then ends the process as it would have: a killed save or render
// leaves no hidden file behind. At most kInterruptCleanupSlots such files are watched at once
// (further ones are still created, only not watched).
FileHandle FileCreateTemporary(std::string_view cp1252Folder, std::string* name);
inline constexpr int kInterruptCleanupSlots = 8;

// Deletes the temporary files of FileCreateTemporary in a folder that a process which no longer
// runs left behind (killed in the middle of a save), once they are `minimumAgeSeconds` old;
// files of running processes, young files and every other file stay. Returns how many went.
int RemoveAbandonedTemporaries(std::string_view cp1252Folder, std::int64_t minimumAgeSeconds);

// Renames a file over another in a single step: the target is afterwards either the old file
// or the new one, never a mixture. A target that exists keeps its permission bits (the new
// file takes them) and is not replaced when it is read-only (see FileIsReadOnly). The folder's
// entry is forced to the storage device. Returns true on success.
bool FileReplace(std::string_view cp1252From, std::string_view cp1252To,
                 PathMatch match = PathMatch::AnyCase);

// True for an existing file that may not be written: no write permission bit is set, or the
// process has no write access to it.
bool FileIsReadOnly(std::string_view cp1252Path, PathMatch match = PathMatch::AnyCase);

// True when a regular file of that name exists.
bool FileExists(std::string_view cp1252Path);

// True when both paths name the same existing file.
bool FilesSame(std::string_view cp1252A, std::string_view cp1252B);

// Names of the regular files in a folder, in byte order; names that CP1252 cannot spell are
// left out.
std::vector<std::string> FolderFiles(std::string_view cp1252Folder);

// When a file was last written, in seconds since 1970-01-01 UTC; -1 when there is no such file.
std::int64_t FileWriteTime(std::string_view cp1252Path);

// This process's number, and whether a process of a number may still run: one that we may not
// look at counts as running. For files named after the process that writes them.
std::int64_t ProcessNumber();
// The running program's file, as the system names it (UTF-8); "" when it cannot be told.
std::string ProgramFile();
bool ProcessMayRun(std::int64_t number);

// Deletes a file. Returns true on success.
bool FileDelete(std::string_view cp1252Path, PathMatch match = PathMatch::AnyCase);

// Creates a folder unless a folder of that name (in any case) exists. True when it exists after.
bool FolderCreate(std::string_view cp1252Path);

// The OS path for a program path (see the header comment).
std::string TranslatePath(std::string_view cp1252Path, PathMatch match = PathMatch::AnyCase);

// Counts of OS read and write calls made through this layer, for tests of the buffering rules.
struct FileCallCounts {
    std::int64_t reads = 0;
    std::int64_t writes = 0;
};
FileCallCounts GetFileCallCounts();

}  // namespace platform
