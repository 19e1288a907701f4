#pragma once
#include <windows.h>

#include <utility>

namespace hivescout {

// Owns a font created by the dialog and deletes it exactly once.
class UniqueFont {
public:
    UniqueFont() = default;
    explicit UniqueFont(HFONT font) noexcept : font_(font) {}
    UniqueFont(const UniqueFont&) = delete;
    UniqueFont& operator=(const UniqueFont&) = delete;
    ~UniqueFont() { reset(); }
    HFONT get() const noexcept { return font_; }
    explicit operator bool() const noexcept { return font_ != nullptr; }
    void reset(HFONT font = nullptr) noexcept {
        HFONT old = std::exchange(font_, font);
        if (old) ::DeleteObject(old);
    }

private:
    HFONT font_ = nullptr;
};

// A window's device context, released when it goes out of scope.
class WindowDeviceContext {
public:
    explicit WindowDeviceContext(HWND window) noexcept : window_(window), dc_(::GetDC(window)) {}
    WindowDeviceContext(const WindowDeviceContext&) = delete;
    WindowDeviceContext& operator=(const WindowDeviceContext&) = delete;
    ~WindowDeviceContext() {
        if (dc_) ::ReleaseDC(window_, dc_);
    }
    HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// Selects an object into a device context and puts the previous one back afterwards.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(::SelectObject(dc, object)) {}
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    ~SelectedObject() {
        if (previous_ && previous_ != HGDI_ERROR) ::SelectObject(dc_, previous_);
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace hivescout
