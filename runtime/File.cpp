// Numbered sequential files: the buffer rules and the little-endian value layout.
#include "runtime/File.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "platform/PlatformFile.h"
#include "runtime/ObjectTable.h"

namespace runtime {
namespace {

constexpr int kReadMode = 1;
constexpr int kWriteMode = 0;

struct FileSlot {
    platform::FileHandle handle = 0;
    std::unique_ptr<std::uint8_t[]> buffer;  // null when it could not be had: unbuffered
    std::int32_t bufferSize = 0;
    std::int32_t bytesLeft = 0;    // write mode: free bytes; read mode: bytes not handed out
    std::int32_t bytesFilled = 0;  // read mode: bytes the last refill placed in the buffer
    std::int64_t osPosition = 0;   // where the OS's next read or write starts
    int mode = kReadMode;
    bool writeFailed = false;  // the OS took fewer bytes than it was given
    bool atEnd = false;        // a read came up short

    bool InUse() const { return handle != 0; }
};

void CloseForTable(int number) { FileClose(number); }

std::unique_ptr<ObjectTable<FileSlot>> gFiles;

FileSlot* Find(int number) { return gFiles ? gFiles->Lookup(number) : nullptr; }

platform::PathMatch Match(PathNames names) {
    return names == PathNames::Exact ? platform::PathMatch::Exact : platform::PathMatch::AnyCase;
}

// Opens the file that `open` gives under the number; a file already open there is closed first.
template <typename OpenOperation>
std::int32_t Open(int number, OpenOperation open) {
    if (!gFiles) return 0;
    int identifier = 0;
    FileSlot* slot = gFiles->GetOrCreate(number, &identifier);
    if (slot == nullptr) return 0;
    const platform::FileHandle handle = open();
    if (handle == 0) {
        if (number == -1) gFiles->Free(identifier);  // give the empty node back at once
        return 0;
    }
    slot->handle = handle;
    slot->buffer.reset(new (std::nothrow) std::uint8_t[kFileBufferSize]);
    slot->bufferSize = kFileBufferSize;
    slot->bytesLeft = 0;
    slot->bytesFilled = 0;
    slot->osPosition = 0;
    slot->mode = kReadMode;
    return number == -1 ? identifier : handle;
}

std::int32_t Open(int number, std::string_view path, platform::FileOpenMode mode) {
    return Open(number, [&] { return platform::FileOpen(path, mode); });
}

std::int32_t OsWrite(FileSlot& slot, const void* source, std::int32_t n) {
    const auto written = static_cast<std::int32_t>(platform::FileWrite(slot.handle, source, n));
    if (written != n) slot.writeFailed = true;
    slot.osPosition += written;
    return written;
}

std::int32_t OsRead(FileSlot& slot, void* destination, std::int32_t n) {
    const auto got = static_cast<std::int32_t>(platform::FileRead(slot.handle, destination, n));
    slot.osPosition += got;
    return got;
}

// Writes the pending bytes with one OS call (also when there are none); only in write mode.
std::int32_t Flush(FileSlot& slot) {
    if (slot.mode != kWriteMode) return 0;
    const std::int32_t written = OsWrite(slot, slot.buffer.get(), slot.bufferSize - slot.bytesLeft);
    slot.bytesLeft = slot.bufferSize;
    return written;
}

std::int32_t BufferWrite(FileSlot& slot, const void* source, std::int32_t n) {
    if (!slot.buffer) return OsWrite(slot, source, n);
    if (slot.mode == kReadMode) {  // unread read-ahead is dropped
        slot.mode = kWriteMode;
        slot.bytesLeft = slot.bufferSize;
    }
    if (slot.bytesLeft > n) {
        std::memcpy(slot.buffer.get() + (slot.bufferSize - slot.bytesLeft), source, n);
        slot.bytesLeft -= n;
        return n;
    }
    Flush(slot);
    if (n >= slot.bufferSize) return OsWrite(slot, source, n);
    std::memcpy(slot.buffer.get(), source, n);
    slot.bytesLeft -= n;
    return n;
}

std::int32_t BufferRead(FileSlot& slot, void* destination, std::int32_t n) {
    std::int32_t result = 0;
    auto* out = static_cast<std::uint8_t*>(destination);
    if (!slot.buffer) {
        result = OsRead(slot, destination, n);
    } else {
        if (slot.mode == kWriteMode) {
            Flush(slot);
            slot.mode = kReadMode;
            slot.bytesLeft = 0;
        }
        if (slot.bytesLeft >= n) {
            std::memcpy(out, slot.buffer.get() + (slot.bytesFilled - slot.bytesLeft), n);
            slot.bytesLeft -= n;
            return n;
        }
        const std::int32_t m = slot.bytesLeft;
        std::memcpy(out, slot.buffer.get() + (slot.bytesFilled - m), m);
        slot.bytesLeft = 0;
        const std::int32_t rest = n - m;
        if (rest >= slot.bufferSize) {
            result = m + OsRead(slot, out + m, rest);
        } else {
            const std::int32_t got = OsRead(slot, slot.buffer.get(), slot.bufferSize);
            slot.bytesFilled = got;
            const std::int32_t count = std::min(rest, got);
            std::memcpy(out + m, slot.buffer.get(), count);
            slot.bytesLeft = got - count;
            result = m + count;
        }
    }
    if (result < n) slot.atEnd = true;
    return result;
}

}  // namespace

void FileLibraryInit() { gFiles = std::make_unique<ObjectTable<FileSlot>>(16, &CloseForTable); }

void FileLibraryEnd() {
    if (gFiles) gFiles->FreeAll();
}

std::int32_t FileOpenRead(int number, std::string_view path) {
    return Open(number, path, platform::FileOpenMode::Read);
}
std::int32_t FileCreate(int number, std::string_view path) {
    return Open(number, path, platform::FileOpenMode::Create);
}
std::int32_t FileOpenReadWrite(int number, std::string_view path) {
    return Open(number, path, platform::FileOpenMode::ReadWrite);
}
std::int32_t FileOpenExclusive(int number, std::string_view path) {
    return Open(number, path, platform::FileOpenMode::Exclusive);
}

int FileClose(int number) {
    if (number == -1) return 0;
    FileSlot* slot = Find(number);
    if (slot == nullptr) return 0;
    if (slot->buffer) Flush(*slot);
    const bool closed = platform::FileCloseHandle(slot->handle);
    const bool ok = closed && !slot->writeFailed;
    gFiles->Free(number);
    return ok ? 1 : 0;
}

std::int32_t FileReadWord(int number) {
    FileSlot* slot = Find(number);
    if (slot == nullptr) return 0;
    std::uint8_t bytes[2] = {0, 0};
    BufferRead(*slot, bytes, 2);
    return static_cast<std::int16_t>(bytes[0] | (bytes[1] << 8));
}

std::int32_t FileReadLong(int number) {
    FileSlot* slot = Find(number);
    if (slot == nullptr) return 0;
    std::uint8_t bytes[4] = {0, 0, 0, 0};
    BufferRead(*slot, bytes, 4);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(bytes[0]) |
                                     (static_cast<std::uint32_t>(bytes[1]) << 8) |
                                     (static_cast<std::uint32_t>(bytes[2]) << 16) |
                                     (static_cast<std::uint32_t>(bytes[3]) << 24));
}

