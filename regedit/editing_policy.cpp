#include "regedit/editing_policy.h"

#include "base/exit_flags.h"
#include "base/report.h"
#include "base/report_texts.h"

namespace hivescout {

namespace {

const wchar_t kPolicyKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
const wchar_t kPolicyValue[] = L"DisableRegistryTools";

}  // namespace

bool disablesRegistryEditing(DWORD policyValue) { return policyValue == 1 || policyValue == 2; }

std::uint32_t refuseLaunchWhenEditingDisabled() {
    const struct {
        HKEY root;
        const wchar_t* name;
    } roots[] = {{HKEY_CURRENT_USER, L"HKEY_CURRENT_USER"}, {HKEY_LOCAL_MACHINE, L"HKEY_LOCAL_MACHINE"}};
    for (const auto& root : roots) {
        DWORD value = 0;
        DWORD size = sizeof(value);
        const LSTATUS read =
            ::RegGetValueW(root.root, kPolicyKey, kPolicyValue, RRF_RT_REG_DWORD, nullptr, &value, &size);
        if (read != ERROR_SUCCESS || !disablesRegistryEditing(value)) continue;
        reportError(text::kEditingDisabled, kPolicyValue, text::kEditingDisabledIs, value, text::kEditingDisabledIn,
                    root.name, L'\\', kPolicyKey, text::kEditingDisabledEnd);
        return ExitFlags::RegeditLaunchFailed;
    }
    return 0;
}

}  // namespace hivescout
