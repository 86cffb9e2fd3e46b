// The clipboard's forms of fields.
#include "editor/FieldClipboard.h"

#include <charconv>
#include <vector>

#include "editor/MapDocument.h"
#include "runtime/RtString.h"

namespace editor {
namespace {

constexpr std::string_view kMagic = "KEF1";

void PutLong(std::string& out, std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<char>((v >> shift) & 0xFF));
}

std::int32_t GetLong(std::string_view bytes, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return static_cast<std::int32_t>(v);
}

bool SideFits(std::int64_t side) { return side >= 1 && side <= kFieldsSize; }

bool IsSeparator(char c) { return c == '\t' || c == ' ' || c == ','; }

}  // namespace

std::string EncodeFields(const FieldBlock& block) {
    std::string out(kMagic);
    out.reserve(12 + block.Tiles.size() * 4);
    PutLong(out, block.Width);
    PutLong(out, block.Height);
    for (const std::int32_t tile : block.Tiles) PutLong(out, tile);
    return out;
}

std::optional<FieldBlock> DecodeFields(std::string_view bytes) {
    if (bytes.size() < 12 || bytes.substr(0, 4) != kMagic) return std::nullopt;
    FieldBlock block;
    block.Width = GetLong(bytes, 4);
    block.Height = GetLong(bytes, 8);
    if (!SideFits(block.Width) || !SideFits(block.Height)) return std::nullopt;
    const std::size_t count =
        static_cast<std::size_t>(block.Width) * static_cast<std::size_t>(block.Height);
    if (bytes.size() != 12 + count * 4) return std::nullopt;
    block.Tiles.resize(count);
    for (std::size_t i = 0; i < count; ++i) block.Tiles[i] = GetLong(bytes, 12 + i * 4);
    return block;
}

std::string FieldsAsText(const FieldBlock& block) {
    std::string text;
    for (std::int32_t y = 0; y < block.Height; ++y) {
        for (std::int32_t x = 0; x < block.Width; ++x) {
            if (x > 0) text.push_back('\t');
            text += std::to_string(block.At(x, y));
        }
        text += "\r\n";
    }
    return text;
}

std::optional<FieldBlock> ParseFieldText(std::string_view text, std::string* problem) {
    std::vector<std::vector<std::int32_t>> rows;
    std::size_t width = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        std::vector<std::int32_t> row;
        std::size_t at = 0;
        while (at < line.size()) {
            if (IsSeparator(line[at])) {
                ++at;
                continue;
            }
            std::size_t stop = at;
            while (stop < line.size() && !IsSeparator(line[stop])) ++stop;
            std::int32_t value = 0;
            const char* first = line.data() + at;
            const char* last = line.data() + stop;
            const auto [ptr, error] = std::from_chars(first, last, value);
            if (error != std::errc() || ptr != last) {
                *problem = runtime::Cp1252("Die Zwischenablage enthält keine Kachelnummern: \"") +
                           std::string(line.substr(at, std::min<std::size_t>(stop - at, 20))) +
                           "\"";
                return std::nullopt;
            }
            row.push_back(value);
            at = stop;
        }
        if (row.empty()) {
            // Blank lines may only end the text.
            if (!text.empty() && text.find_first_not_of(" \t,\r\n") != std::string_view::npos) {
                *problem = "Die Zeilen der Zwischenablage sind verschieden lang";
                return std::nullopt;
            }
            continue;
        }
        if (rows.empty()) width = row.size();
        if (row.size() != width) {
            *problem = "Die Zeilen der Zwischenablage sind verschieden lang";
            return std::nullopt;
        }
        if (!SideFits(static_cast<std::int64_t>(row.size())) ||
            !SideFits(static_cast<std::int64_t>(rows.size()) + 1)) {
            *problem = "Die Zwischenablage hat mehr als 1000 Felder in einer Richtung";
            return std::nullopt;
        }
        rows.push_back(std::move(row));
    }
    if (rows.empty()) {
        *problem = runtime::Cp1252("Die Zwischenablage enthält keine Felder");
        return std::nullopt;
    }
    FieldBlock block;
    block.Width = static_cast<std::int32_t>(width);
    block.Height = static_cast<std::int32_t>(rows.size());
    block.Tiles.resize(width * rows.size());
    for (std::size_t y = 0; y < rows.size(); ++y) {
        for (std::size_t x = 0; x < width; ++x) block.Tiles[x * rows.size() + y] = rows[y][x];
    }
    return block;
}

}  // namespace editor
