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

HANDLE tryCreateRegeditLock(std::uint32_t regeditProcessId) {
    return ::CreateMutexW(nullptr, FALSE, regeditLockName(regeditProcessId).c_str());
}

HANDLE tryOpenRegeditLock(std::uint32_t regeditProcessId) {
    return ::OpenMutexW(MUTEX_ALL_ACCESS, FALSE, regeditLockName(regeditProcessId).c_str());
}

}  // namespace hivescout
