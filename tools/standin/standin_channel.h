#pragma once
// What the stand-in editor shares with the tests: its knobs (environment variables read at
// start; numbers are decimal milliseconds or counts, unset or zero switches a knob off)
// and the record of the messages its controls get from other processes.
#include <cstdint>

namespace standin {

// The record: STANDIN_RECORD names a file to which every driving message sent to the
// tree, the list or the list's header from another process is appended, before it is
// handled, as one RecordedMessage.
enum class Control : std::uint32_t { Tree = 1, List = 2, Header = 3 };
struct RecordedMessage {
    Control control;
    std::uint32_t message;
    std::uint64_t wParam;
    std::uint64_t lParam;
};

namespace knob {
constexpr wchar_t kRecord[] = L"STANDIN_RECORD";
// The main window is created this long after the start.
constexpr wchar_t kWindowDelayMs[] = L"STANDIN_WINDOW_DELAY_MS";
// The tree and the list come this long after the main window; a placeholder keeps the
// window at three children meanwhile.
constexpr wchar_t kControlsDelayMs[] = L"STANDIN_CONTROLS_DELAY_MS";
// "1": the main window has only the tree and the list as children.
constexpr wchar_t kTwoChildren[] = L"STANDIN_TWO_CHILDREN";
// "none": no list; "before": the list comes before the tree.
constexpr wchar_t kListPlacement[] = L"STANDIN_LIST_PLACEMENT";
// Every item read from another process waits this long before it is answered.
constexpr wchar_t kItemReadDelayMs[] = L"STANDIN_ITEM_READ_DELAY_MS";
// The list is filled this long after a selection change; its header answers -1 meanwhile.
constexpr wchar_t kListFillDelayMs[] = L"STANDIN_LIST_FILL_DELAY_MS";
// The process ends this long after the start.
constexpr wchar_t kExitAfterMs[] = L"STANDIN_EXIT_AFTER_MS";
// "tree:N" or "list:N": the process ends inside the Nth item read of that control.
constexpr wchar_t kExitOnItemRead[] = L"STANDIN_EXIT_ON_ITEM_READ";
}  // namespace knob

}  // namespace standin
