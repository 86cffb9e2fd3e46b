// Fuzz target: arbitrary bytes as a MAP file.
//
// The bytes become "Karten/FUZZ.MAP" in a private temporary folder and are read with
// ReadMapFile. The document must then hold exactly what an independent reading of the same
// bytes gives, with both arrays intact and nothing written outside the map's part of them:
// Fields is compared in full on the first run, later over the part that this run and the one
// before could have filled, with one more column and row (the whole 4 MB every run would cost
// most of the run).
// After the main loop's range corrections the document must save, the file must have the size
// its header promises, and reading it again must give back exactly the corrected document.
// The folder lies in TMPDIR, else in /dev/shm when there is one: every save syncs the file.
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "FuzzCheck.h"
#include "editor/DocumentRanges.h"
#include "editor/MapDocument.h"
#include "editor/MapFile.h"
#include "runtime/File.h"

namespace {

using editor::Document;
using editor::kFieldsSize;
using editor::kPlayersUpperBound;
using editor::PlayerStart;

constexpr std::int64_t kFieldCount = std::int64_t{kFieldsSize} * kFieldsSize;
constexpr int kHeaderCount = 7;

std::filesystem::path gHome;    // the current directory outside a run
std::filesystem::path gFolder;  // ours; holds "Karten"

// A document's values as plain data, to compare the document against.
struct Expected {
    std::string mapName;
    std::array<std::int32_t, kHeaderCount> header{};  // PlayerCount .. LastFieldY, file order
    std::vector<PlayerStart> players = std::vector<PlayerStart>(kPlayersUpperBound + 1);
    // The whole Fields block including its spare element; `touched` lists the indices that
    // may be non-zero, so that resetting it costs no 4 MB per run.
    std::vector<std::int32_t> fields = std::vector<std::int32_t>(kFieldCount + 1);
    std::vector<std::int64_t> touched;
    // The columns and rows of Fields that the file could fill; nothing outside them may differ
    // from 0.
    std::int64_t columns = 0;
    std::int64_t rows = 0;

    std::int32_t PlayerCount() const { return header[0]; }
    std::int32_t LastFieldX() const { return header[5]; }
    std::int32_t LastFieldY() const { return header[6]; }

    void Clear() {
        mapName.clear();
        header = {};
        std::fill(players.begin(), players.end(), PlayerStart{});
        for (std::int64_t i : touched) fields[static_cast<std::size_t>(i)] = 0;
        touched.clear();
        columns = 0;
        rows = 0;
    }
};

std::array<std::int32_t*, kHeaderCount> DocumentHeader() {
    return {&Document.PlayerCount, &Document.SlotCount,  &Document.BallCount, &Document.FieldWidth,
            &Document.FieldHeight, &Document.LastFieldX, &Document.LastFieldY};
}

// The input as the file layer reads it: little-endian, zero bytes past the end.
class Input {
public:
    Input(const std::uint8_t* data, std::size_t size)
        : data_(data), size_(static_cast<std::int64_t>(size)) {}

