#include "ui/usage.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "base/exit_flags.h"
#include "base/report.h"
#include "base/report_texts.h"
#include "ui/plain_text_dialog.h"
#include "ui/rich_text_dialog.h"
#include "ui/text_window_parts.h"
#include "ui/usage_text.h"

namespace hivescout {

namespace {

std::uint32_t reportResourceStage(const wchar_t* stage) {
    const DWORD error = ::GetLastError();
    reportError(stage, text::kResourceError, error);
    return ExitFlags::ResourceExtractionFailed;
}

std::uint32_t usageWindowFailed(std::uint32_t flags) {
    reportFailures(ExitFlags::UsageWindowFailed);
    return flags | ExitFlags::UsageWindowFailed;
}

template <typename Dialog>
std::uint32_t runUsageDialog(Dialog& dialog) {
    if (dialog.runModal(::GetActiveWindow(), IDD_TEXT_WINDOW) == -1) return usageWindowFailed(0);
    return 0;
}

}  // namespace

std::uint32_t readResourceData(std::vector<char>& buffer, WORD id, const wchar_t* type, HMODULE module) {
    if (!module) module = ::GetModuleHandleW(nullptr);
    HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(id), type);
    if (!found) return reportResourceStage(text::kResourceFindFailed);
    HGLOBAL loaded = ::LoadResource(module, found);
    if (!loaded) return reportResourceStage(text::kResourceLoadFailed);
    const void* bytes = ::LockResource(loaded);
    if (!bytes) return reportResourceStage(text::kResourceLockFailed);
    const DWORD size = ::SizeofResource(module, found);
    const char* first = static_cast<const char*>(bytes);
    buffer.insert(buffer.end(), first, first + size);
    return 0;
}

std::uint32_t showRichUsage(const std::wstring& programFileName) {
    std::vector<char> buffer;
    if (const std::uint32_t failed = readResourceData(buffer, IDR_USAGE_RICH, USAGE_RESOURCE_TYPE_NAME))
        return usageWindowFailed(failed);
    std::string text(buffer.begin(), buffer.end());
    text = substituteProgramName(std::move(text), kStoredProgramName,
                                 richFileNameReplacement(programFileName));
    text.resize(std::min(text.size(), text.find('\0')));
    RichUsageDialog dialog(usageTitle(), std::move(text));
    return runUsageDialog(dialog);
}

std::uint32_t showPlainUsage(const std::wstring& programFileName) {
    std::vector<char> buffer;
    if (const std::uint32_t failed = readResourceData(buffer, IDR_USAGE_PLAIN, USAGE_RESOURCE_TYPE_NAME))
        return usageWindowFailed(failed);
    std::wstring text(buffer.size() / 2, L'\0');
    if (!text.empty()) std::memcpy(&text[0], buffer.data(), text.size() * sizeof(wchar_t));
    text = substituteProgramName(std::move(text), kStoredProgramNameWide,
                                 plainFileNameReplacement(programFileName));
    text.resize(std::min(text.size(), text.find(L'\0')));
    PlainUsageDialog dialog(usageTitle(), std::move(text));
    return runUsageDialog(dialog);
}

}  // namespace hivescout
