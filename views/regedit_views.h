#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "regedit/regedit_instance.h"

// The editor's key tree and value list; both null until found.
struct RegeditViews {
    HWND tree = nullptr;
    HWND list = nullptr;
};

// Text capacity told to the controls, in UTF-16 units, terminating zero included.
constexpr std::size_t kRemoteTextCapacity = 20480;

// Allocates the tool's own copy of the remote text (40962 bytes). Called by the
// orchestration just before the views are searched.
void allocateLocalText();

// Finds the tree and the list after it in one candidate window and allocates the remote
// blocks in the editor (regeditInstance.process). Returns 0, 32, 36 or 33554432, having
// reported any failure.
std::uint32_t findRegeditViews(const WindowSet& candidateWindows, RegeditViews& views, HANDLE process,
                               std::size_t textCapacity);

// Walks the tree to the target and selects the key or value. Returns the walk's bits.
std::uint32_t jumpInRegeditViews(std::wstring targetPath, const RegeditViews& views);

// Frees the remote blocks (only while the editor runs) and the local text.
void releaseRemoteBuffers();

// The termination path: a message in flight may still use the remote blocks and the
// suspended main thread may hold the heap, so nothing is freed; the blocks are left to
// the editor and the local memory to the end of the process.
void abandonRemoteBuffers() noexcept;
