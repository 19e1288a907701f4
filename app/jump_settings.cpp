#include "app/jump_settings.h"

#include <shellapi.h>

#include <initializer_list>

#include "app/path_forms.h"
#include "base/handle.h"
#include "base/text_folding.h"
#include "base/text_trimming.h"

namespace hivescout {

namespace {

const wchar_t kBlanks[] = L"\t\r\n ";

bool isJumpSwitch(const std::wstring& name) {
    return name == L"-jumpto" || name == L"-jumptokey" || name == L"-jumptovalue";
}

// Finds the first of the given names among the switches; counts it as recognised.
const std::wstring* findSwitch(const JumpSettings& settings, std::initializer_list<const wchar_t*> names,
                               bool& recognised) {
    for (const wchar_t* name : names) {
        const auto found = settings.switches.find(name);
        if (found != settings.switches.end()) {
            recognised = true;
            return &found->second;
        }
    }
    return nullptr;
}

void applySwitches(JumpSettings& s, bool& recognised) {
    if (findSwitch(s, {L"/?", L"?", L"--help", L"-help"}, recognised)) s.showHelp = true;
    if (findSwitch(s, {L"-appendlog"}, recognised)) s.appendLog = true;
    if (const auto* path = findSwitch(s, {L"-logtofile"}, recognised)) {
        s.logToFile = true;
        s.logFilePath = *path;
    }
    if (findSwitch(s, {L"-terminateifotherinstanceisblocking", L"-tb"}, recognised))
        s.terminateIfOtherInstanceIsBlocking = true;
    if (const auto* value = findSwitch(s, {L"-waittimeout"}, recognised)) s.waitTimeoutMs = readWaitTimeout(*value);
    if (findSwitch(s, {L"-terminateotherwaitinginstances", L"-tw"}, recognised))
        s.terminateOtherWaitingInstances = true;
    // Later rows win: -jumptovalue over -jumptokey over -jumpto.
    if (const auto* path = findSwitch(s, {L"-jumpto"}, recognised)) s.jumpPath = *path;
    if (const auto* path = findSwitch(s, {L"-jumptokey"}, recognised)) {
        s.jumpPath = *path;
        s.jumpKind = JumpKind::Key;
    }
    if (const auto* path = findSwitch(s, {L"-jumptovalue"}, recognised)) {
        s.jumpPath = *path;
        s.jumpKind = JumpKind::Value;
    }
    // A jump switch wins over the clipboard.
    if (findSwitch(s, {L"-clipboard"}, recognised) &&
        !findSwitch(s, {L"-jumpto", L"-jumptokey", L"-jumptovalue"}, recognised))
        s.pathFromClipboard = true;
    if (findSwitch(s, {L"-usemultipleinstancesofregedit", L"-m"}, recognised)) s.useMultipleInstancesOfRegedit = true;

    const std::initializer_list<const wchar_t*> group32 = {L"-use32bitregedit", L"-32bit", L"-x86"};
    const std::initializer_list<const wchar_t*> group64 = {L"-use64bitregedit", L"-64bit", L"-x64"};
    bool anyBitness = false;
    findSwitch(s, group32, anyBitness);
    findSwitch(s, group64, anyBitness);
    if (anyBitness) {
        recognised = true;
        s.use32BitRegedit = false;
        s.use64BitRegedit = false;
    }
    bool unused = false;
    if (findSwitch(s, group32, unused)) s.use32BitRegedit = true;
    if (findSwitch(s, group64, unused)) {
        s.use64BitRegedit = true;
        if (s.use32BitRegedit) {
            s.use32BitRegedit = false;
            s.use64BitRegedit = false;
        }
    }
}

std::wstring joinBareWords(const std::vector<std::wstring>& words) {
    std::wstring joined;
    for (std::size_t i = 1; i < words.size(); ++i) {
        joined += words[i];
        joined += L' ';
    }
    if (!joined.empty()) joined.pop_back();
    return joined;
}

}  // namespace

bool parseSwitchWord(JumpSettings& settings, const std::wstring& word) {
    const auto equals = word.find(L'=');
    std::wstring name = word.substr(0, equals);
    // A word that starts with "=" names nothing, and so carries no value either.
    std::wstring value = equals == std::wstring::npos || equals == 0 ? std::wstring() : word.substr(equals + 1);

    name = foldToLower(trimBack(trimFront(name, kBlanks), kBlanks));
    value = trimFront(value, kBlanks);
    // Key and value names may end in blanks, so the jump switches keep them.
    if (!isJumpSwitch(name)) value = trimBack(value, kBlanks);

    settings.switches[name] = value;
    return !name.empty();
}

std::uint32_t readWaitTimeout(const std::wstring& value) {
    std::size_t at = 0;
    // White space as the C locale's iswspace sees it.
    while (at < value.size() && (value[at] == L' ' || (value[at] >= L'\t' && value[at] <= L'\r'))) ++at;
    bool negative = false;
    if (at < value.size() && (value[at] == L'+' || value[at] == L'-')) negative = value[at++] == L'-';

    std::uint64_t number = 0;
    std::size_t digits = 0;
    for (; at < value.size() && value[at] >= L'0' && value[at] <= L'9'; ++at, ++digits) {
        number = number * 10 + static_cast<std::uint64_t>(value[at] - L'0');
        if (number > 0xFFFFFFFFull) return 0;
    }
    if (digits == 0) return 0;
    const auto result = static_cast<std::uint32_t>(number);
    return negative ? static_cast<std::uint32_t>(0u - result) : result;
}

void buildJumpSettingsFromWords(JumpSettings& s, const std::vector<std::wstring>& words) {
    for (std::size_t i = 1; i < words.size(); ++i) parseSwitchWord(s, words[i]);

    if (!words.empty()) {
        const auto backslash = words[0].rfind(L'\\');
        s.programFileName = backslash == std::wstring::npos ? words[0] : words[0].substr(backslash + 1);
    }

    bool recognised = false;
    applySwitches(s, recognised);

    if (!recognised) {
        if (words.size() > 1)
            s.jumpPath = joinBareWords(words);
        else
            s.showHelp = true;
    }
    s.jumpPathTrailingBackslashes = normaliseJumpPath(s.jumpPath);
}

void buildJumpSettings(JumpSettings& settings, const wchar_t* commandLine) {
    std::vector<std::wstring> words;
    int count = 0;
    // CommandLineToArgvW treats an empty string as a request for the module path; the
    // process's command line is never empty, but a caller's text may be.
    if (commandLine != nullptr && *commandLine != L'\0') {
        LPWSTR* list = ::CommandLineToArgvW(commandLine, &count);
        const UniqueLocalMemory owner(reinterpret_cast<HLOCAL>(list));
        if (list) words.assign(list, list + count);
    }
    // A command line that cannot be split behaves as an empty one: the usage window.
    buildJumpSettingsFromWords(settings, words);
}

JumpSettings::JumpSettings(const wchar_t* commandLine) { buildJumpSettings(*this, commandLine); }

}  // namespace hivescout
