// Decoding and encoding tile layer cells.
#include "tools/maptool/TiledLayerData.h"

#include <zlib.h>
#include <zstd.h>

#include <algorithm>
#include <charconv>
#include <memory>

#include "tools/maptool/TiledMap.h"

namespace maptool {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Inflates zlib (or, with `gzip`, gzip) data into exactly `out.size()` bytes: no more output
// is accepted than that, and the stream must end there with nothing after it.
bool Inflate(const std::vector<std::uint8_t>& in, bool gzip, std::vector<std::uint8_t>& out,
             std::string& error) {
    z_stream stream{};
    if (inflateInit2(&stream, gzip ? 16 + MAX_WBITS : MAX_WBITS) != Z_OK) {
        error = "zlib kann nicht starten";
        return false;
    }
    stream.next_in = const_cast<Bytef*>(in.data());
    stream.avail_in = static_cast<uInt>(in.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    int status = inflate(&stream, Z_FINISH);
    bool longer = false;
    if (status == Z_BUF_ERROR && stream.avail_out == 0) {
        // The output is full before the stream ended: the rest goes into a spare byte, which
        // must stay empty.
        std::uint8_t spare = 0;
        stream.next_out = &spare;
        stream.avail_out = 1;
        status = inflate(&stream, Z_FINISH);
        longer = stream.avail_out == 0;
    }
    const bool ended = status == Z_STREAM_END;
    const bool shorter = ended && stream.total_out < out.size();
    const bool trailing = ended && stream.avail_in > 0;
    inflateEnd(&stream);
    if (longer || shorter) {
        error = std::string("die entpackten Daten sind ") + (longer ? "länger" : "kürzer") +
                " als die Ebene (" + std::to_string(out.size()) + " Bytes)";
        return false;
    }
    if (!ended || trailing) {
        error = "die gepackten Daten sind beschädigt";
        return false;
    }
    return true;
}

// The largest window a zstd frame may ask for: a layer has at most 4 MB of cells.
constexpr int kZstdWindowLog = 23;

// Unpacks one zstd frame into exactly `out.size()` bytes, by the same rules as Inflate.
bool Unzstd(const std::vector<std::uint8_t>& in, std::vector<std::uint8_t>& out,
            std::string& error) {
    const std::unique_ptr<ZSTD_DCtx, decltype(&ZSTD_freeDCtx)> context(ZSTD_createDCtx(),
                                                                      &ZSTD_freeDCtx);
    if (!context ||
        ZSTD_isError(ZSTD_DCtx_setParameter(context.get(), ZSTD_d_windowLogMax, kZstdWindowLog))) {
        error = "zstd kann nicht starten";
        return false;
    }
    ZSTD_inBuffer input{in.data(), in.size(), 0};
    ZSTD_outBuffer output{out.data(), out.size(), 0};
    // Output beyond the layer goes into a spare byte, which must stay empty.
    std::uint8_t spare = 0;
    ZSTD_outBuffer beyond{&spare, 1, 0};
    bool ended = false;
    for (;;) {
        ZSTD_outBuffer& target = output.pos < output.size ? output : beyond;
        const std::size_t read = input.pos, written = target.pos;
        const std::size_t status = ZSTD_decompressStream(context.get(), &target, &input);
        if (ZSTD_isError(status)) break;
        if (beyond.pos > 0) {
            error = "die entpackten Daten sind länger als die Ebene (" +
                    std::to_string(out.size()) + " Bytes)";
            return false;
        }
        if (status == 0) {
            ended = true;
            break;
        }
        if (input.pos == read && target.pos == written) break;  // the data stop inside the frame
    }
    if (ended && input.pos == input.size && output.pos < out.size()) {
        error = "die entpackten Daten sind kürzer als die Ebene (" + std::to_string(out.size()) +
                " Bytes)";
        return false;
    }
    if (!ended || input.pos < input.size) {
        error = "die gepackten Daten sind beschädigt";
        return false;
    }
    return true;
}

}  // namespace

bool DecodeBase64(std::string_view text, std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    bytes.reserve(text.size() / 4 * 3 + 2);
    std::uint32_t bits = 0;
    int count = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        std::uint32_t digit;
        if (c >= 'A' && c <= 'Z') {
            digit = static_cast<std::uint32_t>(c - 'A');
        } else if (c >= 'a' && c <= 'z') {
            digit = static_cast<std::uint32_t>(c - 'a' + 26);
        } else if (c >= '0' && c <= '9') {
            digit = static_cast<std::uint32_t>(c - '0' + 52);
        } else if (c == '+' || c == '/') {
            digit = c == '+' ? 62 : 63;
        } else {
            // Padding ends the text: one '=' last, or two, in a text of whole groups of four.
            return c == '=' && text.size() % 4 == 0 &&
                   (i + 1 == text.size() || (i + 2 == text.size() && text[i + 1] == '='));
        }
        bits = bits << 6 | digit;
        count += 6;
        if (count >= 8) {
            count -= 8;
            bytes.push_back(static_cast<std::uint8_t>(bits >> count));
            bits &= (1u << count) - 1;
        }
    }
    return true;
}

std::string LayerSizeProblem(std::string_view name, std::int32_t width, std::int32_t height) {
    if (width >= 1 && height >= 1 && std::int64_t{width} * height <= kTiledMaxCells) return "";
    return "die Ebene " + std::string(name) + " ist " + std::to_string(width) + " x " +
           std::to_string(height) + " Zellen groß; eine Karte hat 1 bis 1000 x 1000 Felder";
}

