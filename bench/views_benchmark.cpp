// Prints what the walk costs per item against the floor of the calls one item needs,
// measured in the same run against Wine's own editor and the editor stand-in (64-bit, and
// 32-bit where the test bench placed it as the 32-bit editor):
// the last of 5,000 sibling keys and a value in the last of 1,000 rows. Also shows that
// no memory is allocated per item, neither in this process (operator new is counted) nor
// in the editor (private bytes). Then the whole jump, from the start of hivescout.exe to
// its end, in a running Wine editor, against its floor: a bare process start, the fixed
// waits and the bare calls of the walk.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "bench/process_footprint.h"
#include "base/exit_flags.h"
#include "base/handle.h"
#include "app/main_flow.h"
#include "app/jump_settings.h"
#include "tests/support/capture.h"
#include "tests/support/registry_data.h"
#include "tests/support/editors.h"
#include "views/view_finder.h"
#include "views/remote_buffers.h"
#include "views/value_list.h"
#include "views/tree_walk.h"
#include "views/record_layout.h"
#include "regedit/regedit_instance.h"

using namespace hivescout;

namespace {

std::atomic<unsigned long long> allocationCount{0};
RecordLayout benchLayout = RecordLayout::Bits64;  // of the editor measured
RemoteBuffers remoteBuffers;                      // the blocks in the editor measured

}  // namespace

void* operator new(std::size_t size) {
    ++allocationCount;
    if (void* memory = std::malloc(size ? size : 1)) return memory;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }

namespace {

constexpr unsigned kSiblings = 5000;
constexpr unsigned kRows = 1000;  // "(Default)" and 999 values
constexpr int kRounds = 5;
const std::wstring kSiblingsKey = L"HKEY_CURRENT_USER\\Software\\HivescoutBench";
const std::wstring kRowsKey = L"HKEY_CURRENT_USER\\Software\\HivescoutBenchRows";

double nowMs() {
    LARGE_INTEGER counter, frequency;
    ::QueryPerformanceCounter(&counter);
    ::QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Other programs on the machine only ever add time, so the fastest round is the truest.
double fastest(const std::vector<double>& values) { return *std::min_element(values.begin(), values.end()); }

std::vector<std::wstring> numbered(const wchar_t* format, unsigned count) {
    std::vector<std::wstring> entries;
    addNumbered(entries, format, count);
    return entries;
}

struct Timed {
    std::uint32_t bits;
    double ms;
    unsigned long long allocations;
};

Timed timedJump(JumpKind kind, const std::wstring& path, const RegeditViews& views) {
    const std::wstring copy = path;  // the walk takes its own copy; keep that outside the count
    const unsigned long long allocationsBefore = allocationCount;
    const double start = nowMs();
    const std::uint32_t bits = jumpInRegeditViews(copy, views, kind, benchLayout, remoteBuffers).jump.flags;
    return {bits, nowMs() - start, allocationCount - allocationsBefore};
}

// The value search alone, in the key that is already selected: no tree walk and no
// refill of the list, so two searches differ only in the rows they read.
Timed timedValueSearch(const std::wstring& valueName, const RegeditViews& views) {
    const unsigned long long allocationsBefore = allocationCount;
    const double start = nowMs();
    const ValueSearchResult result = selectValueInList(valueName, views, benchLayout, remoteBuffers);
    const double elapsed = nowMs() - start;
    const std::uint32_t bits = result.outcome == ValueSearch::Selected ? 0 : ExitFlags::KeyNotFound | result.failure;
    return {bits, elapsed, allocationCount - allocationsBefore};
}

// The bare calls one tree item needs: write the record, ask for the item, read the text,
// ask for the next sibling.
double treeFloorPerItem(HWND tree, HTREEITEM parent) {
    TreeItemRecord record(benchLayout, remoteBuffers.text.remoteAddress());
    HANDLE process = remoteBuffers.process;
    void* const remoteRecord = remoteBuffers.treeItem.address();
    wchar_t* const local = remoteBuffers.localText.get();
    unsigned items = 0;
    const double start = nowMs();
    HTREEITEM item = reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(parent)));
    for (; item; ++items) {
        record.setItem(reinterpret_cast<std::uintptr_t>(item));
        ::WriteProcessMemory(process, remoteRecord, record.bytes().data(), record.bytes().size(), nullptr);
        ::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remoteRecord));
        ::ReadProcessMemory(process, remoteBuffers.text.address(), local, kRemoteTextBytes, nullptr);
        item = reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
    }
    return (nowMs() - start) / items;
}

