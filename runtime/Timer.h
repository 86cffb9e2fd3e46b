// Elapsed time for work that is due after a while (the editor's recovery copy).
#pragma once

#include <cstdint>

namespace runtime {

// Milliseconds on a steady clock that never goes backwards; only differences are meaningful.
std::int64_t ElapsedMilliseconds();

}  // namespace runtime
