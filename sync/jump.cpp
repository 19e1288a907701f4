#include "sync/jump.h"

#include "app/exit_flags.h"

// Placeholder until the editor is driven: no window can be found yet.
std::uint32_t jumpToPath(const std::wstring&, std::wstring, const std::wstring*) {
    return ExitFlags::NoEligibleWindow;
}