// The bare calls one list row needs: write the record, ask for the row, read the text.
// With extras, also the yield and the two trace lines that the search makes per row.
double listFloorPerItem(HWND list, bool withExtras = false) {
    ListItemRecord record = ListItemRecord::textQuery(benchLayout, remoteBuffers.text.remoteAddress());
    HANDLE process = remoteBuffers.process;
    void* const remoteRecord = remoteBuffers.listItem.address();
    wchar_t* const local = remoteBuffers.localText.get();
    const double start = nowMs();
    for (int row = 0; row < static_cast<int>(kRows); ++row) {
        if (withExtras) ::Sleep(0);
        record.setRow(row);
        ::WriteProcessMemory(process, remoteRecord, record.bytes().data(), kListItemRecordSize, nullptr);
        ::SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remoteRecord));
        ::ReadProcessMemory(process, remoteBuffers.text.address(), local, kRemoteTextBytes, nullptr);
        if (withExtras) {
            ::OutputDebugStringW(local);
            ::OutputDebugStringW(L"\r\n");
        }
    }
    return (nowMs() - start) / kRows;
}

int fail(const char* what) {
    std::printf("[ bench ] FAILED: %s\n", what);
    return 1;
}

// Per-item figures against one editor, which must show its main window.
int benchItems(const char* editorName, DWORD editorId, HWND mainWindow, RecordLayout layout = RecordLayout::Bits64) {
    std::printf("[ bench ] --- %s ---\n", editorName);
    UniqueHandle process(::OpenProcess(0x00100438, FALSE, editorId));
    if (!process) return fail("open the editor");
    benchLayout = layout;

    RegeditViews views;
    if (findRegeditViews(WindowSet{mainWindow}, views, process.get()) != 0 || remoteBuffers.allocate(process.get()) != 0)
        return fail("views");
    wchar_t lastKey[32], lastValue[32];
    std::swprintf(lastKey, 32, L"Key%04u", kSiblings - 1);
    std::swprintf(lastValue, 32, L"Value%04u", kRows - 2);
    const std::wstring firstKeyPath = kSiblingsKey + L"\\Key0000";
    const std::wstring lastKeyPath = kSiblingsKey + L"\\" + lastKey;
    const std::wstring firstRowPath = kRowsKey + L"\\(Default)";
    const std::wstring lastRowPath = kRowsKey + L"\\" + lastValue;

    // The first walk fills the keys and the rows into the editor; it is not measured.
    if (timedJump(JumpKind::Key, lastKeyPath, views).bits || timedJump(JumpKind::Value, lastRowPath, views).bits)
        return fail("warm-up jumps");
    const HWND tree = views.tree;
    const HTREEITEM caret = reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    const HTREEITEM benchKey = reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(caret)));

    const SIZE_T editorBytesBefore = footprintOf(process.get()).privateBytes;
    std::vector<double> firstKeyMs, lastKeyMs, firstRowMs, lastRowMs, treeFloor, listFloor, listFloorExtras;
    unsigned long long allocationsFirstKey = 0, allocationsLastKey = 0, allocationsFirstRow = 0, allocationsLastRow = 0;
    // Each key jump moves the selection from one end of the siblings to the other, and each
    // row jump stays in the same key, so paired jumps differ only in the items scanned.
    for (int round = 0; round < kRounds; ++round) {
        const Timed firstKey = timedJump(JumpKind::Key, firstKeyPath, views);
        treeFloor.push_back(treeFloorPerItem(tree, benchKey));
        const Timed lastKeyJump = timedJump(JumpKind::Key, lastKeyPath, views);
        if (timedJump(JumpKind::Value, firstRowPath, views).bits) return fail("row jump");  // fills the list
        const Timed firstRow = timedValueSearch(L"(Default)", views);
        listFloor.push_back(listFloorPerItem(views.list));
        const Timed lastRow = timedValueSearch(lastValue, views);
        listFloorExtras.push_back(listFloorPerItem(views.list, true));
        if (firstKey.bits || lastKeyJump.bits || firstRow.bits || lastRow.bits) return fail("measured jumps");
        firstKeyMs.push_back(firstKey.ms);
        lastKeyMs.push_back(lastKeyJump.ms);
        firstRowMs.push_back(firstRow.ms);
        lastRowMs.push_back(lastRow.ms);
        std::printf("[ bench ] round %d: key jumps %.0f / %.0f ms, value searches %.0f / %.0f ms, "
                    "floors %.4f / %.4f ms per item\n",
                    round + 1, firstKey.ms, lastKeyJump.ms, firstRow.ms, lastRow.ms, treeFloor.back(), listFloor.back());
        allocationsFirstKey = firstKey.allocations;
        allocationsLastKey = lastKeyJump.allocations;
        allocationsFirstRow = firstRow.allocations;
        allocationsLastRow = lastRow.allocations;
    }
    const SIZE_T editorBytesAfter = footprintOf(process.get()).privateBytes;

    const double tw = (fastest(lastKeyMs) - fastest(firstKeyMs)) / (kSiblings - 1);
    const double lw = (fastest(lastRowMs) - fastest(firstRowMs)) / (kRows - 1);
    const double tf = fastest(treeFloor), lf = fastest(listFloor);
    std::printf("[ bench ] tree, last of %u sibling keys: %.4f ms per item, floor %.4f ms, ratio %.3f (target <= 1.10)\n",
                kSiblings, tw, tf, tw / tf);
    std::printf("[ bench ] list, last of %u rows:        %.4f ms per item, floor %.4f ms, ratio %.3f (target <= 1.10)\n",
                kRows, lw, lf, lw / lf);
    std::printf("[ bench ] list floor with the per-row yield and trace lines: %.4f ms per item (walk / that: %.3f)\n",
                fastest(listFloorExtras), lw / fastest(listFloorExtras));
    std::printf("[ bench ] allocations in the tool: key jump to item 1: %llu, to item %u: %llu; "
                "value search of row 1: %llu, of row %u: %llu\n",
                allocationsFirstKey, kSiblings, allocationsLastKey, allocationsFirstRow, kRows, allocationsLastRow);
    std::printf("[ bench ] editor private bytes over %d rounds (%u items scanned): before %zu, after %zu, change %lld\n",
                kRounds, kRounds * 2 * (kSiblings + kRows), static_cast<size_t>(editorBytesBefore),
                static_cast<size_t>(editorBytesAfter),
                static_cast<long long>(editorBytesAfter) - static_cast<long long>(editorBytesBefore));

    remoteBuffers.release();
    return 0;
}

