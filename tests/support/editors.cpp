#include "tests/support/editors.h"

#include <tlhelp32.h>

#include <cstring>
#include <sstream>

namespace {

constexpr std::size_t kTextUnits = 20480, kRecordAt = (kTextUnits + 1) * sizeof(wchar_t);

// The first window of the class anywhere below the parent.
HWND findBelow(HWND parent, const wchar_t* wanted) {
    wchar_t name[64];
    for (HWND child = nullptr; (child = ::FindWindowExW(parent, child, nullptr, nullptr)) != nullptr;) {
        if (::GetClassNameW(child, name, 64) && std::wcscmp(name, wanted) == 0) return child;
        if (HWND found = findBelow(child, wanted)) return found;
    }
    return nullptr;
}

std::string describe(const RecordedMessage& entry) {
#define NAMED(message) std::pair<const UINT, std::string>(message, #message)
    static const std::map<UINT, std::string> names = {
        NAMED(TVM_GETNEXTITEM),  NAMED(TVM_GETITEMW),      NAMED(TVM_SELECTITEM),   NAMED(TVM_EXPAND),
        NAMED(LVM_GETITEMCOUNT), NAMED(LVM_GETHEADER),     NAMED(LVM_GETITEMW),     NAMED(LVM_SETITEMW),
        NAMED(LVM_SETITEMSTATE), NAMED(LVM_ENSUREVISIBLE), NAMED(HDM_GETITEMCOUNT), NAMED(WM_MBUTTONDOWN),
        NAMED(WM_MBUTTONUP),     NAMED(WM_LBUTTONDOWN),    NAMED(WM_LBUTTONUP),     NAMED(WM_KEYDOWN),
        NAMED(WM_KEYUP)};
#undef NAMED
    std::ostringstream text;
    const char* const controls[] = {"", "tree ", "list ", "header "};
    const auto name = names.find(entry.message);
    text << controls[static_cast<unsigned>(entry.control) % 4]
         << (name != names.end() ? name->second : "message " + std::to_string(entry.message));
    text << std::hex << " 0x" << entry.wParam << " 0x" << entry.lParam;
    return text.str();
}

bool matches(const ExpectedMessage& entry, const RecordedMessage& message) {
    return entry.message.control == message.control && entry.message.message == message.message &&
           (!(entry.flags & wparam) || entry.message.wParam == message.wParam) &&
           (!(entry.flags & lparam) || entry.message.lParam == message.lParam);
}

}  // namespace

std::string compareMessages(const std::vector<ExpectedMessage>& expected, const std::vector<RecordedMessage>& actual) {
    std::ostringstream text("expected (? optional, w/l: parameter compared):\n", std::ios::ate);
    std::size_t a = 0;
    bool follows = true;
    for (const ExpectedMessage& entry : expected) {
        const bool here = a < actual.size() && matches(entry, actual[a]);
        follows = follows && (here || (entry.flags & optional));
        text << (entry.flags & optional ? "?" : " ") << (entry.flags & wparam ? "w" : " ")
             << (entry.flags & lparam ? "l " : "  ") << describe(entry.message)
             << (here ? "\n" : "  <- not in its place\n");
        a += here;
    }
    text << "recorded:\n";
    for (const RecordedMessage& message : actual) text << "  " << describe(message) << "\n";
    return follows && a == actual.size() ? "" : text.str();
}

std::string standinNotInstalled() {
    const std::string standin = readFileBytes(standinPath());
    if (!standin.empty() && standin == readFileBytes(installedEditorPath())) return "";
    return toUtf8(installedEditorPath()) + " is not the stand-in (the bench of scripts/test puts it there)";
}

std::vector<DWORD> runningEditorIds() {
    std::vector<DWORD> ids;
    UniqueHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{sizeof(entry)};
    for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more; more = ::Process32NextW(snapshot.get(), &entry))
        if (_wcsicmp(entry.szExeFile, L"regedit.exe") == 0) ids.push_back(entry.th32ProcessID);
    return ids;
}

std::string foreignEditor() {
    const std::vector<DWORD> ids = runningEditorIds();
    return ids.empty() ? "" : "process " + std::to_string(ids[0]);
}

void endEditorsExcept(DWORD keep) {
    for (DWORD id : runningEditorIds())
        if (UniqueHandle process{id == keep ? nullptr : ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id)})
            if (::TerminateProcess(process.get(), 0xDEAD)) ::WaitForSingleObject(process.get(), 5000);
}

