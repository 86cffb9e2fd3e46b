// The progress line.
#include "tools/maptool/Progress.h"

#include <QFileInfo>
#include <cstdio>

#include "tools/maptool/Messages.h"

namespace maptool {
namespace {

// Standard error is a terminal when its descriptor names a terminal device.
bool StandardErrorIsTerminal() {
    const QString device = QFileInfo(QStringLiteral("/proc/self/fd/2")).symLinkTarget();
    return device.startsWith(QStringLiteral("/dev/pts/")) ||
           device.startsWith(QStringLiteral("/dev/tty"));
}

constexpr qint64 kQuietMilliseconds = 1000;
constexpr qint64 kEveryMilliseconds = 200;

}  // namespace

Progress::Progress(std::string what, std::int64_t total)
    : what_(Shown(what)), total_(total), terminal_(StandardErrorIsTerminal()) {
    started_.start();
}

Progress::~Progress() {
    if (shown_) std::fputs("\r\033[K", stderr);
}

void Progress::Update(std::int64_t done) {
    if (!terminal_ || total_ <= 0) return;
    const qint64 now = started_.elapsed();
    if (now < kQuietMilliseconds || now - lastShown_ < kEveryMilliseconds) return;
    lastShown_ = now;
    shown_ = true;
    std::fprintf(stderr, "\rmaptool: %s: %lld %%", what_.c_str(),
                 static_cast<long long>(done * 100 / total_));
    std::fflush(stderr);
}

}  // namespace maptool
