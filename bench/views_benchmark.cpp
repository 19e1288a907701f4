// Prints the whole jump, from the start of hivescout.exe to its end, in a running Wine editor against a bare process
// start, the fixed waits and the bare calls of the walk; then what the walk costs per item (the last of 5,000 sibling
// keys, a value in the last of 1,000 rows) against the bare calls of one item, in Wine's editor, the stand-in and the
// 32-bit stand-in, and that nothing is allocated per item, here (operator new is counted) or in the editor.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "bench/process_footprint.h"
#include "tests/support/capture.h"
#include "tests/support/registry_data.h"
#include "tests/support/editors.h"
#include "views/remote_buffers.h"
#include "views/value_list.h"
#include "views/tree_walk.h"
#include "regedit/editor_windows.h"

using namespace hivescout;

static std::atomic<unsigned long long> allocationCount{0};

void* operator new(std::size_t size) {  // the library's array forms call it too
    ++allocationCount;
    if (void* memory = std::malloc(size ? size : 1)) return memory;
    throw std::bad_alloc();
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }

namespace {

constexpr unsigned kSiblings = 5000;
constexpr unsigned kRows = 1000;  // "(Default)" and 999 values
constexpr int kRounds = 5;
const std::wstring kSiblingsKey = L"HKEY_CURRENT_USER\\Software\\HivescoutBench";
const std::wstring kRowsKey = L"HKEY_CURRENT_USER\\Software\\HivescoutBenchRows";
RecordLayout benchLayout = RecordLayout::Bits64;  // of the editor measured
RemoteBuffers remoteBuffers;                      // the blocks in the editor measured

double nowMs() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Medians, as asked for, and the fastest rounds: other programs on the machine only ever
// add time, so the fastest round is the least disturbed.
struct Figure {
    double median, fastest;
    Figure operator+(Figure other) const { return {median + other.median, fastest + other.fastest}; }
    Figure operator+(double ms) const { return {median + ms, fastest + ms}; }
};
Figure figureOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return {values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2, values.front()};
}
double fastest(const std::vector<double>& values) { return figureOf(values).fastest; }

int fail(const char* what) { return std::printf("[ bench ] FAILED: %s\n", what), 1; }

// Opens the editor for the calls sent from here and places the remote blocks in it; records for it are laid out so.
bool openViews(const Editor& editor, RecordLayout layout, UniqueHandle& process, RegeditViews& views) {
    benchLayout = layout;
    process.reset(::OpenProcess(0x00100438, FALSE, editor.processId()));
    return process && findRegeditViews(WindowSet{editor.mainWindow()}, views, process.get()) == 0 &&
           remoteBuffers.allocate(process.get()) == 0;
}

struct Timed {
    std::uint32_t bits;
    double ms;
    unsigned long long allocations;
};

template <typename Call>
Timed timed(Call call) {
    const unsigned long long allocationsBefore = allocationCount;
    const double start = nowMs();
    const std::uint32_t bits = call();
    return {bits, nowMs() - start, allocationCount - allocationsBefore};
}

Timed timedJump(JumpKind kind, const std::wstring& path, const RegeditViews& views) {
    const std::wstring copy = path;  // the walk takes its own copy; keep that outside the count
    return timed([&] { return jumpInRegeditViews(copy, views, kind, benchLayout, remoteBuffers).jump.flags; });
}

// The value search alone, in the key that is already selected: no tree walk and no
// refill of the list, so two searches differ only in the rows they read.
Timed timedValueSearch(const std::wstring& valueName, const RegeditViews& views) {
    return timed([&] {
        const ValueSearch outcome = selectValueInList(valueName, views, benchLayout, remoteBuffers).outcome;
        return outcome == ValueSearch::Selected ? 0u : 1u;
    });
}