// ---- The whole jump ----------------------------------------------------------------

constexpr int kJumpRounds = 12;
constexpr double kLockWaitMs = 30;         // before the lock is taken
constexpr double kValueSearchWaitMs = 50;  // before the value search
const std::vector<std::wstring> kJumpNames = {L"HKEY_CURRENT_USER", L"Software", L"HivescoutBenchJump", L"Inner"};
const wchar_t kJumpValue[] = L"Target";

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// From the start of a program to its end, as the program that starts it sees it. The
// standard handles are NUL, so report lines cost what they cost on a console.
double timedProcess(const std::wstring& commandLine, DWORD& exitCode) {
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    UniqueHandle nul(::CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                   OPEN_EXISTING, 0, nullptr));
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = startup.hStdOutput = startup.hStdError = nul.get();
    PROCESS_INFORMATION info{};
    std::vector<wchar_t> writable(commandLine.begin(), commandLine.end());
    writable.push_back(L'\0');
    const double start = nowMs();
    if (!::CreateProcessW(nullptr, writable.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info))
        return -1;
    ::WaitForSingleObject(info.hProcess, 30000);
    const double elapsed = nowMs() - start;
    ::GetExitCodeProcess(info.hProcess, &exitCode);
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
    return elapsed;
}

HTREEITEM treeItem(HWND tree, UINT relation, HTREEITEM item) {
    return reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

// Every jump starts from the root item, so every level's selection changes the editor.
void selectRoot(HWND tree) {
    ::SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(treeItem(tree, TVGN_ROOT, nullptr)));
}

