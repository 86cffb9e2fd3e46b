// A progress line on standard error for long jobs: shown only when standard error is a
// terminal and the job has run for more than a second, updated a few times a second, and
// cleared at the end.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace maptool {

class Progress {
public:
    Progress(std::string what, std::int64_t total);
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    void Update(std::int64_t done);

private:
    std::string what_;
    std::int64_t total_;
    bool terminal_;
    bool shown_ = false;
    std::chrono::steady_clock::time_point started_;
    std::int64_t lastShown_ = 0;  // milliseconds after the start
};

}  // namespace maptool
