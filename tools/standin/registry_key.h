#pragma once
#include <windows.h>

#include <utility>

// Owns one opened registry key. Never holds a predefined root key: callers open the
// root itself with an empty subkey path to get a handle of their own.
class RegistryKey {
public:
    RegistryKey() = default;
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    RegistryKey(RegistryKey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
    RegistryKey& operator=(RegistryKey&& other) noexcept {
        if (this != &other) reset(std::exchange(other.key_, nullptr));
        return *this;
    }
    ~RegistryKey() { reset(); }

    HKEY get() const noexcept { return key_; }
    explicit operator bool() const noexcept { return key_ != nullptr; }
    // For APIs that return the key through an out parameter.
    HKEY* receive() noexcept {
        reset();
        return &key_;
    }
    void reset(HKEY key = nullptr) noexcept {
        if (HKEY old = std::exchange(key_, key)) ::RegCloseKey(old);
    }

    LSTATUS open(HKEY parent, const wchar_t* subkey, REGSAM access = KEY_READ) noexcept {
        return ::RegOpenKeyExW(parent, subkey, 0, access, receive());
    }

private:
    HKEY key_ = nullptr;
};
