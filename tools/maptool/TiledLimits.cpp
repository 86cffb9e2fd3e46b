// Checks over the bytes of Tiled files before they are parsed.
#include "tools/maptool/TiledLimits.h"

#include <set>
#include <string_view>
#include <vector>

namespace maptool {
namespace {

// Items (values, members) of one JSON document: the cells of the largest layer, with room.
constexpr std::int64_t kMaxJsonItems = 4'000'000;
// Nesting the JSON parser takes; deeper is no JSON a map is written as.
constexpr std::size_t kMaxJsonDepth = 1024;

std::string At(std::size_t offset, const std::string& what) {
    return "Zeichen " + std::to_string(offset) + ": " + what;
}

void AppendUtf8(std::string& out, std::uint32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Four hex digits at `at`, or -1.
long Hex4(std::span<const std::uint8_t> b, std::size_t at) {
    if (at + 4 > b.size()) return -1;
    long value = 0;
    for (std::size_t i = at; i < at + 4; ++i) {
        const char c = static_cast<char>(b[i]);
        const int digit = c >= '0' && c <= '9'   ? c - '0'
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                 : -1;
        if (digit < 0) return -1;
        value = value * 16 + digit;
    }
    return value;
}

enum class StringRead { Ok, Broken, LoneSurrogate };

// Reads the JSON string starting at the quote at `i` and decodes it into `text` unless that is
// null; `i` moves past it. Broken strings are left for the parser to report.
StringRead ReadString(std::span<const std::uint8_t> b, std::size_t& i, std::string* text) {
    ++i;
    while (i < b.size()) {
        const char c = static_cast<char>(b[i]);
        if (c == '"') {
            ++i;
            return StringRead::Ok;
        }
        if (c != '\\') {
            if (text != nullptr) *text += c;
            ++i;
            continue;
        }
        if (i + 1 >= b.size()) return StringRead::Broken;
        const char e = static_cast<char>(b[i + 1]);
        if (e != 'u') {
            static constexpr std::string_view kFrom = "\"\\/bfnrt", kTo = "\"\\/\b\f\n\r\t";
            const std::size_t k = kFrom.find(e);
            if (k == std::string_view::npos) return StringRead::Broken;
            if (text != nullptr) *text += kTo[k];
            i += 2;
            continue;
        }
        const long unit = Hex4(b, i + 2);
        if (unit < 0) return StringRead::Broken;
        i += 6;
        if (unit >= 0xDC00 && unit <= 0xDFFF) return StringRead::LoneSurrogate;
        if (unit < 0xD800 || unit > 0xDBFF) {
            if (text != nullptr) AppendUtf8(*text, static_cast<std::uint32_t>(unit));
            continue;
        }
        const long low = i + 1 < b.size() && b[i] == '\\' && b[i + 1] == 'u' ? Hex4(b, i + 2) : -1;
        if (low < 0xDC00 || low > 0xDFFF) return StringRead::LoneSurrogate;
        i += 6;
        if (text == nullptr) continue;
        AppendUtf8(*text, 0x10000 + ((static_cast<std::uint32_t>(unit) - 0xD800) << 10) +
                              (static_cast<std::uint32_t>(low) - 0xDC00));
    }
    return StringRead::Broken;
}

}  // namespace

std::string TooMany(const char* what, std::int64_t limit) {
    return "mehr als " + std::to_string(limit) + " " + what + "; so viele liest maptool nicht";
}

std::string XmlBytesProblem(std::span<const std::uint8_t> bytes) {
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    std::size_t i = 0;
    std::int64_t line = 1;
    const auto skipTo = [&](std::string_view end) {
        const std::size_t found = text.find(end, i);
        const std::size_t stop = found == std::string_view::npos ? text.size() : found + end.size();
        for (; i < stop; ++i) line += text[i] == '\n';
    };
    while (i < text.size()) {
        if (text[i] != '<') {
            line += text[i] == '\n';
            ++i;
        } else if (text.compare(i, 4, "<!--") == 0) {
            skipTo("-->");
        } else if (text.compare(i, 9, "<![CDATA[") == 0) {
            skipTo("]]>");
        } else if (text.compare(i, 2, "<?") == 0) {
            skipTo("?>");
        } else {
            // A tag: its attributes are its '=' outside quoted values.
            const std::int64_t tagLine = line;
            const std::size_t start = i;
            std::int64_t attributes = 0;
            char quote = 0;
            for (++i; i < text.size() && (quote != 0 || text[i] != '>'); ++i) {
                const char c = text[i];
                line += c == '\n';
                if (quote != 0) {
                    if (c == quote) quote = 0;
                } else if (c == '"' || c == '\'') {
                    quote = c;
                } else if (c == '=' && ++attributes > kTiledMaxAttributes) {
                    std::size_t end = start + 1;
                    while (end < text.size() && end - start < 40 &&
                           std::string_view(" \t\r\n/>").find(text[end]) == std::string_view::npos) {
                        ++end;
                    }
                    return "Zeile " + std::to_string(tagLine) + ": das Element " +
                           std::string(text.substr(start, end - start)) + "> hat " +
                           TooMany("Attribute", kTiledMaxAttributes);
                }
            }
        }
    }
    return "";
}

std::string JsonBytesProblem(std::span<const std::uint8_t> bytes) {
    struct Frame {
        bool object;
        bool key;  // an object's next string is a key
        std::set<std::string> keys;
    };
    std::vector<Frame> open;
    std::int64_t objects = 0;
    std::int64_t items = 0;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const char c = static_cast<char>(bytes[i]);
        if (c == '"') {
            const std::size_t start = i;
            const bool key = !open.empty() && open.back().key;
            std::string text;
            switch (ReadString(bytes, i, key ? &text : nullptr)) {
                case StringRead::Broken:
                    return "";
                case StringRead::LoneSurrogate:
                    return At(start,
                              "ein Text enthält ein einzelnes UTF-16-Ersatzzeichen (\\ud800 bis "
                              "\\udfff), das für kein Zeichen steht");
                case StringRead::Ok:
                    break;
            }
            if (key) {
                open.back().key = false;
                if (!open.back().keys.insert(text).second) {
                    return At(start, "der Schlüssel \"" + text + "\" steht zweimal in einem Objekt");
                }
            }
            continue;
        }
        if (c == '{' || c == '[') {
            if (c == '{' && ++objects > kTiledMaxJsonObjects) {
                return At(i, TooMany("JSON-Objekte", kTiledMaxJsonObjects));
            }
            if (open.size() == kMaxJsonDepth)
                return "kein JSON (" + At(i, "die Daten sind zu tief verschachtelt") + ")";
            open.push_back(Frame{c == '{', c == '{', {}});
            ++items;
        } else if (c == '}' || c == ']') {
            if (!open.empty()) open.pop_back();
        } else if (c == ',') {
            ++items;
            if (!open.empty() && open.back().object) open.back().key = true;
        }
        if (items > kMaxJsonItems) return At(i, TooMany("Einträge", kMaxJsonItems));
        ++i;
    }
    return "";
}

bool ParseTiledInt(std::string_view text, std::int32_t& out) {
    const bool negative = !text.empty() && text.front() == '-';
    if (negative) text.remove_prefix(1);
    if (text.empty() || text.size() > 10) return false;
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    if (negative) value = -value;
    if (value < INT32_MIN || value > INT32_MAX) return false;
    out = static_cast<std::int32_t>(value);
    return true;
}

}  // namespace maptool
