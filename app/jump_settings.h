#pragma once
#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "sync/regedit_lock.h"
#include "views/key_path.h"

namespace hivescout {

// The process-wide settings, built from the command line before wWinMain runs and
// read-only afterwards (only the lock handle is filled later).
struct JumpSettings {
    bool appendLog = false;
    bool logToFile = false;
    std::wstring logFilePath;
    std::wstring jumpPath;
    std::wstring programFileName;
    std::map<std::wstring, std::wstring> switches;
    bool terminateIfOtherInstanceIsBlocking = false;
    bool showHelp = false;
    RegeditLock regeditLock;  // filled by the jump once the editor is known
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

// The process-wide settings of this run.
extern JumpSettings jumpSettings;

}  // namespace hivescout
