#include <gtest/gtest.h>

#include "app/jump_settings.h"

using namespace hivescout;

// A fresh record built from words; the first word is the program's path.
struct Built : JumpSettings {
    explicit Built(std::vector<std::wstring> words) {
        words.insert(words.begin(), L"C:\\Tools\\hivescout.exe");
        buildJumpSettingsFromWords(*this, words);
    }
};

TEST(CommandLine, WordsGiveThePathItsKindAndTheHelp) {
    const struct { std::vector<std::wstring> words; std::wstring path; JumpKind kind; bool help, clipboard; } rows[] = {
        {{}, L"", JumpKind::KeyOrValue, true, false},
        // Help switches in any case; the rest is read all the same ("/?" and "-help": end to end).
        {{L"?", L"-jumptokey=hkcu\\Software"}, L"HKEY_CURRENT_USER\\Software", JumpKind::Key, true, false},
        {{L"--HELP", L"-jumptokey=hkcu\\Software"}, L"HKEY_CURRENT_USER\\Software", JumpKind::Key, true, false},
        // Bare words are joined by single blanks, an unknown switch among them.
        {{L"hklm\\Software\\My", L"Key"}, L"HKEY_LOCAL_MACHINE\\Software\\My Key", JumpKind::KeyOrValue, false, false},
        {{L"-unknown=1", L"hkcu\\x"}, L"-unknown=1 hkcu\\x", JumpKind::KeyOrValue, false, false},
        {{L""}, L"", JumpKind::KeyOrValue, false, false},
        // A recognised switch makes bare words ignored.
        {{L"-m", L"hklm\\Software"}, L"", JumpKind::KeyOrValue, false, false},
        {{L"-Clipboard", L"hklm\\Software"}, L"", JumpKind::KeyOrValue, false, true},
        {{L"-jumpto=hklm\\Software\\My", L"Key"}, L"HKEY_LOCAL_MACHINE\\Software\\My", JumpKind::KeyOrValue, false, false},
        // Value over key over key-or-value over the clipboard, whatever the order.
        {{L"-jumptokey=hklm\\A", L"-jumpto=hklm\\B"}, L"HKEY_LOCAL_MACHINE\\A", JumpKind::Key, false, false},
        {{L"-jumptovalue=hkcu\\V", L"-jumptokey=hklm\\K", L"-jumpto=x"}, L"HKEY_CURRENT_USER\\V", JumpKind::Value, false, false},
        {{L"-clipboard", L"-jumptokey="}, L"", JumpKind::Key, false, false},
        // Names in any case, values as given; jump values keep trailing blanks.
        {{L"-JumpToValue=HKCU\\Software\\MiXed"}, L"HKEY_CURRENT_USER\\Software\\MiXed", JumpKind::Value, false, false},
        {{L" -jumpto =  hkcu\\Name  "}, L"HKEY_CURRENT_USER\\Name  ", JumpKind::KeyOrValue, false, false},
    };
    for (const auto& row : rows) {
        const JumpSettings& s = Built(row.words);
        SCOPED_TRACE(row.words.empty() ? L"(none)" : row.words[0]);
        EXPECT_EQ(row.path, s.jumpPath);
        EXPECT_EQ(row.kind, s.jumpKind);
        EXPECT_EQ(row.help, s.showHelp);
        EXPECT_EQ(row.clipboard, s.pathFromClipboard);
    }
}

TEST(CommandLine, OtherSwitchesTheirShortFormsAndDefaults) {
    const struct { std::vector<std::wstring> words; bool waitingEnded, furtherEditor, bits32, bits64, giveUp;
                   std::uint32_t waitMs; std::wstring log; bool append; } rows[] = {
        {{L"-tw", L"-tb", L"-m", L"-jumpto=hku"}, 1, 1, 0, 1, true, 3000, L"", false},
        {{L"-terminateotherwaitinginstances", L"-terminateifotherinstanceisblocking", L"-usemultipleinstancesofregedit"},
         1, 1, 0, 1, true, 3000, L"", false},
        {{L"-LOGTOFILE=C:\\Log.TXT", L"-AppendLog"}, 0, 0, 0, 1, false, 3000, L"C:\\Log.TXT", true},
        {{L"-logtofile= C:\\a b.log \t"}, 0, 0, 0, 1, false, 3000, L"C:\\a b.log", false},
        {{L"-logtofile=first.log", L"-logtofile=second.log"}, 0, 0, 0, 1, false, 3000, L"second.log", false},
        {{L"-waittimeout"}, 0, 0, 0, 1, false, 0, L"", false},
        {{L"-waittimeout= 1500 "}, 0, 0, 0, 1, false, 1500, L"", false},
    };
    for (const auto& row : rows) {
        const JumpSettings& s = Built(row.words);
        SCOPED_TRACE(row.words[0]);
        EXPECT_EQ(row.waitingEnded, s.terminateOtherWaitingInstances);
        EXPECT_EQ(row.furtherEditor, s.useMultipleInstancesOfRegedit);
        EXPECT_EQ(row.bits32, s.use32BitRegedit);
        EXPECT_EQ(row.bits64, s.use64BitRegedit);
        EXPECT_EQ(row.giveUp, s.terminateIfOtherInstanceIsBlocking);
        EXPECT_EQ(row.waitMs, s.waitTimeoutMs);
        EXPECT_EQ(row.log, s.logFilePath);
        EXPECT_EQ(!row.log.empty(), s.logToFile);
        EXPECT_EQ(row.append, s.appendLog);
    }
}

// The whole text is split by the system's quoting rules; a word starting with "=" has an empty name and value.
TEST(CommandLine, TheWholeTextIsSplitWithTheSystemQuotingRules) {
    JumpSettings s(L"\"C:\\Program Files\\Hive scout.exe\" \"-jumpto=hkcu\\A B  \" -tb");
    EXPECT_EQ(L"Hive scout.exe", s.programFileName);
    EXPECT_EQ(L"HKEY_CURRENT_USER\\A B  ", s.jumpPath);
    EXPECT_TRUE(s.terminateIfOtherInstanceIsBlocking);
    EXPECT_FALSE(parseSwitchWord(s, L"=abc"));
    EXPECT_TRUE(s.switches.count(L"") && s.switches[L""].empty());
}

// As an unsigned stream extraction: the sign negates modulo 2^32 what was read, and a
// number beyond 32 bits is 0, signed or not.
TEST(WaitTimeout, ReadsLikeAnUnsignedStreamExtraction) {
    const std::pair<const wchar_t*, std::uint32_t> rows[] = {
        {L"  1500  ", 1500}, {L"2500ms", 2500}, {L"-1", 4294967295u}, {L"4294967295", 4294967295u}, {L"+7", 7},
        {L"4294967296", 0},  {L"-4294967295", 1}, {L"-4294967296", 0}, {L"abc", 0}, {L"", 0}, {L"-", 0}};
    for (const auto& [text, expected] : rows) EXPECT_EQ(expected, readWaitTimeout(text)) << text;
}
