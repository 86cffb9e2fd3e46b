// The map editor program.
#include "editor/MainLoop.h"

int main() { return editor::EditorMain(); }
