#include "base/shared_objects.h"

#include <sstream>

namespace hivescout {

std::wstring regeditLockName(std::uint32_t regeditProcessId) {
    std::wostringstream name;
    name << L"Hivescout Wait for other instance to finish" << regeditProcessId;
    return name.str();
}

std::wstring terminationEventName(std::uint32_t regeditProcessId) {
    std::wostringstream name;
    name << L"HivescoutTErMInaTIonEvent for regedit with PID " << regeditProcessId;
    return name.str();
}

HANDLE openRegeditLock(std::uint32_t regeditProcessId, bool openOnly) {
    const std::wstring name = regeditLockName(regeditProcessId);
    if (openOnly) return ::OpenMutexW(MUTEX_ALL_ACCESS, FALSE, name.c_str());
    return ::CreateMutexW(nullptr, TRUE, name.c_str());
}

}  // namespace hivescout
