#include "ui/usage.h"

#include "app/exit_flags.h"

// Placeholder until the usage window exists.
std::uint32_t showRichUsage() { return 0; }
std::uint32_t showPlainUsage() { return 0; }
