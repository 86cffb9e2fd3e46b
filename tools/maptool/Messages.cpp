// Messages and results on the standard streams.
#include "tools/maptool/Messages.h"

#include <cstdio>

namespace maptool {

void Message(std::string_view file, std::string_view text) {
    std::fprintf(stderr, "maptool: %.*s: %.*s\n", static_cast<int>(file.size()), file.data(),
                 static_cast<int>(text.size()), text.data());
}

void UsageMessage(std::string_view command, std::string_view text) {
    const std::string name = command.empty() ? "maptool" : "maptool " + std::string(command);
    std::fprintf(stderr, "%s: %.*s\n(\"%s --help\" erklärt den Aufruf)\n", name.c_str(),
                 static_cast<int>(text.size()), text.data(), name.c_str());
}

void Print(std::string_view line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
}

std::string Number(long long value) { return std::to_string(value); }

}  // namespace maptool
