#include "regedit/discovery.h"

#include "base/handle.h"
#include "base/shared_objects.h"
#include "base/text_folding.h"
#include "regedit/regedit_instance.h"

namespace hivescout {

namespace {

bool isEligible(DWORD processId, bool use32BitRegedit, bool use64BitRegedit) {
    UniqueHandle process(::OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId));
    if (!process) return false;
    const bool is32Bit = isProcess32Bit(process.get());
    process.reset();
    if (!bitnessAccepted(is32Bit, use32BitRegedit, use64BitRegedit)) return false;
    // Another copy holds or waits for this editor exactly when its lock exists.
    UniqueHandle lock(tryOpenRegeditLock(processId));
    return !lock;
}

}  // namespace

bool bitnessAccepted(bool processIs32Bit, bool use32BitRegedit, bool use64BitRegedit) {
    if (use32BitRegedit) return processIs32Bit;
    if (use64BitRegedit) return !processIs32Bit;
    return true;
}

bool isProcess32Bit(HANDLE process) {
    BOOL underWow64 = FALSE;
    return ::IsWow64Process(process, &underWow64) && underWow64;
}

std::vector<PROCESSENTRY32W> processesNamed(const std::wstring& executableName) {
    std::vector<PROCESSENTRY32W> found;
    UniqueHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return found;
    const std::wstring wanted = foldToLower(executableName);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more; more = ::Process32NextW(snapshot.get(), &entry))
        if (foldToLower(entry.szExeFile) == wanted) found.push_back(entry);
    return found;
}

std::uint32_t findEligibleRegedit(const std::wstring& executableName, bool use32BitRegedit, bool use64BitRegedit) {
    std::uint32_t result = RegeditInstance::kNoProcess;
    for (const PROCESSENTRY32W& entry : processesNamed(executableName)) {
        result = entry.th32ProcessID;
        if (isEligible(entry.th32ProcessID, use32BitRegedit, use64BitRegedit)) break;
    }
    return result;
}

}  // namespace hivescout
