#include "tests/support/standin.h"

#include <commctrl.h>
#include <tlhelp32.h>

#include <fstream>
#include <iterator>
#include <sstream>

#include "tests/support/editor_view.h"

using namespace hivescout;

using standin::Control;
using standin::Origin;

namespace {

std::string fileBytes(const std::wstring& path) {
    std::ifstream file(path.c_str(), std::ios::binary);
    if (!file) return std::string();
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::wstring lowerCase(std::wstring text) {
    for (wchar_t& unit : text) unit = static_cast<wchar_t>(towlower(unit));
    return text;
}

RunOptions standinRunOptions(const StandinOptions& options) {
    installStandin();
    RunOptions run;
    run.environment = options.knobs;
    return run;
}

const wchar_t* controlName(Control control) {
    switch (control) {
    case Control::Tree: return L"tree";
    case Control::List: return L"list";
    case Control::Header: return L"header";
    }
    return L"?";
}

const char* messageName(UINT message) {
    switch (message) {
    case TVM_GETNEXTITEM: return "TVM_GETNEXTITEM";
    case TVM_GETITEMW: return "TVM_GETITEMW";
    case TVM_SELECTITEM: return "TVM_SELECTITEM";
    case TVM_EXPAND: return "TVM_EXPAND";
    case LVM_GETITEMCOUNT: return "LVM_GETITEMCOUNT";
    case LVM_GETHEADER: return "LVM_GETHEADER";
    case LVM_GETITEMW: return "LVM_GETITEMW";
    case LVM_SETITEMW: return "LVM_SETITEMW";
    case LVM_SETITEMSTATE: return "LVM_SETITEMSTATE";
    case LVM_ENSUREVISIBLE: return "LVM_ENSUREVISIBLE";
    case HDM_GETITEMCOUNT: return "HDM_GETITEMCOUNT";
    case WM_MBUTTONDOWN: return "WM_MBUTTONDOWN";
    case WM_MBUTTONUP: return "WM_MBUTTONUP";
    case WM_KEYUP: return "WM_KEYUP";
    case WM_SHOWWINDOW: return "WM_SHOWWINDOW";
    default: return nullptr;
    }
}

}  // namespace

std::wstring standinBuildPath() { return ownDirectory() + L"standin\\regedit.exe"; }

std::wstring installedEditorPath() {
    wchar_t directory[MAX_PATH + 1] = {};
    const UINT length = ::GetWindowsDirectoryW(directory, MAX_PATH);
    std::wstring path(directory, length);
    if (!path.empty() && path.back() != L'\\') path += L'\\';
    return path + L"regedit.exe";
}

bool installStandin() {
    const std::string wanted = fileBytes(standinBuildPath());
    if (wanted.empty()) return false;
    if (fileBytes(installedEditorPath()) == wanted) return true;
    return saveWineEditor() && ::CopyFileW(standinBuildPath().c_str(), installedEditorPath().c_str(), FALSE) != FALSE;
}

std::vector<DWORD> runningEditorIds() {
    std::vector<DWORD> ids;
    UniqueHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return ids;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more; more = ::Process32NextW(snapshot.get(), &entry))
        if (lowerCase(entry.szExeFile) == L"regedit.exe") ids.push_back(entry.th32ProcessID);
    return ids;
}

