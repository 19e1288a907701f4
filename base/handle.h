#pragma once
#include <windows.h>

#include <utility>

namespace hivescout {

// Owns one resource and gives it back exactly once, through the closing function of its
// kind. A kind is described by traits: the value type, its empty value, which values are
// valid, and how to close one.
template <typename Traits>
class UniqueResource {
public:
    using value_type = typename Traits::value_type;

    UniqueResource() noexcept = default;
    explicit UniqueResource(value_type value) noexcept : value_(value) {}
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~UniqueResource() { reset(); }

    value_type get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return Traits::isValid(value_); }

    value_type release() noexcept { return std::exchange(value_, Traits::empty()); }
    void reset(value_type value = Traits::empty()) noexcept {
        const value_type old = std::exchange(value_, value);
        if (Traits::isValid(old)) Traits::close(old);
    }
    // For APIs that return the resource through an out parameter.
    value_type* receive() noexcept {
        reset();
        return &value_;
    }

private:
    value_type value_ = Traits::empty();
};

// Kinds whose empty value is null.
template <typename Value, auto Close>
struct NullIsEmpty {
    using value_type = Value;
    static Value empty() noexcept { return nullptr; }
    static bool isValid(Value value) noexcept { return value != nullptr; }
    static void close(Value value) noexcept { Close(value); }
};

// Kernel handles: the API uses both null and INVALID_HANDLE_VALUE for "no handle".
struct KernelHandleKind : NullIsEmpty<HANDLE, &::CloseHandle> {
    static bool isValid(HANDLE handle) noexcept { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
};

// A window's device context, given back to its window.
struct WindowDc {
    HWND window = nullptr;
    HDC dc = nullptr;
};
struct WindowDcKind {
    using value_type = WindowDc;
    static WindowDc empty() noexcept { return {}; }
    static bool isValid(WindowDc value) noexcept { return value.dc != nullptr; }
    static void close(WindowDc value) noexcept { ::ReleaseDC(value.window, value.dc); }
};

// An object selected into a device context: closing puts the previous one back.
struct Selection {
    HDC dc = nullptr;
    HGDIOBJ previous = nullptr;
};
struct SelectionKind {
    using value_type = Selection;
    static Selection empty() noexcept { return {}; }
    static bool isValid(Selection value) noexcept { return value.previous && value.previous != HGDI_ERROR; }
    static void close(Selection value) noexcept { ::SelectObject(value.dc, value.previous); }
};

// This thread's hold on the clipboard.
struct OpenClipboardKind {
    using value_type = bool;
    static bool empty() noexcept { return false; }
    static bool isValid(bool open) noexcept { return open; }
    static void close(bool) noexcept { ::CloseClipboard(); }
};

using UniqueHandle = UniqueResource<KernelHandleKind>;
using UniqueLocalMemory = UniqueResource<NullIsEmpty<HLOCAL, &::LocalFree>>;
using UniqueModule = UniqueResource<NullIsEmpty<HMODULE, &::FreeLibrary>>;
using UniqueFont = UniqueResource<NullIsEmpty<HFONT, &::DeleteObject>>;
// A mutex this thread owns; closing gives up the ownership, not the handle.
using HeldMutex = UniqueResource<NullIsEmpty<HANDLE, &::ReleaseMutex>>;
using UniqueWindowDc = UniqueResource<WindowDcKind>;
using UniqueSelection = UniqueResource<SelectionKind>;
// Locked global memory: closing unlocks it.
using UniqueGlobalLock = UniqueResource<NullIsEmpty<HGLOBAL, &::GlobalUnlock>>;
using UniqueClipboard = UniqueResource<OpenClipboardKind>;

// Whether the process behind a handle has ended (a zero time-out wait on it). The editor's
// owner asks it as editorHasEnded; the views ask it of the handle their blocks borrow.
inline bool processHasEnded(HANDLE process) noexcept { return ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }

}  // namespace hivescout
