#include <gtest/gtest.h>

#include <tuple>

#include "app/jump_settings.h"

using namespace hivescout;

const std::wstring kCu = L"HKEY_CURRENT_USER\\", kLm = L"HKEY_LOCAL_MACHINE\\";
const JumpKind key = JumpKind::Key, value = JumpKind::Value, either = JumpKind::KeyOrValue;

// A fresh record built from words; the first word is the program's path.
struct Built : JumpSettings {
    explicit Built(std::vector<std::wstring> words) {
        words.insert(words.begin(), L"C:\\Tools\\hivescout.exe");
        buildJumpSettingsFromWords(*this, words);
    }
};

// No words, and bare words joined by a blank (a value's name holding one), are the end-to-end tests'.
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
        {{L"-Clipboard", L"hklm\\Software"}, L"", either, false, true},
        // Value over key over key-or-value over the clipboard, whatever the order.
        {{L"-jumptokey=hklm\\A", L"-jumpto=hklm\\B"}, kLm + L"A", key, false, false},
        {{L"-jumpto=x", L"-jumptokey=hklm\\K", L"-jumptovalue=hkcu\\V"}, kCu + L"V", value, false, false},
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

// The long forms of the switches whose short forms (and the bitness switches) the end-to-end tests use. Of a
// value given twice the later wins, its name in any case, its text as given but for blanks around it.
TEST(CommandLine, TheLongFormsAndTheValuesOfTheOtherSwitches) {
    EXPECT_TRUE(Built({L"-TerminateOtherWaitingInstances"}).terminateOtherWaitingInstances);
    EXPECT_TRUE(Built({L"-terminateifotherinstanceisblocking"}).terminateIfOtherInstanceIsBlocking);
    EXPECT_TRUE(Built({L"-usemultipleinstancesofregedit"}).useMultipleInstancesOfRegedit);
    const Built logged({L"-logtofile=first.log", L"-LOGTOFILE= C:\\A b.LOG \t"});
    EXPECT_EQ(L"C:\\A b.LOG", logged.logFilePath);
    EXPECT_EQ(3000u, logged.waitTimeoutMs);
    EXPECT_EQ(0u, Built({L"-waittimeout"}).waitTimeoutMs);
}

// The system's quoting rules split the text (quoted jump switches: end to end); "=abc" has an empty name and value.
TEST(CommandLine, TheWholeTextIsSplitWithTheSystemQuotingRules) {
    JumpSettings s(L"\"C:\\Program Files\\Hive scout.exe\" -tb");
    EXPECT_EQ(L"Hive scout.exe", s.programFileName);
    EXPECT_TRUE(s.terminateIfOtherInstanceIsBlocking);
    EXPECT_FALSE(parseSwitchWord(s, L"=abc"));
    EXPECT_TRUE(s.switches.count(L"") && s.switches[L""].empty());
}

// As an unsigned stream extraction: the sign negates modulo 2^32 what was read, and a number beyond 32 bits is 0,
// signed or not (no number at all, and 0, are the end-to-end tests').
TEST(WaitTimeout, ReadsLikeAnUnsignedStreamExtraction) {
    EXPECT_EQ(1500u, readWaitTimeout(L"  1500  "));
    EXPECT_EQ(2500u, readWaitTimeout(L"2500ms"));
    EXPECT_EQ(4294967295u, readWaitTimeout(L"-1"));
    EXPECT_EQ(4294967295u, readWaitTimeout(L"4294967295"));
    EXPECT_EQ(7u, readWaitTimeout(L"+7"));
    EXPECT_EQ(0u, readWaitTimeout(L"4294967296"));
    EXPECT_EQ(1u, readWaitTimeout(L"-4294967295"));
    EXPECT_EQ(0u, readWaitTimeout(L"-4294967296"));
    EXPECT_EQ(0u, readWaitTimeout(L"-"));
}