bool killAllEditors(DWORD timeoutMs) {
    std::vector<UniqueHandle> ending;
    for (DWORD id : runningEditorIds()) {
        UniqueHandle process(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
        if (process && ::TerminateProcess(process.get(), 0xDEAD)) ending.push_back(std::move(process));
    }
    for (const UniqueHandle& process : ending) ::WaitForSingleObject(process.get(), timeoutMs);
    return runningEditorIds().empty();
}

bool operator==(const StandinMessage& left, const StandinMessage& right) {
    return left.control == right.control && left.message == right.message && left.wParam == right.wParam &&
           left.lParam == right.lParam;
}

void PrintTo(const StandinMessage& message, std::ostream* out) {
    *out << toUtf8(controlName(message.control)) << ' ';
    if (const char* name = messageName(message.message)) *out << name;
    else *out << "0x" << std::hex << message.message << std::dec;
    *out << " wParam=0x" << std::hex << static_cast<unsigned long long>(message.wParam) << " lParam=0x"
         << static_cast<unsigned long long>(message.lParam) << std::dec
         << (message.origin == Origin::OtherThread ? " (sent from outside)" : " (own thread)");
}

bool isNoiseMessage(UINT message) {
    switch (message) {
    case WM_PAINT: case WM_NCPAINT: case WM_ERASEBKGND: case WM_PRINTCLIENT: case WM_SYNCPAINT:
    case WM_NCHITTEST: case WM_SETCURSOR: case WM_MOUSEMOVE: case WM_MOUSELEAVE: case WM_MOUSEHOVER:
    case WM_TIMER: case WM_GETFONT: case WM_SETFONT: case WM_NOTIFYFORMAT: case WM_QUERYUISTATE:
    case WM_UPDATEUISTATE: case WM_CHANGEUISTATE: case WM_CTLCOLOREDIT: case WM_CTLCOLORSTATIC:
    case WM_WINDOWPOSCHANGING: case WM_WINDOWPOSCHANGED: case WM_MOVE: case WM_SIZE: case WM_NCCALCSIZE:
    case WM_GETTEXT: case WM_GETTEXTLENGTH: case WM_GETOBJECT: case WM_STYLECHANGING: case WM_STYLECHANGED:
    case WM_SETFOCUS: case WM_KILLFOCUS: case WM_IME_SETCONTEXT: case WM_IME_NOTIFY: case WM_GETDLGCODE:
    case WM_SETREDRAW: case WM_NCMOUSEMOVE: case WM_NCMOUSELEAVE: case WM_CAPTURECHANGED: case WM_PARENTNOTIFY:
    case WM_NCACTIVATE: case WM_ACTIVATE: case WM_MOUSEACTIVATE: case WM_CHILDACTIVATE: case WM_ENTERIDLE:
        return true;
    default:
        return message >= 0xC000;  // registered messages, such as the system's own helpers
    }
}

std::vector<StandinMessage> withoutNoise(const std::vector<StandinMessage>& messages) {
    std::vector<StandinMessage> kept;
    for (const StandinMessage& message : messages)
        if (!isNoiseMessage(message.message)) kept.push_back(message);
    return kept;
}

std::vector<StandinMessage> fromOtherThreads(const std::vector<StandinMessage>& messages) {
    std::vector<StandinMessage> kept;
    for (const StandinMessage& message : messages)
        if (message.origin == Origin::OtherThread) kept.push_back(message);
    return kept;
}

std::vector<StandinMessage> forControl(const std::vector<StandinMessage>& messages, Control control) {
    std::vector<StandinMessage> kept;
    for (const StandinMessage& message : messages)
        if (message.control == control) kept.push_back(message);
    return kept;
}

StandinObserver::~StandinObserver() {
    if (channel_) ::UnmapViewOfFile(channel_);
}

bool StandinObserver::attach(DWORD processId, DWORD timeoutMs) {
    if (channel_) return true;
    const std::wstring name = standin::kChannelNamePrefix + std::to_wstring(processId);
    const DWORD start = ::GetTickCount();
    for (;;) {
        mapping_.reset(::OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, name.c_str()));
        if (mapping_) {
            auto* channel = static_cast<standin::StandinChannel*>(
                ::MapViewOfFile(mapping_.get(), FILE_MAP_ALL_ACCESS, 0, 0, sizeof(standin::StandinChannel)));
            if (channel && channel->magic == standin::kChannelMagic && channel->version == standin::kChannelVersion) {
                channel_ = channel;
                return true;
            }
            if (channel) ::UnmapViewOfFile(channel);
        }
        if (::GetTickCount() - start >= timeoutMs) return false;
        ::Sleep(10);
    }
}

StandinState StandinObserver::state() const {
    StandinState result;
    if (!channel_) return result;
    standin::ChannelState copy{};
    for (;;) {
        const LONG before = channel_->stateSequence;
        ::MemoryBarrier();
        copy = channel_->state;
        ::MemoryBarrier();
        if ((before & 1) == 0 && before == channel_->stateSequence) break;
        ::Sleep(0);
    }
    result.ready = copy.ready != 0;
    result.mainWindow = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(copy.mainWindow));
    result.tree = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(copy.tree));
    result.list = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(copy.list));
    result.header = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(copy.header));
    return result;
}

