// Messages and results on the standard streams.
#include "tools/maptool/Messages.h"

#include <cstdio>

namespace maptool {

std::string Shown(std::string_view text, bool json) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const bool c1 = c == 0xC2 && i + 1 < text.size() &&
                        static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                        static_cast<unsigned char>(text[i + 1]) <= 0x9F;
        if (c1) {
            const auto code = static_cast<unsigned char>(text[++i]);
            out += "\\u00";
            out += kHex[code >> 4];
            out += kHex[code & 15];
        } else if ((c < 0x20 && !(json && c == '\n')) || c == 0x7F) {
            out += json ? "\\u00" : "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

void Message(std::string_view file, std::string_view text) {
    const std::string line = "maptool: " + Shown(file) + ": " + Shown(text) + "\n";
    std::fputs(line.c_str(), stderr);
}

void UsageMessage(std::string_view command, std::string_view text) {
    const std::string name = command.empty() ? "maptool" : "maptool " + std::string(command);
    const std::string line =
        name + ": " + Shown(text) + "\n(\"" + name + " --help\" erklärt den Aufruf)\n";
    std::fputs(line.c_str(), stderr);
}

void Print(std::string_view line) {
    const std::string shown = Shown(line) + "\n";
    std::fwrite(shown.data(), 1, shown.size(), stdout);
}

void PrintJson(std::string_view text) {
    const std::string shown = Shown(text, true) + "\n";
    std::fwrite(shown.data(), 1, shown.size(), stdout);
}

std::string Number(long long value) { return std::to_string(value); }

}  // namespace maptool
