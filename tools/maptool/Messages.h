// Exit codes and messages of the map tool. Messages go to standard error, one line each,
// naming the file they are about; results go to standard output. Texts are UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace maptool {

enum ExitCode : int {
    kSuccess = 0,
    kInputProblem = 1,  // the input has problems or could not be converted
    kWrongUsage = 2,
};

// Texts from files and arguments may hold control characters (escape sequences, a line break
// that would forge a line of its own): every message and result shows them as \xNN (C1
// characters of UTF-8 as \u00NN); other text passes unchanged. For a JSON document, whose
// strings carry control characters escaped already, line breaks stay and DEL and C1 characters
// become \u00NN, which keeps it valid.
std::string Shown(std::string_view text, bool json = false);

// "maptool: <file>: <text>" on standard error.
void Message(std::string_view file, std::string_view text);

// "maptool <command>: <text>" on standard error, with a hint to the command's help.
void UsageMessage(std::string_view command, std::string_view text);

// A line on standard output.
void Print(std::string_view line);

// A JSON document on standard output, on its lines.
void PrintJson(std::string_view text);

// Decimal text of a number.
std::string Number(long long value);

}  // namespace maptool
