// A path of the program (CP1252, '/' or '\') as the file system's wide path, its folders found
// as the file functions find them (the case of "Karten" as the disk has it).
#pragma once

#include <string>
#include <string_view>

#include "platform/PlatformFile.h"

namespace platform {

std::wstring OsPath(std::string_view cp1252Path, PathMatch match = PathMatch::AnyCase);

}  // namespace platform
