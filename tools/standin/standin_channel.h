#pragma once
// What the stand-in editor shares with the tests: its knobs (environment variables read at start; numbers are decimal
// milliseconds or counts, unset or zero switches a knob off) and the record of the messages its controls get from
// other processes.
#include <cstdint>

namespace standin {

// STANDIN_RECORD names a file to which every driving message from another process to the tree, the list or its
// header is appended, before it is handled, as one RecordedMessage.
enum class Control : std::uint32_t { Tree = 1, List = 2, Header = 3 };
struct RecordedMessage {
    Control control;
    std::uint32_t message;
    std::uint64_t wParam;
    std::uint64_t lParam;
};

namespace knob {
constexpr wchar_t kRecord[] = L"STANDIN_RECORD";
constexpr wchar_t kWindowDelayMs[] = L"STANDIN_WINDOW_DELAY_MS";  // the main window comes this late
// The views come this long after the main window; a placeholder keeps it at three children.
constexpr wchar_t kControlsDelayMs[] = L"STANDIN_CONTROLS_DELAY_MS";
constexpr wchar_t kNoList[] = L"STANDIN_NO_LIST";                      // "1": a tree but no list
constexpr wchar_t kItemReadDelayMs[] = L"STANDIN_ITEM_READ_DELAY_MS";  // before each item read is answered
constexpr wchar_t kExitAfterMs[] = L"STANDIN_EXIT_AFTER_MS";           // the process ends this long after the start
// "tree:N" or "list:N": the process ends inside the Nth item read of that control.
constexpr wchar_t kExitOnItemRead[] = L"STANDIN_EXIT_ON_ITEM_READ";
// "TVM_GETITEMW", "TVM_EXPAND" or "LVM_GETITEMW": the first such message from another process is answered only
// STANDIN_STALL_MS later (a hang, when long: the test ends the editor).
constexpr wchar_t kStallIn[] = L"STANDIN_STALL_IN";
constexpr wchar_t kStallMs[] = L"STANDIN_STALL_MS";
}  // namespace knob

}  // namespace standin
