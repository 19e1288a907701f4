#pragma once
#include <windows.h>

#include <utility>

namespace hivescout {

// Owns one kernel handle and closes it exactly once. Both null and
// INVALID_HANDLE_VALUE count as "no handle", since the API uses either.
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE handle) noexcept : handle_(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~UniqueHandle() { reset(); }

    HANDLE get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return isValid(handle_); }

    HANDLE release() noexcept { return std::exchange(handle_, nullptr); }
    void reset(HANDLE handle = nullptr) noexcept {
        HANDLE old = std::exchange(handle_, handle);
        if (isValid(old)) ::CloseHandle(old);
    }

    static bool isValid(HANDLE handle) noexcept {
        return handle != nullptr && handle != INVALID_HANDLE_VALUE;
    }

private:
    HANDLE handle_ = nullptr;
};

// Owns a buffer that the system allocated with LocalAlloc.
class UniqueLocalMemory {
public:
    UniqueLocalMemory() = default;
    explicit UniqueLocalMemory(HLOCAL memory) noexcept : memory_(memory) {}
    UniqueLocalMemory(const UniqueLocalMemory&) = delete;
    UniqueLocalMemory& operator=(const UniqueLocalMemory&) = delete;
    ~UniqueLocalMemory() {
        if (memory_) ::LocalFree(memory_);
    }
    HLOCAL get() const noexcept { return memory_; }
    // For APIs that return the buffer through an out parameter.
    HLOCAL* receive() noexcept { return &memory_; }

private:
    HLOCAL memory_ = nullptr;
};

// Owns a loaded library.
class UniqueModule {
public:
    UniqueModule() = default;
    explicit UniqueModule(HMODULE module) noexcept : module_(module) {}
    UniqueModule(const UniqueModule&) = delete;
    UniqueModule& operator=(const UniqueModule&) = delete;
    ~UniqueModule() { reset(); }
    HMODULE get() const noexcept { return module_; }
    explicit operator bool() const noexcept { return module_ != nullptr; }
    void reset() noexcept {
        if (module_) ::FreeLibrary(std::exchange(module_, nullptr));
    }

private:
    HMODULE module_ = nullptr;
};

}  // namespace hivescout
