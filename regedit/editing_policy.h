#pragma once
#include <windows.h>

#include <cstdint>

namespace hivescout {

// Whether a DisableRegistryTools policy value switches registry editing off: 1, and 2
// (which also stops silent imports), make the system's editor refuse to run.
bool disablesRegistryEditing(DWORD policyValue);

// Before a new editor is started: 8, after its line, when a policy in HKEY_CURRENT_USER or
// HKEY_LOCAL_MACHINE disables registry editing (the editor would only say so and end);
// otherwise 0. A running editor is not asked about.
std::uint32_t refuseLaunchWhenEditingDisabled();

}  // namespace hivescout