// The floors send as the program does: bounded, through the messenger of the blocks.
LRESULT send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return remoteBuffers.messages.send(window, message, wParam, lParam).value_or(0);
}
HTREEITEM treeItem(HWND tree, UINT relation, HTREEITEM item) {
    return reinterpret_cast<HTREEITEM>(send(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

// The bare calls one item needs: write the record, ask for the item, read its text into
// the local copy. False when the control answered zero.
template <typename Record>
bool exchange(HWND control, UINT message, const RemoteBlock& block, const Record& record) {
    const HANDLE editor = remoteBuffers.process();
    ::WriteProcessMemory(editor, block.address(), record.bytes().data(), record.bytes().size(), nullptr);
    if (!send(control, message, 0, reinterpret_cast<LPARAM>(block.address()))) return false;
    ::ReadProcessMemory(editor, remoteBuffers.text.address(), remoteBuffers.localText.get(), kRemoteTextBytes, nullptr);
    return true;
}
bool treeExchange(HWND tree, TreeItemRecord& record, HTREEITEM item) {
    record.setItem(reinterpret_cast<std::uintptr_t>(item));
    return exchange(tree, TVM_GETITEMW, remoteBuffers.treeItem, record);
}
bool rowExchange(HWND list, ListItemRecord& record, int row) {
    record.setRow(row);
    return exchange(list, LVM_GETITEMW, remoteBuffers.listItem, record);
}
// The yield and the two trace lines that the value search makes per row.
void rowExtras() {
    ::Sleep(0);
    ::OutputDebugStringW(remoteBuffers.localText.get());
    ::OutputDebugStringW(L"\r\n");
}

// Per tree item, over the selected item and its siblings: the exchange and the question for the next sibling.
double treeFloorPerItem(HWND tree) {
    TreeItemRecord record(benchLayout, remoteBuffers.text.remoteAddress());
    const HTREEITEM parent = treeItem(tree, TVGN_PARENT, treeItem(tree, TVGN_CARET, nullptr));
    unsigned items = 0;
    const double start = nowMs();
    for (HTREEITEM item = treeItem(tree, TVGN_CHILD, parent); item; item = treeItem(tree, TVGN_NEXT, item), ++items)
        treeExchange(tree, record, item);
    return (nowMs() - start) / items;
}

// Per list row: the exchange, with extras also the search's yield and trace lines.
double listFloorPerItem(HWND list, bool withExtras) {
    ListItemRecord record = ListItemRecord::textQuery(benchLayout, remoteBuffers.text.remoteAddress());
    const double start = nowMs();
    for (int row = 0; row < static_cast<int>(kRows); ++row) {
        rowExchange(list, record, row);
        if (withExtras) rowExtras();
    }
    return (nowMs() - start) / kRows;
}

// Per-item figures against one editor, which must show its main window.
int benchItems(const char* editorName, const Editor& editor, RecordLayout layout = RecordLayout::Bits64) {
    std::printf("[ bench ] --- %s ---\n", editorName);
    UniqueHandle process;
    RegeditViews views;
    if (!openViews(editor, layout, process, views)) return fail("views");
    wchar_t lastValue[32];
    std::swprintf(lastValue, 32, L"Value%04u", kRows - 2);
    const std::wstring lastKeyPath = kSiblingsKey + L"\\Key" + std::to_wstring(kSiblings - 1),
                       lastRowPath = kRowsKey + L"\\" + lastValue;

    // The first walk fills the keys and the rows into the editor; it is not measured.
    if (timedJump(JumpKind::Key, lastKeyPath, views).bits || timedJump(JumpKind::Value, lastRowPath, views).bits)
        return fail("warm-up jumps");

    const unsigned long long bytesBefore = footprintOf(process.get()).privateBytes;
    // Key jumps to the first and the last sibling (each moves the selection from one end to the other)
    // and searches of the first and the last row in one key: paired, they differ only in the items
    // scanned. Then the floors of tree items, of rows and of rows with the search's extras.
    std::vector<double> ms[4], floors[3];
    Timed last[4] = {};
    for (int round = 0; round < kRounds; ++round) {
        last[0] = timedJump(JumpKind::Key, kSiblingsKey + L"\\Key0000", views);
        floors[0].push_back(treeFloorPerItem(views.tree));
        last[1] = timedJump(JumpKind::Key, lastKeyPath, views);
        if (timedJump(JumpKind::Value, kRowsKey + L"\\(Default)", views).bits)
            return fail("row jump");  // fills the list
        last[2] = timedValueSearch(L"(Default)", views);
        floors[1].push_back(listFloorPerItem(views.list, false));
        last[3] = timedValueSearch(lastValue, views);
        floors[2].push_back(listFloorPerItem(views.list, true));
        for (int i = 0; i < 4; ++i) ms[i].push_back(last[i].ms);
        if (last[0].bits || last[1].bits || last[2].bits || last[3].bits) return fail("measured jumps");
        std::printf(
            "[ bench ] round %d: key jumps %.0f / %.0f ms, value searches %.0f / %.0f ms, "
            "floors %.4f / %.4f ms per item\n",
            round + 1, last[0].ms, last[1].ms, last[2].ms, last[3].ms, floors[0].back(), floors[1].back());
    }
    const unsigned long long bytesAfter = footprintOf(process.get()).privateBytes;

    const double tw = (fastest(ms[1]) - fastest(ms[0])) / (kSiblings - 1),
                 lw = (fastest(ms[3]) - fastest(ms[2])) / (kRows - 1);
    const double tf = fastest(floors[0]), lf = fastest(floors[1]);
    std::printf(
        "[ bench ] tree, last of %u sibling keys: %.4f ms per item, floor %.4f ms, ratio %.3f (target <= 1.10)\n",
        kSiblings, tw, tf, tw / tf);
    std::printf(
        "[ bench ] list, last of %u rows:        %.4f ms per item, floor %.4f ms, ratio %.3f (target <= 1.10)\n", kRows,
        lw, lf, lw / lf);
    std::printf("[ bench ] list floor with the per-row yield and trace lines: %.4f ms per item (walk / that: %.3f)\n",
                fastest(floors[2]), lw / fastest(floors[2]));
    std::printf(
        "[ bench ] allocations in the tool: key jump to item 1: %llu, to item %u: %llu; "
        "value search of row 1: %llu, of row %u: %llu\n",
        last[0].allocations, kSiblings, last[1].allocations, last[2].allocations, kRows, last[3].allocations);
    std::printf(
        "[ bench ] editor private bytes over %d rounds (%u items scanned): before %llu, after %llu, change %lld\n",
        kRounds, kRounds * 2 * (kSiblings + kRows), bytesBefore, bytesAfter,
        static_cast<long long>(bytesAfter) - static_cast<long long>(bytesBefore));
    remoteBuffers.release();
    return 0;
}

// ---- The whole jump ----------------------------------------------------------------

constexpr int kJumpRounds = 12;
constexpr double kLockWaitMs = 30;         // before the lock is taken
constexpr double kValueSearchWaitMs = 50;  // before the value search
const std::vector<std::wstring> kJumpNames = {L"HKEY_CURRENT_USER", L"Software", L"HivescoutBenchJump", L"Inner"};
const wchar_t kJumpValue[] = L"Target";

// From the start of a program to its end, as the program that starts it sees it; -1 when it
// failed. The standard handles are NUL, so report lines cost what they cost on a console.
double timedProcess(std::wstring commandLine) {
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    UniqueHandle nul(::CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                   OPEN_EXISTING, 0, nullptr));
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = startup.hStdOutput = startup.hStdError = nul.get();
    PROCESS_INFORMATION info{};
    const double start = nowMs();
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info))
        return -1;
    const UniqueHandle process(info.hProcess), thread(info.hThread);
    ::WaitForSingleObject(info.hProcess, 30000);
    const double elapsed = nowMs() - start;
    DWORD exitCode = 1;
    return ::GetExitCodeProcess(info.hProcess, &exitCode) && exitCode == 0 ? elapsed : -1;
}

