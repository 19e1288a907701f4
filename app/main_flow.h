#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "app/jump_settings.h"
#include "sync/jump_session.h"

namespace hivescout {

// The body of the GUI entry point: the usage window or the jump the settings ask for, the
// report around it, and the result bits that become the exit code.
std::uint32_t runJump(JumpSettings& settings);

// The bits for an empty jump path.
std::uint32_t missingTargetFlags(JumpKind kind);

// The success line, or the FAILED line with the passed path for a target not found.
void reportOutcome(const JumpOutcome& outcome, const std::wstring& jumpPath);

}  // namespace hivescout