bool StandinObserver::waitFor(const std::function<bool(const StandinState&)>& condition, DWORD timeoutMs) const {
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (condition(state())) return true;
        if (::GetTickCount() - start >= timeoutMs) return false;
        ::Sleep(10);
    }
}

std::vector<StandinMessage> StandinObserver::messages() const {
    std::vector<StandinMessage> result;
    if (!channel_) return result;
    const LONG64 end = ::InterlockedCompareExchange64(&channel_->messageCount, 0, 0);
    LONG64 begin = channel_->clearMark;
    if (end - begin > static_cast<LONG64>(standin::kRecordCapacity)) begin = end - standin::kRecordCapacity;
    for (LONG64 index = begin; index < end; ++index) {
        const standin::RecordedMessage& entry = channel_->record[static_cast<std::size_t>(index % standin::kRecordCapacity)];
        StandinMessage message;
        message.control = static_cast<Control>(entry.control);
        message.origin = static_cast<Origin>(entry.origin);
        message.message = entry.message;
        message.wParam = static_cast<WPARAM>(entry.wParam);
        message.lParam = static_cast<LPARAM>(entry.lParam);
        result.push_back(message);
    }
    return result;
}

void StandinObserver::clearMessages() {
    if (!channel_) return;
    ::InterlockedExchange64(&channel_->clearMark, ::InterlockedCompareExchange64(&channel_->messageCount, 0, 0));
    ::InterlockedExchange(&channel_->recordOverflowed, 0);
}

bool StandinObserver::recordOverflowed() const {
    if (!channel_) return false;
    return channel_->recordOverflowed != 0 ||
           channel_->messageCount - channel_->clearMark > static_cast<LONG64>(standin::kRecordCapacity);
}

bool isForegroundWindow(HWND window) { return window != nullptr && ::GetForegroundWindow() == window; }
bool isMinimizedWindow(HWND window) { return window != nullptr && ::IsIconic(window) != FALSE; }

Standin::Standin(const StandinOptions& options)
    : process_(quoteArgument(installedEditorPath()), standinRunOptions(options)) {
    if (!process_.started()) return;
    observer_.attach(process_.processId(), options.readyTimeoutMs);
    if (options.waitUntilReady) waitUntilReady(options.readyTimeoutMs);
}

bool Standin::ready() const { return !hasEnded() && observer_.state().ready; }

bool Standin::waitUntilReady(DWORD timeoutMs) {
    if (!observer_.attached() && !observer_.attach(processId(), timeoutMs)) return false;
    return observer_.waitFor([this](const StandinState& state) { return state.ready || hasEnded(); }, timeoutMs) &&
           ready();
}

bool Standin::hasEnded(DWORD waitMs) const {
    return !process_.started() || ::WaitForSingleObject(process_.handle(), waitMs) != WAIT_TIMEOUT;
}

void Standin::stop() {
    if (hasEnded()) return;
    ::TerminateProcess(process_.handle(), 0xDEAD);
    ::WaitForSingleObject(process_.handle(), 5000);
}

std::vector<std::unique_ptr<Standin>> startStandins(unsigned count, const StandinOptions& options) {
    std::vector<std::unique_ptr<Standin>> editors;
    for (unsigned index = 0; index < count; ++index) editors.push_back(std::make_unique<Standin>(options));
    return editors;
}

std::vector<StandinMessage> drivingMessages(const std::vector<StandinMessage>& recorded) {
    std::vector<StandinMessage> kept;
    for (const StandinMessage& message : withoutNoise(fromOtherThreads(recorded))) {
        switch (message.message) {
        case TVM_GETNEXTITEM: case TVM_GETITEMW: case TVM_SELECTITEM: case TVM_EXPAND:
        case LVM_GETITEMCOUNT: case LVM_GETHEADER: case LVM_GETITEMW: case LVM_SETITEMW: case LVM_ENSUREVISIBLE:
        case HDM_GETITEMCOUNT: case WM_MBUTTONDOWN: case WM_MBUTTONUP: case WM_KEYUP:
            kept.push_back(message);
            break;
        default:
            break;
        }
    }
    return kept;
}
