#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string_view>

#include "views/editor_messages.h"
#include "views/record_layout.h"
#include "views/remote_block.h"
#include "views/view_finder.h"

namespace hivescout {

// Bytes of one text exchange: the capacity told to the controls, terminator included.
constexpr std::size_t kRemoteTextBytes = kRemoteTextCapacity * sizeof(wchar_t);
// The blocks are one unit longer than that; the last unit is never written by a control.
constexpr std::size_t kTextBlockUnits = kRemoteTextCapacity + 1;

// The three blocks inside the editor and the tool's copy of the text, for one jump.
struct RemoteBuffers {
    RemoteBuffers() = default;
    RemoteBuffers(const RemoteBuffers&) = delete;
    RemoteBuffers& operator=(const RemoteBuffers&) = delete;
    ~RemoteBuffers() { release(); }

    // Holds the three blocks in the editor's process and makes the tool's copy of the text
    // (40962 bytes). What is already held is kept, so a second call allocates nothing.
    // Returns 0, or CommunicationSetupFailed with its line reported.
    std::uint32_t allocate(HANDLE editor);

    // Frees the remote blocks (only while the editor runs, and only when every message
    // was answered: one still waiting in the editor may write into them when it wakes) and
    // the local text; a second call finds nothing.
    void release() noexcept;

    RemoteBlock text;      // what a control copies an item's text into
    RemoteBlock treeItem;  // the tree item record
    RemoteBlock listItem;  // the list item record
    std::unique_ptr<wchar_t[]> localText;
    // The editor the blocks live in, as they borrowed it; null while none is held.
    HANDLE process() const noexcept { return text.process(); }
    EditorMessenger messages;  // every message that names the blocks, and the others to the editor
};

// Ends the text read back within its first kRemoteTextCapacity units, whatever the editor
// wrote there, and returns it up to its first zero unit.
std::wstring_view terminateLocalText(wchar_t* text);

// One get-item exchange. text stays valid until the next exchange.
struct ItemText {
    std::uint32_t failure = 0;  // bits of a failed write or read (its line reported) or of no answer
    LRESULT answer = 0;         // the control's answer to the get-item message
    std::wstring_view text;     // empty when the control answered zero
};

// Writes the record, sends the get-item message and reads the text back. When the
// control answers zero the text is left empty: whatever the block holds belongs to an
// earlier item.
ItemText queryItemText(RemoteBuffers& buffers, HWND tree, const TreeItemRecord& record);
ItemText queryItemText(RemoteBuffers& buffers, HWND list, const ListItemRecord& record);

// Writes a list record without asking for anything back (the state change of a row).
// Returns the failure bits, its line already reported.
std::uint32_t writeListRecord(RemoteBuffers& buffers, const ListItemRecord& record);

}  // namespace hivescout
