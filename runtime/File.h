// Numbered sequential files with a 4096-byte buffer.
//
// A file is opened under an object number (or -1 for a dynamic file), read or written strictly
// in sequence as 16-bit words, 32-bit longs and byte blocks, little-endian, and closed.
// Small writes gather in the buffer, which never becomes completely full: a write that would
// fill it exactly writes out the pending bytes first. Blocks of 4096 bytes or more bypass the
// buffer. Every operation on a number with no open file returns 0 and does nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace runtime {

inline constexpr std::int32_t kFileBufferSize = 4096;

// The file table (growth step 16, free operation FileClose).
void FileLibraryInit();
// Closes every open file, writing its pending bytes: numbered files in ascending order,
// then dynamic files oldest first.
void FileLibraryEnd();

// Open operations: non-zero on success (the OS handle, or the identifier for number -1),
// 0 on failure. A file open under the same number is closed first, even when the open fails.
std::int32_t FileOpenRead(int number, std::string_view path);       // existing file
std::int32_t FileCreate(int number, std::string_view path);         // created or emptied
std::int32_t FileOpenReadWrite(int number, std::string_view path);  // opened or created
std::int32_t FileOpenExclusive(int number, std::string_view path);  // existing, not shared

// Writes out the pending bytes and closes the file. Returns 1 when every byte written to the
// file reached the OS and the close succeeded, else 0 (also for -1 or no open file).
int FileClose(int number);

// Next 2 bytes as a signed 16-bit value, sign-extended; bytes past the end read as 0.
std::int32_t FileReadWord(int number);
// Next 4 bytes as a signed 32-bit value; bytes past the end read as 0.
std::int32_t FileReadLong(int number);
// Reads `length` bytes; returns the count read (0 for a length below 1).
std::int32_t FileReadData(int number, void* destination, std::int32_t length);

// Write the low 16 bits / the 32 bits of a value; return 2 / 4.
std::int32_t FileWriteWord(int number, std::int32_t value);
std::int32_t FileWriteLong(int number, std::int32_t value);
// Writes `length` bytes; 0 for a null source or a length below 1.
std::int32_t FileWriteData(int number, const void* source, std::int32_t length);

// Writes all the bytes, in pieces of at most 1 GiB. Returns 1 when the file took every byte, 0
// when a write came up short (the rest is not tried).
int FileWriteAll(int number, const void* source, std::size_t length);

// Whole files, for the readers that take a file in one piece (images, Tiled files). Reads the
// file at `path` in chunks into `bytes` under no number (nothing needs to be started for it).
// Missing: it could not be opened (FileLastError says why). TooLarge: it holds more than
// `limit` bytes, refused by its size before it is read, or grew past it while it was read.
// `bytes` holds what was read only for Read. Running out of memory throws std::bad_alloc.
enum class WholeFile { Read, Missing, TooLarge };
WholeFile FileReadWhole(std::string_view path, std::vector<std::uint8_t>& bytes,
                        std::int64_t limit = std::numeric_limits<std::int64_t>::max());

// Why the last failing file operation failed (opens refuse folders, FIFOs and devices at once).
// Failing operations set it, successful ones leave it as it was: read it right after a failure.
enum class FileError { None, NotFound, Folder, NotRegular, Denied, NoSpace, TooLarge, Other };
FileError FileLastError();

// Bytes after the read or write position: what reads can still take. 0 for no open file.
std::int64_t FileBytesLeft(int number);

// 1 once a read came up short because the file had no more bytes, else 0.
int FileAtEnd(int number);

// Writes out the pending bytes and forces the file's data to the storage device. Returns 1
// when every byte written so far reached the device, else 0.
int FileSync(int number);

// Creates a new empty file under a hidden name that no file in the folder has ("" = the current
// directory) and opens it under the number (not -1) as FileCreate does. Returns the new file's path
// (folder + "\\" + name), "" on failure. An existing file is never opened. Until FileReplace or
// FileDelete takes it, an interrupt or termination request (Strg+C, SIGTERM) deletes it before
// the process ends.
std::string FileCreateTemporary(int number, std::string_view folder);

// Deletes what FileCreateTemporary left in a folder for a program that was killed in the middle
// of a save: its temporary files, once no process of the number in their name runs and they are
// at least `minimumAgeSeconds` old. Returns how many were deleted.
int FileRemoveAbandonedTemporaries(std::string_view folder, std::int64_t minimumAgeSeconds);

// How the names of a path are found: a name with no exact match on disk takes one that
// differs only in case, as the program finds its own files (maps copied from Windows); or
// every name is taken exactly as written, for a new file a user names, which must never
// replace another file whose name differs only in case.
enum class PathNames { AnyCase, Exact };

// Path operations for writing files safely beside their targets.
// Renames over the target in one step; a read-only target is refused, an existing one keeps
// its permissions.
int FileReplace(std::string_view fromPath, std::string_view toPath,
                PathNames names = PathNames::AnyCase);
int FileDelete(std::string_view path, PathNames names = PathNames::AnyCase);
int FolderCreate(std::string_view path);  // 1 when the folder exists afterwards
// 1 for an existing file that may not be written.
int FileReadOnly(std::string_view path, PathNames names = PathNames::AnyCase);
int FileExists(std::string_view path);  // 1 when a regular file of that name exists
int FileSame(std::string_view pathA, std::string_view pathB);  // 1 when both name one file
// Names of the regular files in a folder, in byte order.
std::vector<std::string> FolderFiles(std::string_view folder);
// When a file was last written, in seconds since 1970-01-01 UTC; -1 when there is no such file.
std::int64_t FileWriteTime(std::string_view path);

// This program's process number, and whether a process of a number may still run (one that
// may not be looked at counts as running): for files named after the program that writes them.
std::int64_t ProcessNumber();
int ProcessRuns(std::int64_t number);
// The running program's file as the operating system names it (UTF-8, as FileSystemPath).
std::string ProgramSystemPath();

// The name the operating system knows a path by (UTF-8, '/' between folders, parts that
// differ only in case resolved to the names on disk), for programs that hand paths to others.
std::string FileSystemPath(std::string_view path);

}  // namespace runtime
