// Writing and reading MAP files.
#include "editor/MapFile.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

#include "editor/MapDocument.h"
#include "editor/SafeFile.h"
#include "runtime/File.h"
#include "runtime/RtString.h"

namespace editor {
namespace {

constexpr int kMapFile = 0;

// The grid travels in blocks of this many values rather than one call per field: a block is
// larger than the file buffer, so it goes to the OS in one call, which keeps a 1000 x 1000 map
// near the speed of plain I/O. The bytes in the file are the same either way.
constexpr std::int64_t kBlockValues = 16384;

// Values in the file are little-endian; on a big-endian machine swap them in place.
void SwapToFileOrder(std::int32_t* values, std::int64_t n) {
    if constexpr (std::endian::native == std::endian::big) {
        for (std::int64_t i = 0; i < n; ++i) {
            const auto v = static_cast<std::uint32_t>(values[i]);
            values[i] = static_cast<std::int32_t>((v >> 24) | ((v >> 8) & 0xFF00) |
                                                  ((v << 8) & 0xFF0000) | (v << 24));
        }
    } else {
        (void)values;
        (void)n;
    }
}

// Position in the grid in file order: column by column, each from row 0 to LastFieldY.
struct GridCursor {
    std::int64_t x = 0;
    std::int64_t y = 0;
};

// The part of a run of `count` rows from (x, y) down that lies inside the Fields array.
std::int64_t RowsInArray(const GridCursor& at, std::int64_t count) {
    if (!FieldInArray(at.x, at.y)) return 0;
    return std::min<std::int64_t>(count, kFieldsSize - at.y);
}

// Moves `count` values between a block and the grid, starting at `at`, column by column.
// Fields outside the array read as 0 and take nothing when written.
template <bool kToBlock>
void Transfer(GridCursor& at, std::int32_t* block, std::int64_t count) {
    const std::int64_t rows = static_cast<std::int64_t>(Document.LastFieldY) + 1;
    std::int64_t i = 0;
    while (i < count) {
        const std::int64_t run = std::min(rows - at.y, count - i);
        const std::int64_t inside = RowsInArray(at, run);
        if (inside > 0) {
            std::int32_t* field = &Document.Fields(at.x, at.y);
            if constexpr (kToBlock) {
                std::memcpy(block + i, field, static_cast<std::size_t>(inside) * 4);
            } else {
                std::memcpy(field, block + i, static_cast<std::size_t>(inside) * 4);
            }
        }
        if constexpr (kToBlock) std::fill(block + i + inside, block + i + run, 0);
        i += run;
        at.y += run;
        if (at.y == rows) {
            at.y = 0;
            ++at.x;
        }
    }
}

std::int64_t GridValueCount() {
    if (Document.LastFieldX < 0 || Document.LastFieldY < 0) return 0;
    return (static_cast<std::int64_t>(Document.LastFieldX) + 1) *
           (static_cast<std::int64_t>(Document.LastFieldY) + 1);
}

void WriteGrid() {
    std::vector<std::int32_t> block(kBlockValues);
    GridCursor at;
    for (std::int64_t left = GridValueCount(); left > 0;) {
        const std::int64_t n = std::min(left, kBlockValues);
        Transfer<true>(at, block.data(), n);
        SwapToFileOrder(block.data(), n);
        runtime::FileWriteData(kMapFile, block.data(), static_cast<std::int32_t>(n * 4));
        left -= n;
    }
}

// Reads the grid until it is complete or the file ends; a value cut off by the end of the
// file keeps the bytes it has in its low end, and everything after it stays 0.
void ReadGrid() {
    std::vector<std::int32_t> block(kBlockValues);
    GridCursor at;
    for (std::int64_t left = GridValueCount(); left > 0;) {
        const std::int64_t n = std::min(left, kBlockValues);
        const auto want = static_cast<std::int32_t>(n * 4);
        const std::int32_t got = runtime::FileReadData(kMapFile, block.data(), want);
        const std::int32_t whole = got / 4;
        std::int64_t count = whole;
        if (got % 4 != 0) {
            auto* bytes = reinterpret_cast<std::uint8_t*>(block.data() + whole);
            std::uint32_t partial = 0;
            for (int k = got % 4 - 1; k >= 0; --k) partial = (partial << 8) | bytes[k];
            SwapToFileOrder(block.data(), whole);
            block[whole] = static_cast<std::int32_t>(partial);
            ++count;
        } else {
            SwapToFileOrder(block.data(), whole);
        }
        Transfer<false>(at, block.data(), count);
        if (got < want) return;
        left -= n;
    }
}

// 30 + L + 12 * P + 4 * (X + 1) * (Y + 1) for the document's header, held at INT64_MAX.
std::int64_t HeaderSize(std::int32_t nameLength) {
    __extension__ using Wide = __int128;
    const Wide players = std::max<std::int32_t>(Document.PlayerCount, 0);
    const Wide size = Wide{30} + std::max<std::int32_t>(nameLength, 0) + 12 * players +
                      4 * Wide{GridValueCount()};
    return static_cast<std::int64_t>(std::min<Wide>(size, INT64_MAX));
}

std::string BasePath() { return std::string(kMapFolder) + "\\" + Document.FileName; }

void WriteDocument() {
    WriteStoredString(kMapFile, Document.MapName);
    for (std::int32_t v :
         {Document.PlayerCount, Document.SlotCount, Document.BallCount, Document.FieldWidth,
          Document.FieldHeight, Document.LastFieldX, Document.LastFieldY}) {
        runtime::FileWriteLong(kMapFile, v);
    }
    // The main loop keeps the counts inside the arrays; should a caller not have, values
    // beyond them are written as 0 so that the file still matches its header.
    for (std::int64_t p = 1; p <= Document.PlayerCount; ++p) {
        const PlayerStart player = p <= kPlayersUpperBound
                                       ? Document.Players(static_cast<std::int32_t>(p))
                                       : PlayerStart{};
        runtime::FileWriteLong(kMapFile, player.X);
        runtime::FileWriteLong(kMapFile, player.Y);
        runtime::FileWriteLong(kMapFile, player.Direction);
    }
    WriteGrid();
}

}  // namespace

std::string MapFilePath() { return MapFilePathOf(Document.FileName); }

std::string MapFilePathOf(std::string_view fileName) {
    return std::string(kMapFolder) + "\\" + std::string(fileName) + ".MAP";
}

std::string TileSetPath() { return BasePath() + ".PNG"; }

void WriteStoredString(int file, std::string_view text) {
    std::int32_t n = runtime::StringLength(text);
    if (n > kMaxStoredStringLength) n = kMaxStoredStringLength;
    runtime::FileWriteWord(file, n);
    runtime::FileWriteData(file, text.data(), n);
}

std::string ReadStoredString(int file, std::int32_t* storedLength) {
    const std::int32_t n = runtime::FileReadWord(file);
    if (storedLength != nullptr) *storedLength = n;
    std::string text = runtime::StringSpace(n);
    runtime::FileReadData(file, text.data(), n);
    text.resize(static_cast<std::size_t>(runtime::StringLength(text)));
    return text;
}

int WriteMapFile() { return WriteMapFileTo(MapFilePath()); }

int WriteMapFileTo(std::string_view path) {
    runtime::FolderCreate(kMapFolder);
    return WriteMapFileAt(path);
}

int WriteMapFileAt(std::string_view path) {
    return WriteFileSafely(kMapFile, path, [] {
        WriteDocument();
        return true;
    });
}

int ReadMapFile() { return ReadMapFileFrom(MapFilePath()); }

int ReadMapFileFrom(std::string_view path) { return ReadMapFileAt(path).opened ? 1 : 0; }

MapFileRead ReadMapFileAt(std::string_view path) {
    ResizeDocumentArrays();
    MapFileRead read;
    read.opened = runtime::FileOpenRead(kMapFile, path) != 0;
    Document.MapName = ReadStoredString(kMapFile, &read.nameLength);
    for (std::int32_t* v :
         {&Document.PlayerCount, &Document.SlotCount, &Document.BallCount, &Document.FieldWidth,
          &Document.FieldHeight, &Document.LastFieldX, &Document.LastFieldY}) {
        *v = runtime::FileReadLong(kMapFile);
    }
    read.headerSize = HeaderSize(read.nameLength);
    // A damaged file may announce more than the arrays hold, or far more than it has.
    const auto more = [&] { return read.opened && runtime::FileAtEnd(kMapFile) == 0; };
    for (std::int64_t p = 1; p <= Document.PlayerCount && more(); ++p) {
        PlayerStart player{};
        player.X = runtime::FileReadLong(kMapFile);
        player.Y = runtime::FileReadLong(kMapFile);
        player.Direction = runtime::FileReadLong(kMapFile);
        if (p <= kPlayersUpperBound) Document.Players(static_cast<std::int32_t>(p)) = player;
    }
    if (more()) ReadGrid();
    if (read.opened) {
        read.shorter = runtime::FileAtEnd(kMapFile) != 0;
        std::uint8_t extra = 0;
        read.longer = !read.shorter && runtime::FileReadData(kMapFile, &extra, 1) == 1;
    }
    runtime::FileClose(kMapFile);
    return read;
}

}  // namespace editor