void raiseWindow(HWND window) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    ::GetWindowPlacement(window, &placement);
    ::BringWindowToTop(window);
    ::SetForegroundWindow(window);
}

// The calls a walk of the names cannot do without, sent from here: per level the first
// child; per item examined the record write, the get-item message, the text read and the
// next sibling; the selection and the hidden expansion. A key target then ends with the
// click on the tree and the window raise.
double walkFloor(const RegeditViews& views, HWND mainWindow, bool keyTarget) {
    TreeItemRecord record(benchLayout, remoteBuffers.text.remoteAddress());
    wchar_t* const local = remoteBuffers.localText.get();
    const double start = nowMs();
    HTREEITEM item = treeItem(views.tree, TVGN_ROOT, nullptr);
    for (const std::wstring& name : kJumpNames) {
        for (item = treeItem(views.tree, TVGN_CHILD, item); item; item = treeItem(views.tree, TVGN_NEXT, item)) {
            record.setItem(reinterpret_cast<std::uintptr_t>(item));
            ::WriteProcessMemory(remoteBuffers.process, remoteBuffers.treeItem.address(), record.bytes().data(), kTreeItemRecordSize, nullptr);
            ::SendMessageW(views.tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remoteBuffers.treeItem.address()));
            ::ReadProcessMemory(remoteBuffers.process, remoteBuffers.text.address(), local, kRemoteTextBytes, nullptr);
            if (_wcsicmp(local, name.c_str()) == 0) break;
        }
        if (!item) return -1;
        ::SendMessageW(views.tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
        ::ShowWindow(views.tree, SW_HIDE);
        ::SendMessageW(views.tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
        ::ShowWindow(views.tree, SW_SHOW);
    }
    if (keyTarget) {
        treeItem(views.tree, TVGN_CHILD, item);
        ::SendMessageW(views.tree, WM_MBUTTONDOWN, 0, 0);
        ::Sleep(0);
        ::SendMessageW(views.tree, WM_MBUTTONUP, 0, 0);
        raiseWindow(mainWindow);
    }
    return nowMs() - start;
}

// The value search's calls after the walk: the click, the row count, the header, the rows
// up to the value with the per-row yield and trace lines, the state change, the scroll,
// the clicks on the list and the two window raises.
double valueSearchFloor(const RegeditViews& views, HWND mainWindow) {
    ListItemRecord record = ListItemRecord::textQuery(benchLayout, remoteBuffers.text.remoteAddress());
    wchar_t* const local = remoteBuffers.localText.get();
    const double start = nowMs();
    ::SendMessageW(views.tree, WM_MBUTTONDOWN, 0, 0);
    ::SendMessageW(views.list, LVM_GETITEMCOUNT, 0, 0);
    ::SendMessageW(reinterpret_cast<HWND>(::SendMessageW(views.list, LVM_GETHEADER, 0, 0)), HDM_GETITEMCOUNT, 0, 0);
    int row = 0;
    for (;; ++row) {
        ::Sleep(0);
        record.setRow(row);
        ::WriteProcessMemory(remoteBuffers.process, remoteBuffers.listItem.address(), record.bytes().data(), kListItemRecordSize, nullptr);
        if (!::SendMessageW(views.list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remoteBuffers.listItem.address())))
            return -1;
        ::ReadProcessMemory(remoteBuffers.process, remoteBuffers.text.address(), local, kRemoteTextBytes, nullptr);
        ::OutputDebugStringW(local);
        ::OutputDebugStringW(L"\r\n");
        if (_wcsicmp(local, kJumpValue) == 0) break;
    }
    LVITEMW state{};
    state.mask = LVIF_STATE;
    state.iItem = row;
    state.state = state.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
    ::WriteProcessMemory(remoteBuffers.process, remoteBuffers.listItem.address(), &state, 72, nullptr);
    ::SendMessageW(views.list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(remoteBuffers.listItem.address()));
    ::SendMessageW(views.list, LVM_ENSUREVISIBLE, row, FALSE);
    raiseWindow(mainWindow);
    for (const UINT message : {WM_MBUTTONDOWN, WM_KEYUP, WM_MBUTTONUP}) {
        ::SendMessageW(views.list, message, message == WM_KEYUP ? VK_LEFT : 0, 0);
        ::Sleep(0);
    }
    raiseWindow(mainWindow);
    return nowMs() - start;
}

