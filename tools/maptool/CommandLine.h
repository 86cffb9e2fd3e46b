// The option syntax of maptool's commands: long options (--name, --name VALUE, --name=VALUE),
// single-letter options that may be run together (-vh), "--" ending the options, options and
// file names in any order, and the last of a repeated option's values.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace maptool {

struct OptionSpec {
    std::vector<std::string> names;  // without dashes: {"v", "verbose"}
    bool takesValue = false;
};

class ParsedLine {
public:
    // Whether the option named (by any of its names) was given.
    bool IsSet(std::string_view name) const;
    // The last value given for the option, or "" when it has none.
    std::string Value(std::string_view name) const;
    const std::vector<std::string>& Positional() const { return positional_; }

private:
    friend bool ParseOptions(const std::vector<OptionSpec>&, const std::vector<std::string>&,
                             ParsedLine&, std::string&, bool&);
    int IndexOf(std::string_view name) const;

    const std::vector<OptionSpec>* options_ = nullptr;
    std::vector<bool> set_;
    std::vector<std::vector<std::string>> values_;
    std::vector<std::string> positional_;
};

// Parses the arguments after the command (UTF-8). False on a mistake: then `unknown` tells
// whether an option was unknown and `firstUnknown` names the first one (as written, without
// its dashes); otherwise an option lacked its value or had one it does not take.
bool ParseOptions(const std::vector<OptionSpec>& options, const std::vector<std::string>& arguments,
                  ParsedLine& line, std::string& firstUnknown, bool& unknown);

// An argument as the system hands it over (bytes meant as UTF-8) made valid UTF-8: each byte
// that starts no valid sequence becomes U+FFFD, and a byte order mark at the start is dropped.
std::string ArgumentText(std::string_view bytes);

}  // namespace maptool