EditorControls findEditorControls(DWORD processId) {
    for (HWND window = nullptr; (window = ::FindWindowExW(nullptr, window, L"RegEdit_RegEdit", nullptr)) != nullptr;) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if (owner == processId) return {window, findBelow(window, WC_TREEVIEWW), findBelow(window, WC_LISTVIEWW)};
    }
    return {};
}

Editor::Editor(const std::wstring& program, const std::map<std::wstring, std::wstring>& knobs)
    : process_(quoteArgument(program), RunOptions{knobs}) {
    for (const DWORD start = ::GetTickCount(); process_.started() && !hasEnded() && ::GetTickCount() - start < 10000;
         ::Sleep(20))
        if ((controls_ = findEditorControls(process_.processId())).found()) break;
}

EditorReader::EditorReader(DWORD processId)
    : controls_(findEditorControls(processId)),
      process_(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION,
                             FALSE, processId)) {
    ::IsWow64Process(process_.get(), &is32Bit_);
    block_ = static_cast<char*>(
        ::VirtualAllocEx(process_.get(), nullptr, kRecordAt + 256, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
}

EditorReader::~EditorReader() { ::VirtualFreeEx(process_.get(), block_, 0, MEM_RELEASE); }  // fails on no block

std::wstring EditorReader::itemText(HWND control, UINT message, std::vector<std::uint32_t> words) {
    const auto text = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(block_));
    if (!is32Bit_) words.resize(6);
    words.push_back(static_cast<std::uint32_t>(text));
    if (!is32Bit_) words.push_back(static_cast<std::uint32_t>(text >> 32));
    words.push_back(kTextUnits);
    words.resize(20);
    char* const remoteRecord = block_ + kRecordAt;
    std::vector<wchar_t> result(kTextUnits + 1, L'\0');
    if (!block_ || !::WriteProcessMemory(process_.get(), remoteRecord, words.data(), words.size() * 4, nullptr) ||
        !::SendMessageW(control, message, 0, reinterpret_cast<LPARAM>(remoteRecord)) ||
        !::ReadProcessMemory(process_.get(), block_, result.data(), kTextUnits * sizeof(wchar_t), nullptr))
        return L"<unreadable>";
    return result.data();
}

std::wstring EditorReader::selectedKeyPath() {
    std::wstring path;
    const HWND tree = controls_.tree;
    for (HTREEITEM item = TreeView_GetSelection(tree); item && TreeView_GetParent(tree, item);
         item = TreeView_GetParent(tree, item)) {  // the root item ("Computer") is no key
        const auto handle = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(item));
        const std::uint32_t low = static_cast<std::uint32_t>(handle), high = static_cast<std::uint32_t>(handle >> 32);
        path = itemText(tree, TVM_GETITEMW,
                        is32Bit_ ? std::vector<std::uint32_t>{TVIF_TEXT | TVIF_HANDLE, low, 0, 0}
                                 : std::vector<std::uint32_t>{TVIF_TEXT | TVIF_HANDLE, 0, low, high}) +
               (path.empty() ? L"" : L"\\" + path);
    }
    return path;
}

std::wstring EditorReader::selectedRow() {
    const HWND list = controls_.list;
    const int row = ListView_GetNextItem(list, -1, LVNI_SELECTED), top = ListView_GetTopIndex(list);
    if (row < 0 || row != ListView_GetNextItem(list, -1, LVNI_FOCUSED) || row < top ||
        row >= top + ListView_GetCountPerPage(list))
        return L"";
    return itemText(list, LVM_GETITEMW, {LVIF_TEXT, static_cast<std::uint32_t>(row), 0, 0, 0});
}

std::vector<MEMORY_BASIC_INFORMATION> regionsInUse(HANDLE process) {
    std::vector<MEMORY_BASIC_INFORMATION> regions;
    MEMORY_BASIC_INFORMATION r{};
    for (const char* at = nullptr; ::VirtualQueryEx(process, at, &r, sizeof(r)) == sizeof(r);
         at = static_cast<const char*>(r.BaseAddress) + r.RegionSize)
        if (r.State != MEM_FREE) regions.push_back(r);
    return regions;
}

std::vector<RecordedMessage> recordedMessages(const std::wstring& recordPath) {
    const std::string bytes = readFileBytes(recordPath);
    std::vector<RecordedMessage> messages(bytes.size() / sizeof(RecordedMessage));
    std::memcpy(messages.data(), bytes.data(), messages.size() * sizeof(RecordedMessage));
    return messages;
}
