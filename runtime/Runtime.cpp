// The fixed start-up and shut-down orders.
#include "runtime/Runtime.h"

#include <array>
#include <cstddef>

#include "runtime/File.h"

namespace runtime {
namespace {

// Strings own their storage (RtString.h) and dynamic objects live in each table's own node
// list (ObjectTable.h), so the string and object-node steps have nothing to do and stay empty.

std::array<LibraryStep, static_cast<std::size_t>(StartStep::Count)> gStart = [] {
    std::array<LibraryStep, static_cast<std::size_t>(StartStep::Count)> steps{};
    steps[static_cast<std::size_t>(StartStep::Files)] = &FileLibraryInit;
    return steps;
}();

std::array<LibraryStep, static_cast<std::size_t>(EndStep::Count)> gEnd = [] {
    std::array<LibraryStep, static_cast<std::size_t>(EndStep::Count)> steps{};
    steps[static_cast<std::size_t>(EndStep::Files)] = &FileLibraryEnd;
    return steps;
}();

bool gRunning = false;

}  // namespace

void RuntimeSetStartStep(StartStep step, LibraryStep operation) {
    gStart[static_cast<std::size_t>(step)] = operation;
}

void RuntimeSetEndStep(EndStep step, LibraryStep operation) {
    gEnd[static_cast<std::size_t>(step)] = operation;
}

void RuntimeStart() {
    // Program-wide values start zeroed by static initialisation; the module handle and
    // private heaps of the original platform have no counterpart here.
    for (LibraryStep step : gStart) {
        if (step != nullptr) step();
    }
    gRunning = true;
}

void RuntimeEnd() {
    for (LibraryStep step : gEnd) {
        if (step != nullptr) step();
    }
    gRunning = false;
}

bool RuntimeRunning() { return gRunning; }

}  // namespace runtime
