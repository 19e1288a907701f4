#pragma once
#include <windows.h>

#include <utility>

// Owns one opened registry key (never a predefined root key).
class RegistryKey {
public:
    RegistryKey() = default;
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    ~RegistryKey() { reset(); }
    HKEY get() const noexcept { return key_; }
    HKEY* receive() noexcept { return reset(), &key_; }
    void reset() noexcept {
        if (HKEY old = std::exchange(key_, nullptr)) ::RegCloseKey(old);
    }
    LSTATUS open(HKEY parent, const wchar_t* subkey) noexcept { return ::RegOpenKeyExW(parent, subkey, 0, KEY_READ, receive()); }

private:
    HKEY key_ = nullptr;
};
