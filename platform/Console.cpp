// A command-line program's arguments and standard streams on a POSIX system: the shell has
// expanded the arguments, and the streams pass bytes unchanged already.
#include "platform/Console.h"

#include <unistd.h>

namespace platform {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

StandardStreams::StandardStreams() = default;
StandardStreams::~StandardStreams() = default;

bool StandardErrorIsTerminal() { return isatty(STDERR_FILENO) != 0; }

}  // namespace platform
