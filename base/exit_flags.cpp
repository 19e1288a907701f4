#include "base/exit_flags.h"

namespace hivescout {

std::atomic<std::uint32_t> exitFlags{0};

}  // namespace hivescout
