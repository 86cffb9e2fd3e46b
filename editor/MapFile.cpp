// Writing and reading MAP files.
#include "editor/MapFile.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "editor/MapDocument.h"
#include "editor/SafeFile.h"
#include "runtime/File.h"
#include "runtime/RtString.h"

namespace editor {
namespace {

constexpr int kMapFile = 0;

// The grid is written in blocks of this many values rather than one call per field: a block
// is larger than the file buffer, so it goes to the OS in one call, which keeps a 1000 x 1000
// map near the speed of plain I/O. The bytes in the file are the same either way. (The reader
// reads straight into Fields.)
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
std::int64_t RunInArray(const GridCursor& at, std::int64_t count) {
    if (!FieldInArray(at.x, at.y)) return 0;
    return std::min<std::int64_t>(count, kFieldsSize - at.y);
}

// Copies `count` values of the grid, starting at `at`, column by column, into a block. Fields
// outside the array read as 0.
void CopyToBlock(GridCursor& at, std::int32_t* block, std::int64_t count) {
    const std::int64_t rows = static_cast<std::int64_t>(Document.LastFieldY) + 1;
    const auto& fields = std::as_const(Document.Fields);
    std::int64_t i = 0;
    while (i < count) {
        const std::int64_t run = std::min(rows - at.y, count - i);
        const std::int64_t inside = RunInArray(at, run);
        if (inside > 0) {
            std::memcpy(block + i, &fields(at.x, at.y), static_cast<std::size_t>(inside) * 4);
        }
        std::memset(block + i + inside, 0, static_cast<std::size_t>(run - inside) * 4);
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
    const std::int64_t count = GridValueCount();
    if (count == 0) return;
    // A map 1000 rows high lies in Fields as it lies in the file: its columns go out in one call.
    if (std::endian::native == std::endian::little && Document.LastFieldY == kFieldsSize - 1 &&
        Document.LastFieldX < kFieldsSize) {
        runtime::FileWriteData(kMapFile, std::as_const(Document.Fields).Data(),
                               static_cast<std::int32_t>(count * 4));
        return;
    }
    const auto block = std::make_unique_for_overwrite<std::int32_t[]>(
        static_cast<std::size_t>(std::min(count, kBlockValues)));
    GridCursor at;
    for (std::int64_t left = count; left > 0;) {
        const std::int64_t n = std::min(left, kBlockValues);
        CopyToBlock(at, block.get(), n);
        SwapToFileOrder(block.get(), n);
        runtime::FileWriteData(kMapFile, block.get(), static_cast<std::int32_t>(n * 4));
        left -= n;
    }
}

// The map's columns and rows that lie inside the Fields array.
std::int64_t ColumnsInArray() { return FieldsInArray(Document).columns; }
std::int64_t RowsInArray() { return FieldsInArray(Document).rows; }

// How many of the map's columns in the array the rest of the file reaches, with the players
// still before the grid.
std::int64_t ColumnsTheFileReaches() {
    const std::int64_t rows = std::int64_t{Document.LastFieldY} + 1;
    if (rows <= 0) return 0;
    const std::int64_t gridBytes =
        runtime::FileBytesLeft(kMapFile) - 12 * std::max<std::int64_t>(Document.PlayerCount, 0);
    if (gridBytes <= 0) return 0;
    return std::min(ColumnsInArray(), (gridBytes + 4 * rows - 1) / (4 * rows));
}

// Reads n values into `values`; returns how many the file had. A value cut off by the end of
// the file keeps the bytes it has in its low end and counts.
std::int64_t ReadValues(std::int32_t* values, std::int64_t n) {
    const std::int32_t got =
        runtime::FileReadData(kMapFile, values, static_cast<std::int32_t>(n * 4));
    const std::int32_t whole = got / 4;
    SwapToFileOrder(values, whole);
    if (got % 4 == 0) return whole;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(values + whole);
    std::uint32_t partial = 0;
    for (int k = got % 4 - 1; k >= 0; --k) partial = (partial << 8) | bytes[k];
    values[whole] = static_cast<std::int32_t>(partial);
    return whole + 1;
}

// Reads past n values through `block`; false when the file ended first.
bool SkipValues(std::vector<std::int32_t>& block, std::int64_t n) {
    block.resize(static_cast<std::size_t>(std::min(n, kBlockValues)));
    for (std::int64_t left = n; left > 0;) {
        const std::int64_t chunk = std::min(left, kBlockValues);
        if (ReadValues(block.data(), chunk) < chunk) return false;
        left -= chunk;
    }
    return true;
}

// Clears the fields of the box left for the reader (columns 0..columns-1 by the map's rows in
// the array) from (x, y) on in file order: the file does not reach them.
void ClearRestOfBox(std::int64_t x, std::int64_t y, std::int64_t columns) {
    const std::int64_t rows = RowsInArray();
    for (; x < columns; ++x, y = 0) {
        std::memset(&Document.Fields(x, y), 0, static_cast<std::size_t>(rows - y) * 4);
    }
}

// Reads the grid straight into Fields, column by column, until the map's part of the array is
// complete or the file ends. Values of rows beyond the array are read past; columns beyond it
// are not read, as nothing after them is kept. The first `box` columns were left uncleared
// for this reader: what the file does not reach of them is cleared here.
void ReadGrid(std::int64_t box) {
    const std::int64_t columns = ColumnsInArray();
    const std::int64_t rows = RowsInArray();
    if (columns == 0 || rows == 0) return;
    const std::int64_t skip = std::int64_t{Document.LastFieldY} + 1 - rows;
    // A map 1000 rows high lies in Fields as it lies in the file: all its columns in one read.
    const std::int64_t perRead = skip == 0 && rows == kFieldsSize ? columns : 1;
    std::vector<std::int32_t> skipped;
    for (std::int64_t x = 0; x < columns; x += perRead) {
        const std::int64_t n = perRead * rows;
        std::int32_t* run = &Document.Fields(x, 0);
        const std::int64_t got = ReadValues(run, n);
        Document.Fields.MarkRunUsed(run, got);
        if (got < n) {
            ClearRestOfBox(x + got / rows, got % rows, box);
            return;
        }
        if (skip > 0 && !SkipValues(skipped, skip)) {
            ClearRestOfBox(x + 1, 0, box);
            return;
        }
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

std::optional<std::string> WithoutMapExtension(std::string_view name) {
    constexpr std::string_view kExtension = ".MAP";
    if (name.size() < kExtension.size()) return std::nullopt;
    const std::string_view end = name.substr(name.size() - kExtension.size());
    for (std::size_t i = 0; i < kExtension.size(); ++i) {
        const char c = end[i];
        if ((c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c) != kExtension[i]) {
            return std::nullopt;
        }
    }
    return std::string(name.substr(0, name.size() - kExtension.size()));
}

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
    MapFileRead read;
    read.opened = runtime::FileOpenRead(kMapFile, path) != 0;
    const std::int64_t fileSize = read.opened ? runtime::FileBytesLeft(kMapFile) : 0;
    Document.MapName = ReadStoredString(kMapFile, &read.nameLength);
    for (std::int32_t* v :
         {&Document.PlayerCount, &Document.SlotCount, &Document.BallCount, &Document.FieldWidth,
          &Document.FieldHeight, &Document.LastFieldX, &Document.LastFieldY}) {
        *v = runtime::FileReadLong(kMapFile);
    }
    read.headerSize = HeaderSize(read.nameLength);
    // The previous map goes here. The fields the file will fill are left to ReadGrid rather
    // than cleared first: a large map loads at the speed of reading it.
    const std::int64_t box = ColumnsTheFileReaches();
    ResizeDocumentArrays(static_cast<std::int32_t>(box), static_cast<std::int32_t>(RowsInArray()));
    // A damaged file may announce more than the arrays hold, or far more than it has.
    for (std::int64_t p = 1;
         p <= Document.PlayerCount && read.opened && runtime::FileAtEnd(kMapFile) == 0; ++p) {
        PlayerStart player{};
        player.X = runtime::FileReadLong(kMapFile);
        player.Y = runtime::FileReadLong(kMapFile);
        player.Direction = runtime::FileReadLong(kMapFile);
        if (p <= kPlayersUpperBound) Document.Players(static_cast<std::int32_t>(p)) = player;
    }
    ReadGrid(box);
    runtime::FileClose(kMapFile);
    read.shorter = read.opened && fileSize < read.headerSize;
    read.longer = read.opened && fileSize > read.headerSize;
    return read;
}

}  // namespace editor
