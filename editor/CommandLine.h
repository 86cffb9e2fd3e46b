// The editor's command line: mapeditor [FOLDER] | --data-folder | --help | --version.
// It is read before anything of the toolkit exists, so --help and --version need no display.
// Started without arguments the editor works in the current directory, as it always did.
#pragma once

#include <optional>
#include <ostream>

namespace editor {

// Carries out what the command line asks before the editor starts: prints the help or the
// version to out, or enters the folder the editor works in (FOLDER, or the user's data
// folder, made on its first start). Returns the exit code when the program ends here (0 after
// --help or --version, 1 when the folder cannot be entered or made, 2 for wrong usage, with a
// message on err), or nothing when the editor is to start.
std::optional<int> EnterStartFolder(int argc, const char* const* argv, std::ostream& out,
                                    std::ostream& err);

}  // namespace editor
