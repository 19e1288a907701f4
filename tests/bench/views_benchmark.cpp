// Prints what the walk costs per item against the floor of the calls one item needs,
// measured in the same run against the editor stand-in: the last of 5,000 sibling keys
// and a value in the last of 1,000 rows. Also shows that no memory is allocated per item,
// neither in this process (operator new is counted) nor in the editor (private bytes).
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

#include "app/exit_flags.h"
#include "app/handle.h"
#include "app/main_flow.h"
#include "app/process_state.h"
#include "tests/support/capture.h"
#include "tests/support/registry_data.h"
#include "tests/support/standin.h"
#include "views/regedit_views.h"
#include "views/remote_buffers.h"
#include "views/value_list.h"

namespace {

std::atomic<unsigned long long> allocationCount{0};

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

// Committed private memory of the process, summed from its regions (the process
// counters are not filled in for other processes everywhere).
SIZE_T privateBytes(HANDLE process) {
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION info{};
    for (auto* address = static_cast<const char*>(nullptr);
         ::VirtualQueryEx(process, address, &info, sizeof(info)) == sizeof(info);
         address = static_cast<const char*>(info.BaseAddress) + info.RegionSize) {
        if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) total += info.RegionSize;
    }
    return total;
}

RegistryKeySpec siblingsTree() { return keyWithNumberedSubkeys(L"HivescoutBench", L"Key", kSiblings, 4); }

RegistryKeySpec rowsTree() {
    RegistryKeySpec rows{L"HivescoutBenchRows", {}, {}};
    for (unsigned i = 0; i + 1 < kRows; ++i) {
        wchar_t name[16];
        std::swprintf(name, 16, L"Value%04u", i);
        rows.add(stringValue(name, L"x"));
    }
    return rows;
}

struct Timed {
    std::uint32_t bits;
    double ms;
    unsigned long long allocations;
};

Timed timedJump(JumpKind kind, const std::wstring& path, const RegeditViews& views) {
    jumpSettings.jumpKind = kind;
    targetKindWord = kindWordFor(kind);
    passedPath.clear();
    passedPath.reserve(512);
    const std::wstring copy = path;  // the walk takes its own copy; keep that outside the count
    const unsigned long long allocationsBefore = allocationCount;
    const double start = nowMs();
    const std::uint32_t bits = jumpInRegeditViews(copy, views);
    return {bits, nowMs() - start, allocationCount - allocationsBefore};
}

// The value search alone, in the key that is already selected: no tree walk and no
// refill of the list, so two searches differ only in the rows they read.
Timed timedValueSearch(const std::wstring& valueName, const RegeditViews& views) {
    passedPath.clear();
    passedPath.reserve(512);
    const unsigned long long allocationsBefore = allocationCount;
    const double start = nowMs();
    const ValueSearchResult result = selectValueInList(valueName, views, RecordLayout::Bits64);
    const double elapsed = nowMs() - start;
    const std::uint32_t bits = result.outcome == ValueSearch::Selected ? 0 : ExitFlags::KeyNotFound | result.failure;
    return {bits, elapsed, allocationCount - allocationsBefore};
}

// The bare calls one tree item needs: write the record, ask for the item, read the text,
// ask for the next sibling.
double treeFloorPerItem(HWND tree, HTREEITEM parent) {
    TVITEMEXW record{};
    record.mask = TVIF_TEXT | TVIF_HANDLE;
    record.pszText = static_cast<LPWSTR>(remoteBuffers.text.address());
    record.cchTextMax = static_cast<int>(kRemoteTextCapacity);
    HANDLE process = remoteBuffers.process;
    void* const remoteRecord = remoteBuffers.treeItem.address();
    wchar_t* const local = remoteBuffers.localText.get();
    unsigned items = 0;
    const double start = nowMs();
    HTREEITEM item = reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(parent)));
    for (; item; ++items) {
        record.hItem = item;
        ::WriteProcessMemory(process, remoteRecord, &record, sizeof(record), nullptr);
        ::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remoteRecord));
        ::ReadProcessMemory(process, remoteBuffers.text.address(), local, kRemoteTextBytes, nullptr);
        item = reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
    }
    return (nowMs() - start) / items;
}

// The bare calls one list row needs: write the record, ask for the row, read the text.
// With extras, also the yield and the two trace lines that the search makes per row.
double listFloorPerItem(HWND list, bool withExtras = false) {
    LVITEMW record{};
    record.mask = LVIF_TEXT;
    record.pszText = static_cast<LPWSTR>(remoteBuffers.text.address());
    record.cchTextMax = static_cast<int>(kRemoteTextCapacity);
    HANDLE process = remoteBuffers.process;
    void* const remoteRecord = remoteBuffers.listItem.address();
    wchar_t* const local = remoteBuffers.localText.get();
    const double start = nowMs();
    for (int row = 0; row < static_cast<int>(kRows); ++row) {
        if (withExtras) ::Sleep(0);
        record.iItem = row;
        ::WriteProcessMemory(process, remoteRecord, &record, 72, nullptr);
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

}  // namespace

int wmain() {
    CapturedReport quiet;  // the walk's own lines are not part of the figures
    const double writeStart = nowMs();
    TestRegistryData siblings(siblingsTree());
    TestRegistryData rows(rowsTree());
    if (!siblings.created() || !rows.created()) return fail("registry data");
    std::printf("[ bench ] registry data: %.0f ms\n", nowMs() - writeStart);

    Standin editor;
    if (!editor.ready()) return fail("stand-in");
    UniqueHandle process(::OpenProcess(0x00100438, FALSE, editor.processId()));
    if (!process) return fail("open the stand-in");
    regeditInstance.process = process.get();
    regeditInstance.is32Bit = 0;

    RegeditViews views;
    allocateLocalText();
    if (findRegeditViews(WindowSet{editor.state().mainWindow}, views, process.get(), kRemoteTextCapacity) != 0)
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

    const SIZE_T editorBytesBefore = privateBytes(process.get());
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
    const SIZE_T editorBytesAfter = privateBytes(process.get());

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

    releaseRemoteBuffers();
    regeditInstance.process = nullptr;
    editor.stop();
    return 0;
}
