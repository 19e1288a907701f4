#include "ui/window_module.h"

#include <memory>
#include <new>
#include <vector>

namespace hivescout {

namespace {

class CriticalSection {
public:
    CriticalSection() { ::InitializeCriticalSection(&section_); }
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;
    ~CriticalSection() { ::DeleteCriticalSection(&section_); }
    void enter() { ::EnterCriticalSection(&section_); }
    void leave() { ::LeaveCriticalSection(&section_); }

private:
    CRITICAL_SECTION section_;
};

class SectionLock {
public:
    explicit SectionLock(CriticalSection& section) : section_(section) { section_.enter(); }
    SectionLock(const SectionLock&) = delete;
    SectionLock& operator=(const SectionLock&) = delete;
    ~SectionLock() { section_.leave(); }

private:
    CriticalSection& section_;
};

struct AnnouncedDialog {
    DialogWindow* dialog;
    DWORD threadId;
};

struct WindowModule {
    HINSTANCE instance = nullptr;
    CriticalSection guard;
    std::vector<AnnouncedDialog> announced;
};

std::unique_ptr<WindowModule> windowModule;

}  // namespace

HRESULT initialiseWindowModule(HINSTANCE instance) {
    try {
        auto module = std::make_unique<WindowModule>();
        module->instance = instance;
        module->announced.reserve(4);
        windowModule = std::move(module);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

void shutdownWindowModule() { windowModule.reset(); }

HINSTANCE windowModuleInstance() {
    if (windowModule && windowModule->instance) return windowModule->instance;
    return ::GetModuleHandleW(nullptr);
}

bool announceDialog(DialogWindow* dialog) {
    if (!windowModule) return false;
    SectionLock lock(windowModule->guard);
    try {
        windowModule->announced.push_back({dialog, ::GetCurrentThreadId()});
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

DialogWindow* takeAnnouncedDialog() {
    if (!windowModule) return nullptr;
    SectionLock lock(windowModule->guard);
    auto& announced = windowModule->announced;
    const DWORD thread = ::GetCurrentThreadId();
    for (auto entry = announced.begin(); entry != announced.end(); ++entry) {
        if (entry->threadId == thread) {
            DialogWindow* dialog = entry->dialog;
            announced.erase(entry);
            return dialog;
        }
    }
    return nullptr;
}

}  // namespace hivescout
