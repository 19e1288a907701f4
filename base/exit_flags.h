#pragma once
#include <atomic>
#include <cstdint>

namespace hivescout {

// The result bits of a run. Every step that can fail returns a combination of these;
// the final value is the process exit code (0 = success).
namespace ExitFlags {
enum : std::uint32_t {
    None = 0,
    NoEligibleRegedit = 1,
    RegeditHandleFailed = 2,
    NoEligibleWindow = 4,
    RegeditLaunchFailed = 8,
    NoKeyGiven = 16,
    CommunicationSetupFailed = 32,
    TreeItemWriteFailed = 64,
    TreeItemReadFailed = 128,
    ListItemWriteFailed = 256,
    ListRowReadFailed = 512,
    KeyNotFound = 1024,
    BlockedByOtherInstance = 2048,
    UsageWindowFailed = 16384,
    CannotUse64BitRegedit = 32768,
    Running32BitRegeditBlocks64 = 65536,
    Running64BitRegeditBlocks32 = 131072,
    ValueNotFound = 262144,
    NoValueGiven = 524288,
    ResourceExtractionFailed = 1048576,
    RegeditTerminated = 33554432,
    TerminatedByOtherInstance = 67108864,
};
}  // namespace ExitFlags

// The result bits of the run, process-wide: the main flow gathers them and the
// termination watcher reads them from its own thread.
extern std::atomic<std::uint32_t> exitFlags;

}  // namespace hivescout
