// File watches on the toolkit's file system watcher (inotify on Linux). The watcher drops a
// file that is removed or renamed over, so the folder is watched as well: a change in the
// folder that leaves the file's identity, size and times as they were is someone else's.
#include "platform/UiFileWatch.h"

#include <sys/stat.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <map>

#include "platform/PlatformFile.h"
#include "platform/qt/UiInternal.h"

namespace platform {

using namespace qtui;

namespace {

// What the folder's listing says of the file: a new file or a write changes it.
struct Stamp {
    bool exists = false;
    ino_t inode = 0;
    off_t size = 0;
    std::int64_t modified = 0, changed = 0;  // nanoseconds
    bool operator==(const Stamp&) const = default;
};

Stamp StampOf(const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0) return {};
    return {true, info.st_ino, info.st_size,
            std::int64_t{info.st_mtim.tv_sec} * 1000000000 + info.st_mtim.tv_nsec,
            std::int64_t{info.st_ctim.tv_sec} * 1000000000 + info.st_ctim.tv_nsec};
}

struct Watch {
    Handle window = 0;
    std::uint32_t message = 0;
    QString file;
    QString folder;
    Stamp seen;
};

QFileSystemWatcher* gWatcher = nullptr;
std::map<std::int32_t, Watch> gWatches;
std::int32_t gNext = 1;

void Notify(std::int32_t number, Watch& watch) {
    watch.seen = StampOf(watch.file);
    // A file written anew under the same name is a new file to the watcher.
    if (watch.seen.exists && !gWatcher->files().contains(watch.file)) gWatcher->addPath(watch.file);
    PostMessage(watch.window, watch.message, static_cast<std::uintptr_t>(number), 0);
}

void FileChanged(const QString& path) {
    for (auto& [number, watch] : gWatches) {
        if (watch.file == path) Notify(number, watch);
    }
}

void FolderChanged(const QString& path) {
    for (auto& [number, watch] : gWatches) {
        if (watch.folder == path && !(StampOf(watch.file) == watch.seen)) Notify(number, watch);
    }
}

QFileSystemWatcher& Watcher() {
    if (gWatcher == nullptr) {
        UiInit();
        gWatcher = new QFileSystemWatcher(QCoreApplication::instance());
        QObject::connect(gWatcher, &QFileSystemWatcher::fileChanged, &FileChanged);
        QObject::connect(gWatcher, &QFileSystemWatcher::directoryChanged, &FolderChanged);
    }
    return *gWatcher;
}

// Paths are kept absolute and clean, as the watcher reports them.
QString Absolute(const std::string& utf8) {
    return QFileInfo(QString::fromStdString(utf8)).absoluteFilePath();
}

}  // namespace

std::int32_t WatchFile(Handle window, std::string_view cp1252Path, std::uint32_t message) {
    QFileSystemWatcher& watcher = Watcher();
    Watch watch{window, message, Absolute(TranslatePath(cp1252Path)), {}, {}};
    watch.folder = QFileInfo(watch.file).absolutePath();
    if (!watcher.directories().contains(watch.folder) && !watcher.addPath(watch.folder)) return 0;
    watch.seen = StampOf(watch.file);
    if (watch.seen.exists && !watcher.files().contains(watch.file)) watcher.addPath(watch.file);
    const std::int32_t number = gNext++;
    gWatches.emplace(number, watch);
    return number;
}

void UnwatchFile(std::int32_t number) {
    const auto found = gWatches.find(number);
    if (found == gWatches.end()) return;
    const Watch gone = found->second;
    gWatches.erase(found);
    bool fileUsed = false, folderUsed = false;
    for (const auto& [other, watch] : gWatches) {
        fileUsed = fileUsed || watch.file == gone.file;
        folderUsed = folderUsed || watch.folder == gone.folder;
    }
    if (!fileUsed && gWatcher->files().contains(gone.file)) gWatcher->removePath(gone.file);
    if (!folderUsed && gWatcher->directories().contains(gone.folder)) {
        gWatcher->removePath(gone.folder);
    }
}

}  // namespace platform
