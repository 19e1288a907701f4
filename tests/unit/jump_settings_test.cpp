#include <gtest/gtest.h>

#include <tuple>

#include "app/jump_settings.h"

using namespace hivescout;

namespace {

const std::wstring kCu = L"HKEY_CURRENT_USER\\", kLm = L"HKEY_LOCAL_MACHINE\\";
const JumpKind key = JumpKind::Key, value = JumpKind::Value, either = JumpKind::KeyOrValue;

}  // namespace

// A fresh record built from words; the first word is the program's path.
struct Built : JumpSettings {
    explicit Built(std::vector<std::wstring> words) {
        words.insert(words.begin(), L"C:\\Tools\\hivescout.exe");
        buildJumpSettingsFromWords(*this, words);
    }
};

// No words at all, and bare words joined by a blank (a value's name with a blank in it), are the
// end-to-end tests'.
TEST(CommandLine, WordsGiveThePathItsKindAndTheHelp) {
    // {words, path, kind, help, clipboard}
    const std::tuple<std::vector<std::wstring>, std::wstring, JumpKind, bool, bool> rows[] = {
        // Help switches in any case; the rest is read all the same ("/?" and "-help": end to end).
        {{L"?", L"-jumptokey=hkcu\\Software"}, kCu + L"Software", key, true, false},
        {{L"--HELP", L"-jumptokey=hkcu\\Software"}, kCu + L"Software", key, true, false},
        // An unknown switch is a bare word; an empty word is no help.
        {{L"-unknown=1", L"hkcu\\x"}, L"-unknown=1 hkcu\\x", either, false, false},
        {{L""}, L"", either, false, false},
        // A recognised switch makes bare words ignored.
        {{L"-m", L"hklm\\Software"}, L"", either, false, false},
        {{L"-Clipboard", L"hklm\\Software"}, L"", either, false, true},
        {{L"-jumpto=hklm\\Software\\My", L"Key"}, kLm + L"Software\\My", either, false, false},
        // Value over key over key-or-value over the clipboard, whatever the order.
        {{L"-jumptokey=hklm\\A", L"-jumpto=hklm\\B"}, kLm + L"A", key, false, false},
        {{L"-jumptovalue=hkcu\\V", L"-jumptokey=hklm\\K", L"-jumpto=x"}, kCu + L"V", value, false, false},
        {{L"-clipboard", L"-jumptokey="}, L"", key, false, false},
        // Names in any case, values as given; jump values keep trailing blanks.
        {{L"-JumpToValue=HKCU\\Software\\MiXed"}, kCu + L"Software\\MiXed", value, false, false},
        {{L" -jumpto =  hkcu\\Name  "}, kCu + L"Name  ", either, false, false},
    };
    for (const auto& [words, path, kind, help, clipboard] : rows) {
        const JumpSettings& s = Built(words);
        SCOPED_TRACE(words[0]);
        EXPECT_EQ(path, s.jumpPath);
        EXPECT_EQ(kind, s.jumpKind);
        EXPECT_EQ(help, s.showHelp);
        EXPECT_EQ(clipboard, s.pathFromClipboard);
    }
}

// Each switch in any case and either form sets its own flag and no other. The bitness
// switches and their default are the end-to-end tests', with editors of both.
TEST(CommandLine, EachFlagSwitchSetsItsOwnFlag) {
    using Flag = bool JumpSettings::*;
    const Flag tw = &JumpSettings::terminateOtherWaitingInstances,
               tb = &JumpSettings::terminateIfOtherInstanceIsBlocking, m = &JumpSettings::useMultipleInstancesOfRegedit,
               append = &JumpSettings::appendLog;
    const std::pair<const wchar_t*, Flag> rows[] = {
        {L"-tw", tw},
        {L"-TerminateOtherWaitingInstances", tw},
        {L"-TB", tb},
        {L"-terminateifotherinstanceisblocking", tb},
        {L"-m", m},
        {L"-usemultipleinstancesofregedit", m},
        {L"-AppendLog", append},
    };
    for (const auto& [word, flag] : rows) {
        const Built s({word});
        for (const Flag each : {tw, tb, m, append}) EXPECT_EQ(each == flag, s.*each) << word;
    }
}

// The later of two values wins, its name in any case, its text as given but for blanks around it.
TEST(CommandLine, TheLogFileAndTheWaitTimeout) {
    const Built logged({L"-logtofile=first.log", L"-LOGTOFILE= C:\\A b.LOG \t"});
    EXPECT_TRUE(logged.logToFile);
    EXPECT_EQ(L"C:\\A b.LOG", logged.logFilePath);
    EXPECT_EQ(3000u, logged.waitTimeoutMs);
    EXPECT_EQ(0u, Built({L"-waittimeout"}).waitTimeoutMs);
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
// number beyond 32 bits is 0, signed or not (no number at all, and 0, are the end-to-end tests').
TEST(WaitTimeout, ReadsLikeAnUnsignedStreamExtraction) {
    const std::pair<const wchar_t*, std::uint32_t> rows[] = {
        {L"  1500  ", 1500},          {L"2500ms", 2500},   {L"-1", 4294967295u},
        {L"4294967295", 4294967295u}, {L"+7", 7},          {L"4294967296", 0},
        {L"-4294967295", 1},          {L"-4294967296", 0}, {L"-", 0},
    };
    for (const auto& [text, expected] : rows) EXPECT_EQ(expected, readWaitTimeout(text)) << text;
}
