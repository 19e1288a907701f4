#pragma once
#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "views/key_path.h"

namespace hivescout {

// The settings of a run, built from the command line at the start of wWinMain; only a path
// taken from the clipboard changes them later.
struct JumpSettings {
    bool appendLog = false;
    bool logToFile = false;
    std::wstring logFilePath;
    std::wstring jumpPath;
    // The backslashes the path ended with before normalisation: a value's name may end with them.
    std::size_t jumpPathTrailingBackslashes = 0;
    std::wstring programFileName;
    std::map<std::wstring, std::wstring> switches;
    bool terminateIfOtherInstanceIsBlocking = false;
    bool showHelp = false;
    std::uint32_t waitTimeoutMs = 3000;
    bool terminateOtherWaitingInstances = false;
    bool useMultipleInstancesOfRegedit = false;
    bool use32BitRegedit = false;
    bool use64BitRegedit = true;
    JumpKind jumpKind = JumpKind::KeyOrValue;
    // "-clipboard" without a jump switch: the main flow takes the path from the clipboard.
    bool pathFromClipboard = false;

    JumpSettings() = default;
    // Builds the record from the full text of a command line.
    explicit JumpSettings(const wchar_t* commandLine);
    JumpSettings(const JumpSettings&) = delete;
    JumpSettings& operator=(const JumpSettings&) = delete;
};

// Splits the command line into words (the system's quoting rules) and fills the record.
// A command line that cannot be split is treated as an empty one.
void buildJumpSettings(JumpSettings& settings, const wchar_t* commandLine);

// The same from words already split; words[0] is the program's own path.
void buildJumpSettingsFromWords(JumpSettings& settings, const std::vector<std::wstring>& words);

// Splits one word into a lower-cased switch name and its value and stores them.
bool parseSwitchWord(JumpSettings& settings, const std::wstring& word);

// Reads the "-waittimeout" value as an unsigned 32-bit decimal number; 0 when unreadable.
std::uint32_t readWaitTimeout(const std::wstring& value);

}  // namespace hivescout
