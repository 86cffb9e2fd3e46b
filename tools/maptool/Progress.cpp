// The progress line.
#include "tools/maptool/Progress.h"

#include <cstdio>
#include <string>

#include "platform/Console.h"
#include "tools/maptool/Messages.h"

namespace maptool {
namespace {

constexpr std::int64_t kQuietMilliseconds = 1000;
constexpr std::int64_t kEveryMilliseconds = 200;

}  // namespace

Progress::Progress(std::string what, std::int64_t total)
    : what_(Shown(what)),
      total_(total),
      terminal_(platform::StandardErrorIsTerminal()),
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
