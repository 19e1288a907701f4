#pragma once
// What the stand-in editor tells the tests about itself.
//
// Each stand-in process publishes one named file mapping,
//     L"Local\\HivescoutStandin-" followed by its decimal process ID,
// holding one StandinChannel. The stand-in is the only writer of everything but
// clearMark; readers open the mapping with FILE_MAP_ALL_ACCESS (clearMark is theirs).
// The mapping outlives the stand-in as long as a reader keeps it open, so the last
// state and the message record stay readable after the editor has ended.
//
// The state block (readiness and window handles) is written under
// a sequence counter: stateSequence is odd while the stand-in writes. A reader copies
// the block and retries when the counter was odd or changed during the copy.
//
// The message record is a ring of kRecordCapacity entries. The stand-in writes entry
// (messageCount % kRecordCapacity), then increments messageCount. A reader takes the
// entries from clearMark to messageCount; clearing the record means setting clearMark
// to messageCount. If more than kRecordCapacity entries lie between them, the oldest
// are lost and the reader must treat the record as overflowed.
#include <windows.h>

#include <cstdint>

namespace standin {

constexpr wchar_t kChannelNamePrefix[] = L"Local\\HivescoutStandin-";
constexpr std::uint32_t kChannelMagic = 0x4E445453u;  // "STDN"
constexpr std::uint32_t kChannelVersion = 2;
constexpr std::uint32_t kRecordCapacity = 1u << 17;

// Which subclassed control received a recorded message.
enum class Control : std::uint32_t { Tree = 1, List = 2, Header = 3 };

// How the message reached the control.
enum class Origin : std::uint32_t {
    OwnThread = 0,    // posted, or sent by the stand-in itself (its own inserts, paints...)
    OtherThread = 1,  // sent by another thread or process at the top of the stand-in's
                      // message handling: what a driving program sends
};

struct RecordedMessage {
    std::uint32_t control;  // Control
    std::uint32_t origin;   // Origin
    std::uint32_t message;
    std::uint32_t reserved;
    std::uint64_t wParam;
    std::uint64_t lParam;
};

struct ChannelState {
    std::uint32_t ready;         // 1 once the main window and its controls exist
                                 // (mainWindow is set as soon as the window exists)
    std::uint32_t reserved;
    std::uint64_t mainWindow;    // window handles as 64-bit values
    std::uint64_t tree;
    std::uint64_t list;
    std::uint64_t header;
};

struct StandinChannel {
    std::uint32_t magic;
    std::uint32_t version;
    volatile LONG stateSequence;
    std::uint32_t reserved;
    ChannelState state;
    volatile LONG64 messageCount;  // entries ever recorded
    volatile LONG64 clearMark;     // written by readers
    volatile LONG recordOverflowed;
    std::uint32_t reserved2;
    RecordedMessage record[kRecordCapacity];
};

// Environment variables read by the stand-in at start. Numbers are decimal milliseconds
// or counts; an unset, empty or zero value switches the knob off.
namespace knob {
// The main window is created (and shown) this long after the start.
constexpr wchar_t kWindowDelayMs[] = L"STANDIN_WINDOW_DELAY_MS";
// The tree and the list are created this long after the main window; until then a
// placeholder keeps the window at three children (address bar, placeholder, status bar).
constexpr wchar_t kControlsDelayMs[] = L"STANDIN_CONTROLS_DELAY_MS";
// "1": the main window has only the tree and the list as children.
constexpr wchar_t kTwoChildren[] = L"STANDIN_TWO_CHILDREN";
// "none": no list at all; "before": the list is a child before the tree, none after it.
constexpr wchar_t kListPlacement[] = L"STANDIN_LIST_PLACEMENT";
// "before" or "after": a second top-level window of the process with three plain
// children, created before or after the main window.
constexpr wchar_t kSecondWindow[] = L"STANDIN_SECOND_WINDOW";
// Every TVM_GETITEMW and LVM_GETITEMW of Origin::OtherThread waits this long before it
// is answered (the stand-in's own reads are not slowed).
constexpr wchar_t kItemReadDelayMs[] = L"STANDIN_ITEM_READ_DELAY_MS";
// The list is filled this long after a selection change; the header answers -1 to
// HDM_GETITEMCOUNT meanwhile.
constexpr wchar_t kListFillDelayMs[] = L"STANDIN_LIST_FILL_DELAY_MS";
// The process ends (ExitProcess) this long after the start.
constexpr wchar_t kExitAfterMs[] = L"STANDIN_EXIT_AFTER_MS";
// The process ends on receiving the Nth control message of Origin::OtherThread, before
// handling it: the sender's SendMessageW then returns 0.
constexpr wchar_t kExitAfterMessages[] = L"STANDIN_EXIT_AFTER_MESSAGES";
// "tree:N" or "list:N": ends the process while it handles the Nth item read of that
// control sent from outside.
constexpr wchar_t kExitOnItemRead[] = L"STANDIN_EXIT_ON_ITEM_READ";
}  // namespace knob

}  // namespace standin