// Medians, as asked for, and the fastest rounds, which other programs on a busy machine
// disturb least.
struct Figure {
    double median;
    double fastest;
};

Figure figureOf(const std::vector<double>& values) { return {median(values), fastest(values)}; }

Figure plus(Figure figure, double ms) { return {figure.median + ms, figure.fastest + ms}; }
Figure plus(Figure left, Figure right) { return {left.median + right.median, left.fastest + right.fastest}; }

void printWholeJump(const char* what, Figure measured, Figure floor, const char* floorParts) {
    std::printf("[ bench ] %s: median %.1f ms, floor %.1f ms, ratio %.2f; fastest %.1f ms, floor %.1f ms, ratio %.2f "
                "(floor: %s; target <= 1.20)\n",
                what, measured.median, floor.median, measured.median / floor.median, measured.fastest, floor.fastest,
                measured.fastest / floor.fastest, floorParts);
}

int benchWholeJump(DWORD editorId, HWND mainWindow) {
    std::printf("[ bench ] --- the whole jump in a running Wine editor, medians of %d ---\n", kJumpRounds);
    UniqueHandle process(::OpenProcess(0x00100438, FALSE, editorId));
    if (!process) return fail("open the editor");
    RegeditViews views;
    if (findRegeditViews(WindowSet{mainWindow}, views, process.get()) != 0 || remoteBuffers.allocate(process.get()) != 0)
        return fail("views");

    std::wstring key;
    for (const std::wstring& name : kJumpNames) key += (key.empty() ? L"" : L"\\") + name;
    const std::wstring program = quoteArgument(ownDirectory() + L"hivescout.exe");
    const std::wstring keyJump = program + L" " + quoteArgument(L"-jumptokey=" + key);
    const std::wstring valueJump = program + L" " + quoteArgument(L"-jumptovalue=" + key + L"\\" + kJumpValue);
    const std::wstring bare = quoteArgument(ownDirectory() + L"bare_process.exe");

    DWORD exitCode = 0;
    timedProcess(keyJump, exitCode);  // expands every level once; not measured
    std::vector<double> bareMs, windowedMs, keyMs, valueMs, keyFloorMs, valueFloorMs;
    for (int round = 0; round < kJumpRounds; ++round) {
        bareMs.push_back(timedProcess(bare, exitCode));
        windowedMs.push_back(timedProcess(bare + L" windows", exitCode));
        selectRoot(views.tree);
        keyMs.push_back(timedProcess(keyJump, exitCode));
        if (exitCode != 0) return fail("key jump");
        selectRoot(views.tree);
        keyFloorMs.push_back(walkFloor(views, mainWindow, true));
        selectRoot(views.tree);
        valueMs.push_back(timedProcess(valueJump, exitCode));
        if (exitCode != 0) return fail("value jump");
        selectRoot(views.tree);
        const double walk = walkFloor(views, mainWindow, false);
        ::Sleep(static_cast<DWORD>(kValueSearchWaitMs));  // the list fills, as in the jump
        valueFloorMs.push_back(walk + valueSearchFloor(views, mainWindow));
        if (keyFloorMs.back() < 0 || valueFloorMs.back() < 0) return fail("floor walks");
        std::printf("[ bench ] round %d: bare start %.1f / %.1f ms, key jump %.1f ms, value jump %.1f ms, "
                    "walk floors %.1f / %.1f ms\n",
                    round + 1, bareMs.back(), windowedMs.back(), keyMs.back(), valueMs.back(), keyFloorMs.back(),
                    valueFloorMs.back());
    }
    const Figure start = figureOf(bareMs), windowed = figureOf(windowedMs);
    const Figure keyWalk = figureOf(keyFloorMs), valueWalk = figureOf(valueFloorMs);
    std::printf("[ bench ] bare process start to exit: median %.1f ms, fastest %.1f ms; with one window "
                "enumeration: median %.1f ms, fastest %.1f ms\n",
                start.median, start.fastest, windowed.median, windowed.fastest);
    std::printf("[ bench ] walk floors (no waits): key median %.1f ms, fastest %.1f ms; value median %.1f ms, "
                "fastest %.1f ms\n",
                keyWalk.median, keyWalk.fastest, valueWalk.median, valueWalk.fastest);
    const Figure keyFloor = plus(keyWalk, kLockWaitMs);
    const Figure valueFloor = plus(valueWalk, kLockWaitMs + kValueSearchWaitMs);
    printWholeJump("key jump, four names", figureOf(keyMs), plus(start, keyFloor), "bare start + 30 ms + walk");
    printWholeJump("value jump, four names and a value", figureOf(valueMs), plus(start, valueFloor),
                   "bare start + 30 + 50 ms + walk");
    printWholeJump("key jump", figureOf(keyMs), plus(windowed, keyFloor), "windowed start + 30 ms + walk");
    printWholeJump("value jump", figureOf(valueMs), plus(windowed, valueFloor), "windowed start + 30 + 50 ms + walk");
    remoteBuffers.release();
    return 0;
}

}  // namespace

