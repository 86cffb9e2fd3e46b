// The progress line.
#include "tools/maptool/Progress.h"

#include <unistd.h>

#include <cstdio>
#include <string>

#include "tools/maptool/Messages.h"

namespace maptool {
namespace {

// Standard error is a terminal when its descriptor names a terminal device.
bool StandardErrorIsTerminal() {
    char target[256];
    const ssize_t length = readlink("/proc/self/fd/2", target, sizeof target - 1);
    if (length <= 0) return false;
    const std::string device(target, static_cast<std::size_t>(length));
    return device.rfind("/dev/pts/", 0) == 0 || device.rfind("/dev/tty", 0) == 0;
}

constexpr std::int64_t kQuietMilliseconds = 1000;
constexpr std::int64_t kEveryMilliseconds = 200;

}  // namespace

Progress::Progress(std::string what, std::int64_t total)
    : what_(Shown(what)),
      total_(total),
      terminal_(StandardErrorIsTerminal()),
      started_(std::chrono::steady_clock::now()) {}

Progress::~Progress() {
    if (shown_) std::fputs("\r\033[K", stderr);
}

void Progress::Update(std::int64_t done) {
    if (!terminal_ || total_ <= 0) return;
    const std::int64_t now = std::chrono::duration_cast<std::chrono::milliseconds>(
                                 std::chrono::steady_clock::now() - started_)
                                 .count();
    if (now < kQuietMilliseconds || now - lastShown_ < kEveryMilliseconds) return;
    lastShown_ = now;
    shown_ = true;
    std::fprintf(stderr, "\rmaptool: %s: %lld %%", what_.c_str(),
                 static_cast<long long>(done * 100 / total_));
    std::fflush(stderr);
}

}  // namespace maptool
