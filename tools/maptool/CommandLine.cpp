// The option syntax of maptool's commands.
#include "tools/maptool/CommandLine.h"

#include <algorithm>
#include <cstdint>

namespace maptool {
namespace {

bool Continuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The length of the valid UTF-8 sequence at `at`, or 0 when none starts there (overlong forms,
// surrogates and values beyond U+10FFFF are not valid).
std::size_t SequenceLength(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) {
        return at + i < text.size() ? static_cast<unsigned char>(text[at + i])
                                    : static_cast<unsigned char>(0);
    };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (at + length > text.size() || byte(1) < low || byte(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if (!Continuation(byte(i))) return 0;
    }
    return length;
}

}  // namespace

std::string ArgumentText(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    std::string text;
    text.reserve(bytes.size());
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t length = SequenceLength(bytes, at);
        if (length == 0) {
            text += "\xEF\xBF\xBD";
            ++at;
        } else {
            text.append(bytes.substr(at, length));
            at += length;
        }
    }
    return text;
}

int ParsedLine::IndexOf(std::string_view name) const {
    if (options_ == nullptr) return -1;
    for (std::size_t i = 0; i < options_->size(); ++i) {
        for (const std::string& known : (*options_)[i].names) {
            if (known == name) return static_cast<int>(i);
        }
    }
    return -1;
}

bool ParsedLine::IsSet(std::string_view name) const {
    const int index = IndexOf(name);
    return index >= 0 && set_[static_cast<std::size_t>(index)];
}

std::string ParsedLine::Value(std::string_view name) const {
    const int index = IndexOf(name);
    if (index < 0 || values_[static_cast<std::size_t>(index)].empty()) return {};
    return values_[static_cast<std::size_t>(index)].back();
}

bool ParseOptions(const std::vector<OptionSpec>& options, const std::vector<std::string>& arguments,
                  ParsedLine& line, std::string& firstUnknown, bool& unknown) {
    line.options_ = &options;
    line.set_.assign(options.size(), false);
    line.values_.assign(options.size(), {});
    line.positional_.clear();
    firstUnknown.clear();
    unknown = false;
    bool error = false;
    std::size_t next = 0;  // the argument after the one being read

    // An option met by name: marks it given, or notes it as unknown. Its index or -1.
    const auto meet = [&](const std::string& name) {
        const int index = line.IndexOf(name);
        if (index >= 0) {
            line.set_[static_cast<std::size_t>(index)] = true;
        } else {
            if (!unknown) firstUnknown = name;
            unknown = true;
            error = true;
        }
        return index;
    };
    // The value of a known option named in `argument`: after its "=", or the next argument. An
    // option without a value must not have "=" in its argument.
    const auto takeValue = [&](int index, const std::string& argument) {
        if (index < 0) return true;
        const std::size_t assign = argument.find('=');
        auto& values = line.values_[static_cast<std::size_t>(index)];
        if (!options[static_cast<std::size_t>(index)].takesValue)
            return assign == std::string::npos;
        if (assign != std::string::npos) {
            values.push_back(argument.substr(assign + 1));
        } else if (next < arguments.size()) {
            values.push_back(arguments[next++]);
        } else {
            return false;
        }
        return true;
    };

    bool onlyFiles = false;
    while (next < arguments.size()) {
        const std::string& argument = arguments[next++];
        if (onlyFiles || argument.size() < 2 || argument[0] != '-') {
            line.positional_.push_back(argument);  // also "" and "-"
        } else if (argument[1] == '-') {
            if (argument.size() == 2) {
                onlyFiles = true;
            } else {
                const int index = meet(argument.substr(2, argument.find('=', 2) - 2));
                if (index >= 0 && !takeValue(index, argument)) error = true;
            }
        } else {
            // Letters run together: each one an option; one that takes a value takes the rest of
            // the argument (after an "="), or else the next argument. A character beyond
            // U+FFFF is named "?".
            int index = -1;
            bool valueFound = false;
            for (std::size_t at = 1; at < argument.size();) {
                const std::size_t length = std::max<std::size_t>(1, SequenceLength(argument, at));
                index = meet(length == 4 ? std::string("?") : argument.substr(at, length));
                at += length;
                if (index < 0) continue;
                if (options[static_cast<std::size_t>(index)].takesValue) {
                    if (at < argument.size()) {
                        if (argument[at] == '=') ++at;
                        line.values_[static_cast<std::size_t>(index)].push_back(
                            argument.substr(at));
                        valueFound = true;
                    }
                    break;
                }
                if (at < argument.size() && argument[at] == '=') break;
            }
            if (!valueFound && !takeValue(index, argument)) error = true;
        }
    }
    return !error;
}

}  // namespace maptool
