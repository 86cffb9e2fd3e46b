// The map editor program: the command line says where it works, then the editor runs there.
#include <iostream>

#include "editor/CommandLine.h"
#include "editor/MainLoop.h"

int main(int argc, char** argv) {
    if (const auto exitCode = editor::EnterStartFolder(argc, argv, std::cout, std::cerr)) {
        return *exitCode;
    }
    return editor::EditorMain();
}
