// A command-line program's place in its system: its arguments and its standard streams. One
// implementation per system (Console.cpp, win32/Console.cpp); the program sees UTF-8 arguments
// and writes UTF-8 bytes to stdout and stderr.
#pragma once

#include <string>
#include <vector>

namespace platform {

// The arguments after the program's name, in UTF-8. On Windows they come from the wide command
// line, and an argument with '*' or '?' stands for the names it matches, sorted by their bytes
// as a shell in the C locale sorts them (a pattern that matches nothing stays as it is); the
// shell does both on Linux.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// While it lives, standard output and error pass every byte unchanged (no line-end
// translation). On Windows, a stream that is a console shows its UTF-8 text there as
// characters; the bytes a pipe or a file gets are those of Linux.
class StandardStreams {
public:
    StandardStreams();
    ~StandardStreams();
    StandardStreams(const StandardStreams&) = delete;
    StandardStreams& operator=(const StandardStreams&) = delete;
};

// True when standard error is shown to a person (a terminal, a console), who sees a progress
// line there.
bool StandardErrorIsTerminal();

}  // namespace platform