int wmain() {
    CapturedReport quiet;  // the walk's own lines are not part of the figures
    const double writeStart = nowMs();
    TestRegistryData siblings(L"HivescoutBench", numbered(L"Key%04u", kSiblings));
    TestRegistryData rows(L"HivescoutBenchRows", numbered(L"|Value%04u", kRows - 1));
    TestRegistryData jumpKey(kJumpNames[2], {std::wstring(kJumpNames[3]) + L"|" + kJumpValue});
    if (!siblings.created() || !rows.created() || !jumpKey.created()) return fail("registry data");
    std::printf("[ bench ] registry data: %.0f ms\n", nowMs() - writeStart);

    // The whole jump first, while the editor shows no more than an editor usually does.
    {
        Editor editor(wineEditorPath());  // kept outside the Windows directory by the bench
        if (wineEditorPath().empty() || !editor.ready()) return fail("Wine's editor");
        if (benchWholeJump(editor.processId(), editor.mainWindow())) return 1;
        if (benchItems("Wine's own editor (nested layout)", editor.processId(), editor.mainWindow())) return 1;
    }
    Editor editor;
    if (!editor.ready() || benchItems("the stand-in (Windows layout)", editor.processId(), editor.mainWindow()))
        return fail("stand-in");
    wchar_t wow64[MAX_PATH] = {};  // the 32-bit stand-in, where the test bench placed it
    const std::wstring standin32 = std::wstring(wow64, ::GetSystemWow64DirectoryW(wow64, MAX_PATH)) + L"\\regedit.exe";
    if (readFileBytes(standin32) != readFileBytes(ownDirectory() + L"standin32\\regedit.exe")) return fail("no 32-bit stand-in");
    Editor editor32(standin32, {});
    return editor32.ready() ? benchItems("the 32-bit stand-in (Windows layout)", editor32.processId(), editor32.mainWindow(), RecordLayout::Bits32)
                            : fail("32-bit stand-in");
}
