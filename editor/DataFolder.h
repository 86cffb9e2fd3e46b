// The user's data folder, where the editor works when started from the desktop's menu: its
// maps lie in Karten there. The first start makes it, with copies of the installed sample
// maps; later starts never touch what is in it.
#pragma once

#include <filesystem>
#include <ostream>

namespace editor {

// $XDG_DATA_HOME/<application id>, or $HOME/.local/share/<application id> when XDG_DATA_HOME
// is unset, empty or not absolute (such a value is to be ignored). Empty when HOME is no
// absolute path either. Either argument may be null (unset).
std::filesystem::path UserDataFolder(const char* xdgDataHome, const char* home);

// On Windows: %APPDATA%\Karteneditor, the user's roaming application data. Empty when APPDATA
// is unset or no absolute path.
std::filesystem::path UserDataFolderOnWindows(const char* appData);

// The data folder of this system, from its environment: the one or the other above.
std::filesystem::path UserDataFolderHere();

// The installed sample maps: share/<application id>/Karten of the installation that holds
// the running program (on Windows: Karten beside the program), found from the program's own
// location.
std::filesystem::path InstalledSampleMaps();

// Makes the data folder if it is missing and, when it has no Karten yet, gives it a Karten
// with copies of everything in sampleMaps. The copy is made beside it and renamed into place,
// so an interrupted first start leaves no half-filled Karten behind. With no sample maps to
// copy, the folder is made without Karten (saving makes it) and a warning is written. Returns
// false, with the reason written to messages, when the folder cannot be made or filled.
bool PrepareDataFolder(const std::filesystem::path& folder, const std::filesystem::path& sampleMaps,
                       std::ostream& messages);

}  // namespace editor
