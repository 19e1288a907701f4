#include "regedit/launch.h"

#include <vector>

#include "base/exit_flags.h"
#include "base/report.h"
#include "base/report_encoding.h"
#include "base/report_texts.h"
#include "base/text_trimming.h"
#include "regedit/editing_policy.h"

namespace hivescout {

std::wstring regeditDirectoryTemplate(bool use32BitRegedit) {
    return use32BitRegedit ? L"%systemroot%\\syswow64\\" : L"%systemroot%\\";
}

std::wstring regeditCommandFor(bool useMultipleInstances) {
    return useMultipleInstances ? L"regedit.exe -m" : L"regedit.exe";
}

DWORD expandSystemRoot(std::wstring& text) {
    const DWORD needed = ::ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    if (needed == 0) return ::GetLastError();
    std::vector<wchar_t> buffer(static_cast<std::size_t>(needed) + 1, L'\0');
    const DWORD written = ::ExpandEnvironmentStringsW(text.c_str(), buffer.data(), needed);
    if (written != needed) return ::GetLastError();
    buffer[written] = L'\0';
    text = buffer.data();
    return 0;
}

std::wstring composeLaunchCommandLine(const std::wstring& command, const std::wstring* directory) {
    if (directory == nullptr) return command;

    const std::wstring folder = trimBack(*directory, L"\\");
    const std::wstring trimmedCommand = trimFront(command, L"\\");

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
    if (const std::uint32_t refused = refuseLaunchWhenEditingDisabled()) return refused;
    const std::wstring commandLine = composeLaunchCommandLine(command, directory);
    std::vector<wchar_t> writable(commandLine.begin(), commandLine.end());
    writable.push_back(L'\0');
    if (::CreateProcessW(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startupInfo,
                         &launchInfo)) {
        return 0;
    }
    return SystemError().report(ExitFlags::RegeditLaunchFailed, text::kLaunchFailed, visibleInReport(commandLine),
                                text::kLaunchFailedError);
}

}  // namespace hivescout