std::int32_t FileReadData(int number, void* destination, std::int32_t length) {
    FileSlot* slot = Find(number);
    if (slot == nullptr || destination == nullptr || length < 1) return 0;
    return BufferRead(*slot, destination, length);
}

std::int32_t FileWriteWord(int number, std::int32_t value) {
    FileSlot* slot = Find(number);
    if (slot == nullptr) return 0;
    const auto v = static_cast<std::uint32_t>(value);
    const std::uint8_t bytes[2] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)};
    return BufferWrite(*slot, bytes, 2);
}

std::int32_t FileWriteLong(int number, std::int32_t value) {
    FileSlot* slot = Find(number);
    if (slot == nullptr) return 0;
    const auto v = static_cast<std::uint32_t>(value);
    const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                                   static_cast<std::uint8_t>(v >> 16),
                                   static_cast<std::uint8_t>(v >> 24)};
    return BufferWrite(*slot, bytes, 4);
}

std::int32_t FileWriteData(int number, const void* source, std::int32_t length) {
    FileSlot* slot = Find(number);
    if (slot == nullptr || source == nullptr || length < 1) return 0;
    return BufferWrite(*slot, source, length);
}

int FileWriteAll(int number, const void* source, std::size_t length) {
    constexpr std::size_t kPiece = std::size_t{1} << 30;
    const auto* at = static_cast<const std::uint8_t*>(source);
    while (length > 0) {
        const auto n = static_cast<std::int32_t>(std::min(length, kPiece));
        if (FileWriteData(number, at, n) != n) return 0;
        at += n;
        length -= static_cast<std::size_t>(n);
    }
    return 1;
}

