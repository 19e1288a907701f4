// Temporary placeholders until the views are driven.
#include "views/regedit_views.h"

#include "app/exit_flags.h"

void allocateLocalText() {}
std::uint32_t findRegeditViews(const WindowSet&, RegeditViews&, HANDLE, std::size_t) {
    return ExitFlags::CommunicationSetupFailed | ExitFlags::NoEligibleWindow;
}
std::uint32_t jumpInRegeditViews(std::wstring, const RegeditViews&) { return ExitFlags::KeyNotFound; }
void releaseRemoteBuffers() {}
void abandonRemoteBuffers() noexcept {}
