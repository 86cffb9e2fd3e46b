// The user's data folder and its first start.
#include "editor/DataFolder.h"

#include <cstdlib>
#include <random>
#include <string>
#include <system_error>

#include "editor/MapFile.h"
#include "runtime/File.h"

namespace editor {

namespace fs = std::filesystem;

namespace {

fs::path AbsoluteOrEmpty(const char* value) {
    if (value == nullptr) return {};
    fs::path path = value;
    return path.is_absolute() ? path : fs::path{};
}

// A fresh, empty folder inside parent for the copy that becomes Karten.
fs::path MakeScratchFolder(const fs::path& parent, std::error_code& error) {
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path candidate = parent / (".Karten-" + std::to_string(random()));
        if (fs::create_directory(candidate, error)) return candidate;
        if (error) return {};
    }
    error = std::make_error_code(std::errc::file_exists);
    return {};
}

// Copies the sample maps into scratch and makes every copy the user's to change: installed
// files may be read-only.
void CopySampleMaps(const fs::path& sampleMaps, const fs::path& scratch, std::error_code& error) {
    // Entry by entry into the fresh folder: the Windows build's library refuses to copy a
    // folder onto one that exists ("File exists"), where the POSIX one fills it.
    for (fs::directory_iterator entry(sampleMaps, error), end; !error && entry != end;
         entry.increment(error)) {
        fs::copy(entry->path(), scratch / entry->path().filename(), fs::copy_options::recursive,
                 error);
        if (error) return;
    }
    if (error) return;
    for (fs::recursive_directory_iterator entry(scratch, error), end; !error && entry != end;
         entry.increment(error)) {
        const fs::perms owner = entry->is_directory()
                                    ? fs::perms::owner_all
                                    : fs::perms::owner_read | fs::perms::owner_write;
        fs::permissions(entry->path(), owner, fs::perm_options::add, error);
        if (error) return;
    }
}

}  // namespace

fs::path UserDataFolder(const char* xdgDataHome, const char* home) {
    constexpr const char* kApplicationId = MAPEDITOR_APP_ID;
    if (const fs::path data = AbsoluteOrEmpty(xdgDataHome); !data.empty()) {
        return data / kApplicationId;
    }
    if (const fs::path homeFolder = AbsoluteOrEmpty(home); !homeFolder.empty()) {
        return homeFolder / ".local" / "share" / kApplicationId;
    }
    return {};
}

fs::path UserDataFolderOnWindows(const char* appData) {
    const fs::path data = AbsoluteOrEmpty(appData);
    return data.empty() ? fs::path{} : data / "Karteneditor";
}

fs::path UserDataFolderHere() {
#ifdef _WIN32
    return UserDataFolderOnWindows(std::getenv("APPDATA"));
#else
    return UserDataFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
#endif
}

fs::path InstalledSampleMaps() {
    const std::string program = runtime::ProgramSystemPath();
    if (program.empty()) return {};
    const fs::path programPath(std::u8string(program.begin(), program.end()));
    return (programPath.parent_path() / MAPEDITOR_SAMPLES_FROM_PROGRAM).lexically_normal();
}

bool PrepareDataFolder(const fs::path& folder, const fs::path& sampleMaps, std::ostream& messages) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (error || !fs::is_directory(folder)) {
        messages << "mapeditor: kann den Datenordner " << folder
                 << " nicht anlegen: " << (error ? error.message() : "kein Ordner") << '\n';
        return false;
    }
    const fs::path maps = folder / kMapFolder;
    // Whatever is there is the user's: a Karten of any kind, even an empty or broken one, stays.
    if (fs::exists(fs::symlink_status(maps, error))) return true;
    if (!fs::is_directory(sampleMaps, error)) {
        messages << "mapeditor: keine Beispielkarten in " << sampleMaps << "; der Datenordner "
                 << folder << " bekommt sie nicht\n";
        return true;
    }
    const fs::path scratch = MakeScratchFolder(folder, error);
    if (!error) CopySampleMaps(sampleMaps, scratch, error);
    if (!error) fs::rename(scratch, maps, error);
    if (!error) return true;
    std::error_code ignored;
    if (!scratch.empty()) fs::remove_all(scratch, ignored);
    // Another start that made Karten at the same moment is no failure.
    if (fs::is_directory(maps, ignored)) return true;
    messages << "mapeditor: kann die Beispielkarten nicht nach " << maps
             << " kopieren: " << error.message() << '\n';
    return false;
}

}  // namespace editor