// Every jump starts from the root item, so every level's selection changes the editor.
void selectRoot(HWND tree) {
    send(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(treeItem(tree, TVGN_ROOT, nullptr)));
}

// The calls a walk of the names cannot do without, sent from here: per level the first
// child; per item examined the exchange and the next sibling; the selection and the hidden
// expansion. A key target then ends with the click on the tree and the window raise.
double walkFloor(const RegeditViews& views, bool keyTarget) {
    TreeItemRecord record(benchLayout, remoteBuffers.text.remoteAddress());
    selectRoot(views.tree);
    const double start = nowMs();
    HTREEITEM item = treeItem(views.tree, TVGN_ROOT, nullptr);
    for (const std::wstring& name : kJumpNames) {
        for (item = treeItem(views.tree, TVGN_CHILD, item); item; item = treeItem(views.tree, TVGN_NEXT, item))
            if (treeExchange(views.tree, record, item) && _wcsicmp(remoteBuffers.localText.get(), name.c_str()) == 0)
                break;
        if (!item) return -1;
        send(views.tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
        ::ShowWindow(views.tree, SW_HIDE);
        send(views.tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
        ::ShowWindow(views.tree, SW_SHOW);
    }
    if (keyTarget) {
        treeItem(views.tree, TVGN_CHILD, item);
        send(views.tree, WM_MBUTTONDOWN);
        ::Sleep(0);
        send(views.tree, WM_MBUTTONUP);
        restoreRegeditWindow(views.tree);
    }
    return nowMs() - start;
}

// The walk, and after the wait for the list the value search's calls: the click, the row
// count, the header, the rows up to the value with the per-row yield and trace lines, the
// state change, the scroll, the clicks on the list and the two window raises.
double valueJumpFloor(const RegeditViews& views) {
    const double walk = walkFloor(views, false);
    ::Sleep(static_cast<DWORD>(kValueSearchWaitMs));  // the list fills, as in the jump
    ListItemRecord record = ListItemRecord::textQuery(benchLayout, remoteBuffers.text.remoteAddress());
    const double start = nowMs();
    send(views.tree, WM_MBUTTONDOWN);
    send(views.list, LVM_GETITEMCOUNT);
    send(reinterpret_cast<HWND>(send(views.list, LVM_GETHEADER)), HDM_GETITEMCOUNT);
    int row = -1;
    do {
        if (!rowExchange(views.list, record, ++row)) return -1;
        rowExtras();
    } while (_wcsicmp(remoteBuffers.localText.get(), kJumpValue) != 0);
    writeListRecord(remoteBuffers, ListItemRecord::stateChange(benchLayout, row));
    send(views.list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(remoteBuffers.listItem.address()));
    send(views.list, LVM_ENSUREVISIBLE, row, FALSE);
    restoreRegeditWindow(views.tree);
    confirmRowChoice(views.list, remoteBuffers.messages);
    restoreRegeditWindow(views.tree);
    return walk < 0 ? -1 : walk + nowMs() - start;
}

void printWholeJump(const char* what, const std::vector<double>& ms, Figure floor, const char* floorParts) {
    const Figure measured = figureOf(ms);
    std::printf(
        "[ bench ] %s: median %.1f ms, floor %.1f ms, ratio %.2f; fastest %.1f ms, floor %.1f ms, ratio %.2f "
        "(floor: %s; target <= 1.20)\n",
        what, measured.median, floor.median, measured.median / floor.median, measured.fastest, floor.fastest,
        measured.fastest / floor.fastest, floorParts);
}

int benchWholeJump(const Editor& editor) {
    std::printf("[ bench ] --- the whole jump in a running Wine editor, medians of %d ---\n", kJumpRounds);
    UniqueHandle process;
    RegeditViews views;
    if (!openViews(editor, RecordLayout::Bits64, process, views)) return fail("views");
    std::wstring key;
    for (const std::wstring& name : kJumpNames) key += (key.empty() ? L"" : L"\\") + name;
    const std::wstring keyJump = quoteArgument(hivescoutPath()) + L" " + switchWord(L"-jumptokey", key);
    const std::wstring valueJump =
        quoteArgument(hivescoutPath()) + L" " + switchWord(L"-jumptovalue", key + L"\\" + kJumpValue);
    const std::wstring bare = quoteArgument(ownDirectory() + L"bare_process.exe");

    timedProcess(keyJump);  // expands every level once; not measured
    std::vector<double> bareMs, windowedMs, keyMs, valueMs, keyFloorMs, valueFloorMs;
    for (int round = 0; round < kJumpRounds; ++round) {
        bareMs.push_back(timedProcess(bare));
        windowedMs.push_back(timedProcess(bare + L" windows"));
        selectRoot(views.tree);
        keyMs.push_back(timedProcess(keyJump));
        keyFloorMs.push_back(walkFloor(views, true));
        selectRoot(views.tree);
        valueMs.push_back(timedProcess(valueJump));
        valueFloorMs.push_back(valueJumpFloor(views));
        if (std::min({bareMs.back(), windowedMs.back(), keyMs.back(), keyFloorMs.back(), valueMs.back(),
                      valueFloorMs.back()}) < 0)
            return fail("a process, a jump or a floor walk");
        std::printf(
            "[ bench ] round %d: bare start %.1f / %.1f ms, key jump %.1f ms, value jump %.1f ms, "
            "walk floors %.1f / %.1f ms\n",
            round + 1, bareMs.back(), windowedMs.back(), keyMs.back(), valueMs.back(), keyFloorMs.back(),
            valueFloorMs.back());
    }
    const Figure start = figureOf(bareMs), windowed = figureOf(windowedMs), keyWalk = figureOf(keyFloorMs),
                 valueWalk = figureOf(valueFloorMs);
    for (const auto& [what, figure] : {std::pair{"bare process start to exit", start},
                                       {"with one window enumeration", windowed},
                                       {"key walk floor (no waits)", keyWalk},
                                       {"value walk floor (no waits)", valueWalk}})
        std::printf("[ bench ] %s: median %.1f ms, fastest %.1f ms\n", what, figure.median, figure.fastest);
    const Figure keyFloor = keyWalk + kLockWaitMs, valueFloor = valueWalk + (kLockWaitMs + kValueSearchWaitMs);
    printWholeJump("key jump, four names", keyMs, start + keyFloor, "bare start + 30 ms + walk");
    printWholeJump("value jump, four names and a value", valueMs, start + valueFloor, "bare start + 30 + 50 ms + walk");
    printWholeJump("key jump", keyMs, windowed + keyFloor, "windowed start + 30 ms + walk");
    printWholeJump("value jump", valueMs, windowed + valueFloor, "windowed start + 30 + 50 ms + walk");
    remoteBuffers.release();
    return 0;
}

}  // namespace

int wmain() {
    CapturedReport quiet;  // the walk's own lines are not part of the figures
    const double writeStart = nowMs();
    std::vector<std::wstring> keys, values;
    addNumbered(keys, L"Key%04u", kSiblings), addNumbered(values, L"|Value%04u", kRows - 1);
    TestRegistryData siblings(L"HivescoutBench", keys), rows(L"HivescoutBenchRows", values);
    TestRegistryData jumpKey(kJumpNames[2], {kJumpNames[3] + L"|" + kJumpValue});
    if (!siblings.created() || !rows.created() || !jumpKey.created()) return fail("registry data");
    std::printf("[ bench ] registry data: %.0f ms\n", nowMs() - writeStart);

    // The whole jump first, while the editor shows no more than an editor usually does.
    {
        Editor editor(wineEditorPath());  // kept outside the Windows directory by the bench
        if (wineEditorPath().empty() || !editor.ready()) return fail("Wine's editor");
        if (benchWholeJump(editor) || benchItems("Wine's own editor (nested layout)", editor)) return 1;
    }
    Editor editor;
    if (!editor.ready() || benchItems("the stand-in (Windows layout)", editor)) return fail("stand-in");
    if (readFileBytes(editor32Path()) != readFileBytes(standin32Path())) return fail("no 32-bit stand-in");
    Editor editor32(editor32Path(), {});
    return editor32.ready() ? benchItems("the 32-bit stand-in (Windows layout)", editor32, RecordLayout::Bits32)
                            : fail("32-bit stand-in");
}
