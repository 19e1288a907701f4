#include "regedit/launch.h"

#include <algorithm>
#include <vector>

#include "base/exit_flags.h"
#include "base/report.h"
#include "base/report_encoding.h"
#include "base/report_texts.h"

namespace hivescout {

std::wstring composeLaunchCommandLine(const std::wstring& command, const std::wstring* directory) {
    if (directory == nullptr) return command;

    std::wstring folder = *directory;
    while (!folder.empty() && folder.back() == L'\\') folder.pop_back();
    const std::wstring trimmedCommand = command.substr(std::min(command.find_first_not_of(L'\\'), command.size()));

    const auto blank = trimmedCommand.find(L' ');
    const std::wstring program = folder + L'\\' + trimmedCommand.substr(0, blank);
    const std::wstring arguments = blank == std::wstring::npos ? std::wstring() : trimmedCommand.substr(blank);
    // Unquoted, a blank in the directory would let the system start a different program
    // (C:\Program.exe for C:\Program Files\...).
    if (program.find_first_of(L" \t") == std::wstring::npos) return program + arguments;
    return L'"' + program + L'"' + arguments;
}

std::uint32_t launchRegedit(STARTUPINFOW& startupInfo, PROCESS_INFORMATION& launchInfo, std::wstring command,
                            const std::wstring* directory) {
    launchInfo = PROCESS_INFORMATION{};
    const std::wstring commandLine = composeLaunchCommandLine(command, directory);
    std::vector<wchar_t> writable(commandLine.begin(), commandLine.end());
    writable.push_back(L'\0');
    if (::CreateProcessW(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startupInfo,
                         &launchInfo)) {
        return 0;
    }
    const DWORD error = ::GetLastError();
    reportError(text::kLaunchFailed, visibleInReport(commandLine), text::kLaunchFailedError, formatSystemMessage(error));
    return ExitFlags::RegeditLaunchFailed;
}

}  // namespace hivescout