WholeFile FileReadWhole(std::string_view path, std::vector<std::uint8_t>& bytes,
                        std::int64_t limit) {
    constexpr std::int64_t kChunk = std::int64_t{1} << 20;
    bytes.clear();
    const platform::FileHandle file = platform::FileOpen(path, platform::FileOpenMode::Read);
    if (file == 0) return WholeFile::Missing;
    const std::int64_t size = std::max<std::int64_t>(platform::FileSize(file), 0);
    WholeFile result = size > limit ? WholeFile::TooLarge : WholeFile::Read;
    try {
        // Room for the file and the chunk that finds its end.
        if (result == WholeFile::Read) bytes.reserve(static_cast<std::size_t>(size + kChunk));
        while (result == WholeFile::Read) {
            const std::size_t had = bytes.size();
            if (static_cast<std::int64_t>(had) > limit) {
                result = WholeFile::TooLarge;
                break;
            }
            bytes.resize(had + static_cast<std::size_t>(kChunk));
            const std::int64_t got = platform::FileRead(file, bytes.data() + had, kChunk);
            bytes.resize(had + static_cast<std::size_t>(got));
            if (got < kChunk) break;
        }
    } catch (...) {
        platform::FileCloseHandle(file);
        bytes.clear();
        throw;
    }
    if (static_cast<std::int64_t>(bytes.size()) > limit) result = WholeFile::TooLarge;
    platform::FileCloseHandle(file);
    if (result != WholeFile::Read) {
        bytes.clear();
        bytes.shrink_to_fit();
    }
    return result;
}

std::int64_t FileBytesLeft(int number) {
    const FileSlot* slot = Find(number);
    if (slot == nullptr) return 0;
    const std::int64_t size = platform::FileSize(slot->handle);
    std::int64_t position = slot->osPosition;
    if (slot->buffer) {
        position += slot->mode == kReadMode ? -std::int64_t{slot->bytesLeft}
                                            : std::int64_t{slot->bufferSize - slot->bytesLeft};
    }
    return std::max<std::int64_t>(size - position, 0);
}

FileError FileLastError() {
    switch (platform::LastFileError()) {
        case platform::FileError::None:
            return FileError::None;
        case platform::FileError::NotFound:
            return FileError::NotFound;
        case platform::FileError::Folder:
            return FileError::Folder;
        case platform::FileError::NotRegular:
            return FileError::NotRegular;
        case platform::FileError::Denied:
            return FileError::Denied;
        case platform::FileError::NoSpace:
            return FileError::NoSpace;
        case platform::FileError::TooLarge:
            return FileError::TooLarge;
        case platform::FileError::Other:
            break;
    }
    return FileError::Other;
}

int FileAtEnd(int number) {
    const FileSlot* slot = Find(number);
    return slot != nullptr && slot->atEnd ? 1 : 0;
}

int FileSync(int number) {
    FileSlot* slot = Find(number);
    if (slot == nullptr) return 0;
    if (slot->buffer) Flush(*slot);
    return platform::FileSync(slot->handle) && !slot->writeFailed ? 1 : 0;
}

std::string FileCreateTemporary(int number, std::string_view folder) {
    std::string name;
    if (number == -1 ||
        Open(number, [&] { return platform::FileCreateTemporary(folder, &name); }) == 0) {
        return {};
    }
    return folder.empty() ? name : std::string(folder) + "\\" + name;
}

int FileRemoveAbandonedTemporaries(std::string_view folder, std::int64_t minimumAgeSeconds) {
    return platform::RemoveAbandonedTemporaries(folder, minimumAgeSeconds);
}

int FileReplace(std::string_view fromPath, std::string_view toPath, PathNames names) {
    return platform::FileReplace(fromPath, toPath, Match(names)) ? 1 : 0;
}

int FileDelete(std::string_view path, PathNames names) {
    return platform::FileDelete(path, Match(names)) ? 1 : 0;
}

int FolderCreate(std::string_view path) { return platform::FolderCreate(path) ? 1 : 0; }

int FileReadOnly(std::string_view path, PathNames names) {
    return platform::FileIsReadOnly(path, Match(names)) ? 1 : 0;
}

int FileExists(std::string_view path) { return platform::FileExists(path) ? 1 : 0; }

int FileSame(std::string_view pathA, std::string_view pathB) {
    return platform::FilesSame(pathA, pathB) ? 1 : 0;
}

std::vector<std::string> FolderFiles(std::string_view folder) {
    return platform::FolderFiles(folder);
}

std::int64_t FileWriteTime(std::string_view path) { return platform::FileWriteTime(path); }

std::int64_t ProcessNumber() { return platform::ProcessNumber(); }

int ProcessRuns(std::int64_t number) { return platform::ProcessMayRun(number) ? 1 : 0; }

std::string ProgramSystemPath() { return platform::ProgramFile(); }

std::string FileSystemPath(std::string_view path) { return platform::TranslatePath(path); }

}  // namespace runtime
