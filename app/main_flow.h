#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "app/jump_settings.h"

namespace hivescout {

// The body of the GUI entry point: the usage window or the jump, the report around it,
// and the result bits that become the exit code.
std::uint32_t runJump(HINSTANCE instance);

// The report word for what the jump path names.
const wchar_t* kindWordFor(JumpKind kind);

// The bits for an empty jump path.
std::uint32_t missingTargetFlags(JumpKind kind);

// The success line, or the FAILED line with the passed path for a target not found.
void reportOutcome(std::uint32_t flags, const std::wstring& jumpPath);

}  // namespace hivescout
