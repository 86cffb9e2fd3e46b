// OS file access for the runtime's sequential files.
// Paths arrive as the program writes them: CP1252 bytes with '\' as the folder separator,
// relative to the current directory. They are translated here: '\' becomes '/', the bytes
// become a UTF-8 file name, and each part of the path that has no exact match on disk is
// matched case-insensitively (maps copied from Windows arrive as "karten/wald.map").
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

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

// Opens a regular file; folders and other special files are refused. Returns 0 on failure.
FileHandle FileOpen(std::string_view cp1252Path, FileOpenMode mode,
                    PathMatch match = PathMatch::AnyCase);

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

// Renames a file over an existing one in a single step. Returns true on success.
bool FileReplace(std::string_view cp1252From, std::string_view cp1252To,
                 PathMatch match = PathMatch::AnyCase);

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