    bool Has(std::int64_t offset) const { return offset < size_; }
    std::uint8_t Byte(std::int64_t offset) const {
        return offset >= 0 && offset < size_ ? data_[offset] : 0;
    }
    std::int32_t Word(std::int64_t offset) const {
        return static_cast<std::int16_t>(Byte(offset) | Byte(offset + 1) << 8);
    }
    std::int32_t Long(std::int64_t offset) const {
        std::uint32_t value = 0;
        for (int i = 3; i >= 0; --i) value = value << 8 | Byte(offset + i);
        return static_cast<std::int32_t>(value);
    }

private:
    const std::uint8_t* data_;
    std::int64_t size_;
};

// Reads the bytes by the file format's layout, by offsets rather than in sequence: a name of
// length L (bytes the file lacks are blanks, the name ends at a zero byte), seven longs, P
// player records, then columns of Y + 1 longs. Whatever lies outside the arrays is skipped.
void ReadIndependently(const Input& in, Expected& e) {
    const std::int32_t nameLength = in.Word(0);
    std::int64_t offset = 2;
    for (std::int64_t i = 0; i < nameLength; ++i) {
        const std::uint8_t byte = in.Has(offset + i) ? in.Byte(offset + i) : ' ';
        if (byte == 0) break;
        e.mapName += static_cast<char>(byte);
    }
    offset += std::max(nameLength, 0);
    for (int i = 0; i < kHeaderCount; ++i, offset += 4) e.header[i] = in.Long(offset);

    const std::int64_t playerCount = e.PlayerCount();
    for (std::int64_t p = 1; p <= std::min<std::int64_t>(playerCount, kPlayersUpperBound); ++p) {
        const std::int64_t at = offset + 12 * (p - 1);
        e.players[static_cast<std::size_t>(p)] = {in.Long(at), in.Long(at + 4), in.Long(at + 8)};
    }
    offset += 12 * std::max<std::int64_t>(playerCount, 0);

    const std::int64_t rows = std::int64_t{e.LastFieldY()} + 1;
    if (rows <= 0) return;
    const std::int64_t lastX = std::min<std::int64_t>(e.LastFieldX(), kFieldsSize - 1);
    const std::int64_t lastY = std::min<std::int64_t>(rows - 1, kFieldsSize - 1);
    e.rows = lastY + 1;
    for (std::int64_t x = 0; x <= lastX; ++x) {
        const std::int64_t column = offset + 4 * x * rows;
        if (!in.Has(column)) return;
        e.columns = x + 1;
        for (std::int64_t y = 0; y <= lastY && in.Has(column + 4 * y); ++y) {
            const std::int32_t value = in.Long(column + 4 * y);
            if (value == 0) continue;
            const std::int64_t index = x * kFieldsSize + y;
            e.fields[static_cast<std::size_t>(index)] = value;
            e.touched.push_back(index);
        }
    }
}

// The harness's own scan of up to 4 MB says nothing about the code under test; coverage
// tracing and sanitizer checks would cost more than the scan itself.
#if defined(__clang__)
#define HARNESS_SCAN __attribute__((no_sanitize("address", "undefined", "coverage")))
#else
#define HARNESS_SCAN
#endif

// Whether Fields equals the expected block over its first `columns` columns, `rows` rows each.
HARNESS_SCAN bool FieldsAre(const std::int32_t* expected, std::int64_t columns, std::int64_t rows) {
    const std::int32_t* fields = std::as_const(Document.Fields).Data();
    std::int32_t differ = 0;
    for (std::int64_t x = 0; x < columns; ++x) {
        const std::int64_t at = x * kFieldsSize;
        for (std::int64_t y = 0; y < rows; ++y) differ |= fields[at + y] ^ expected[at + y];
    }
    return differ == 0;
}

void CheckFields(const Expected& e, std::int64_t columns, std::int64_t rows) {
    FUZZ_CHECK(FieldsAre(e.fields.data(), columns, rows));
    FUZZ_CHECK(std::as_const(Document.Fields).Data()[kFieldCount] == 0);  // the spare element
}

void CheckDocumentIs(const Expected& e) {
    FUZZ_CHECK(!Document.Players.IsNull());
    FUZZ_CHECK(Document.Players.UpperBound() == kPlayersUpperBound);
    FUZZ_CHECK(!Document.Fields.IsNull());
    FUZZ_CHECK(Document.Fields.ElementCount() == kFieldCount);
    FUZZ_CHECK(Document.Fields.Stride(0) == kFieldsSize && Document.Fields.Stride(1) == 1);

    FUZZ_CHECK(Document.MapName == e.mapName);
    const auto header = DocumentHeader();
    for (int i = 0; i < kHeaderCount; ++i) FUZZ_CHECK(*header[i] == e.header[i]);
    for (std::int32_t p = 0; p <= kPlayersUpperBound; ++p) {
        const PlayerStart& got = Document.Players(p);
        const PlayerStart& want = e.players[static_cast<std::size_t>(p)];
        FUZZ_CHECK(got.X == want.X && got.Y == want.Y && got.Direction == want.Direction);
    }
    // What the previous read could have filled must be gone as well.
    static bool first = true;
    static std::int64_t previousColumns = 0;
    static std::int64_t previousRows = 0;
    const auto withMargin = [](std::int64_t a, std::int64_t b) {
        return std::min<std::int64_t>(std::max(a, b) + 1, kFieldsSize);
    };
    CheckFields(e, first ? kFieldsSize : withMargin(e.columns, previousColumns),
                first ? kFieldsSize : withMargin(e.rows, previousRows));
    first = false;
    previousColumns = e.columns;
    previousRows = e.rows;
}

// What a save and a new read must give for the corrected document: its values, and only the
// players and fields inside its counts and bounds.
void ExpectSavedDocument(Expected& e) {
    const auto header = DocumentHeader();
    for (int i = 0; i < kHeaderCount; ++i) e.header[i] = *header[i];
    for (std::int64_t p = e.PlayerCount() + 1; p <= kPlayersUpperBound; ++p) {
        e.players[static_cast<std::size_t>(p)] = {};
    }
    for (std::int64_t index : e.touched) {
        if (index / kFieldsSize > e.LastFieldX() || index % kFieldsSize > e.LastFieldY()) {
            e.fields[static_cast<std::size_t>(index)] = 0;
        }
    }
    // The saved file holds every field of the corrected bounds.
    const bool grid = e.LastFieldX() >= 0 && e.LastFieldY() >= 0;
    e.columns = grid ? std::int64_t{e.LastFieldX()} + 1 : 0;
    e.rows = grid ? std::int64_t{e.LastFieldY()} + 1 : 0;
}

std::int64_t SavedFileSize(const Expected& e) {
    const std::int64_t columns = std::max<std::int64_t>(std::int64_t{e.LastFieldX()} + 1, 0);
    const std::int64_t rows = std::max<std::int64_t>(std::int64_t{e.LastFieldY()} + 1, 0);
    return 30 + static_cast<std::int64_t>(e.mapName.size()) + 12 * std::int64_t{e.PlayerCount()} +
           4 * columns * rows;
}

void RunInput(const std::uint8_t* data, std::size_t size) {
    static Expected expected;
    expected.Clear();
    {
        std::ofstream out("Karten/FUZZ.MAP", std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        FUZZ_CHECK(out.good());
    }
    Document.FileName = "FUZZ";
    FUZZ_CHECK(editor::ReadMapFile() == 1);
    ReadIndependently(Input(data, size), expected);
    CheckDocumentIs(expected);

    editor::CorrectDocument(Document);  // the main loop's ranges
    ExpectSavedDocument(expected);
    FUZZ_CHECK(editor::WriteMapFile() == 1);
    FUZZ_CHECK(static_cast<std::int64_t>(std::filesystem::file_size("Karten/FUZZ.MAP")) ==
               SavedFileSize(expected));
    // Only the map itself: no temporary file left beside it.
    FUZZ_CHECK(std::distance(std::filesystem::directory_iterator("Karten"), {}) == 1);
    FUZZ_CHECK(editor::ReadMapFile() == 1);
    CheckDocumentIs(expected);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    gHome = std::filesystem::current_path();
    // TMPDIR when it is set (scripts/fuzz.sh sets it), else the RAM disk when there is one.
    std::error_code error;
    const bool ramDisk =
        std::filesystem::is_directory("/dev/shm", error) && ::access("/dev/shm", W_OK) == 0;
    const std::filesystem::path root = std::getenv("TMPDIR") == nullptr && ramDisk
                                           ? std::filesystem::path("/dev/shm")
                                           : std::filesystem::temp_directory_path();
    std::string pattern = (root / "mapeditor-fuzz-XXXXXX").string();
    FUZZ_CHECK(::mkdtemp(pattern.data()) != nullptr);
    gFolder = pattern;
    std::filesystem::create_directory(gFolder / "Karten");
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(gFolder, ignored);
    });
    runtime::FileLibraryInit();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Inside our folder only while the run lasts: libFuzzer writes its corpus and findings
    // relative to the directory it was started in.
    std::filesystem::current_path(gFolder);
    RunInput(data, size);
    std::filesystem::current_path(gHome);
    return 0;
}