std::string ChunkSizeProblem(std::int32_t width, std::int32_t height) {
    if (width >= 1 && height >= 1 && std::int64_t{width} * height <= kTiledMaxCells) return "";
    return "ein Stück der Ebene ist " + std::to_string(width) + " x " + std::to_string(height) +
           " Zellen groß";
}

bool AssembleChunks(const std::vector<TiledChunk>& chunks, std::int32_t& x, std::int32_t& y,
                    std::int32_t& width, std::int32_t& height, std::vector<std::uint32_t>& cells,
                    std::string& error) {
    x = y = width = height = 0;
    cells.clear();
    if (chunks.empty()) return true;
    std::int64_t left = INT64_MAX, top = INT64_MAX, right = INT64_MIN, bottom = INT64_MIN;
    for (const TiledChunk& c : chunks) {
        left = std::min<std::int64_t>(left, c.x);
        top = std::min<std::int64_t>(top, c.y);
        right = std::max<std::int64_t>(right, std::int64_t{c.x} + c.width);
        bottom = std::max<std::int64_t>(bottom, std::int64_t{c.y} + c.height);
    }
    if (right - left > 1000 || bottom - top > 1000) {
        error = "die Stücke der unendlichen Ebene reichen über " + std::to_string(right - left) +
                " x " + std::to_string(bottom - top) +
                " Felder; eine Karte hat höchstens 1000 x 1000";
        return false;
    }
    x = static_cast<std::int32_t>(left);
    y = static_cast<std::int32_t>(top);
    width = static_cast<std::int32_t>(right - left);
    height = static_cast<std::int32_t>(bottom - top);
    cells.assign(static_cast<std::size_t>(width) * height, 0);
    for (const TiledChunk& c : chunks) {
        for (std::int32_t row = 0; row < c.height; ++row) {
            std::copy_n(c.cells.begin() + static_cast<std::ptrdiff_t>(row) * c.width, c.width,
                        cells.begin() + (static_cast<std::ptrdiff_t>(c.y - y + row) * width +
                                         (c.x - x)));
        }
    }
    return true;
}

bool ParseCell(std::string_view text, std::uint32_t& cell) {
    if (text.empty() || text.size() > 10) return false;
    std::uint64_t value = 0;
    const auto [end, problem] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (problem != std::errc() || end != text.data() + text.size() || value > 0xFFFFFFFFu) {
        return false;
    }
    cell = static_cast<std::uint32_t>(value);
    return true;
}

bool DecodeCsvCells(std::string_view text, std::size_t count, std::vector<std::uint32_t>& cells,
                    std::string& error) {
    cells.clear();
    cells.reserve(count);
    std::size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && IsSpace(text[at])) ++at;
        if (at == text.size()) break;
        std::size_t end = at;
        while (end < text.size() && text[end] != ',') ++end;
        std::size_t last = end;
        while (last > at && IsSpace(text[last - 1])) --last;
        std::uint32_t cell = 0;
        if (!ParseCell(text.substr(at, last - at), cell)) {
            error = "die CSV-Daten enthalten \"" +
                    std::string(text.substr(at, std::min<std::size_t>(last - at, 20))) +
                    "\", keine Kachelnummer";
            return false;
        }
        if (cells.size() == count) {
            error = "die CSV-Daten haben mehr Zellen als die Ebene (" + std::to_string(count) + ")";
            return false;
        }
        cells.push_back(cell);
        at = end + 1;
        // A trailing comma ends the data, as Tiled writes it after each row but the last.
    }
    if (cells.size() != count) {
        error = "die CSV-Daten haben " + std::to_string(cells.size()) + " Zellen, die Ebene " +
                std::to_string(count);
        return false;
    }
    return true;
}

bool DecodeBase64Cells(std::string_view text, std::string_view compression, std::size_t count,
                       std::vector<std::uint32_t>& cells, std::string& error) {
    const bool zlib = compression == "zlib", gzip = compression == "gzip";
    const bool zstd = compression == "zstd";
    if (!compression.empty() && !zlib && !gzip && !zstd) {
        error = "die Kompression \"" + std::string(compression) +
                "\" wird nicht unterstützt (nur zlib, gzip und zstd)";
        return false;
    }
    std::string compact;
    compact.reserve(text.size());
    for (char c : text) {
        if (!IsSpace(c)) compact += c;
    }
    std::vector<std::uint8_t> decoded;
    if (!DecodeBase64(compact, decoded)) {
        error = "die Base64-Daten sind beschädigt";
        return false;
    }
    std::vector<std::uint8_t> bytes(count * 4);
    if (zlib || gzip) {
        if (!Inflate(decoded, gzip, bytes, error)) return false;
    } else if (zstd) {
        if (!Unzstd(decoded, bytes, error)) return false;
    } else if (decoded.size() != bytes.size()) {
        error = "die Base64-Daten haben " + std::to_string(decoded.size()) +
                " Bytes, die Ebene braucht " + std::to_string(bytes.size());
        return false;
    } else {
        bytes = std::move(decoded);
    }
    cells.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* b = &bytes[4 * i];
        cells[i] = b[0] | b[1] << 8 | b[2] << 16 | static_cast<std::uint32_t>(b[3]) << 24;
    }
    return true;
}

std::string EncodeCsvCells(const std::vector<std::uint32_t>& cells, std::int32_t width) {
    std::string text = "\n";
    for (std::size_t i = 0; i < cells.size(); ++i) {
        text += std::to_string(cells[i]);
        if (i + 1 < cells.size()) text += ',';
        if (width > 0 && (i + 1) % static_cast<std::size_t>(width) == 0) text += '\n';
    }
    if (text.back() != '\n') text += '\n';
    return text;
}

}  // namespace maptool
