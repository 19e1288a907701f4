#include <gtest/gtest.h>
#include <memory>

#include "app/copied_path.h"
#include "app/jump_settings.h"
#include "base/text_folding.h"

using namespace hivescout;

namespace {

// Builds a fresh record from words; the first word is the program's path.
struct Built {
    JumpSettings settings;
    explicit Built(std::vector<std::wstring> words) { buildJumpSettingsFromWords(settings, words); }
};

std::unique_ptr<Built> build(std::vector<std::wstring> arguments) {
    arguments.insert(arguments.begin(), L"C:\\Tools\\hivescout.exe");
    return std::make_unique<Built>(arguments);
}

}  // namespace

TEST(CommandLine, EmptyArgumentListAsksForHelp) {
    auto b = build({});
    EXPECT_TRUE(b->settings.showHelp);
    EXPECT_EQ(L"", b->settings.jumpPath);
    EXPECT_EQ(L"hivescout.exe", b->settings.programFileName);
    EXPECT_EQ(L"C:\\Tools\\hivescout.exe", b->settings.programPath);
}

TEST(CommandLine, HelpSwitchesInAnyCaseKeepReadingTheRest) {
    for (const wchar_t* help : {L"/?", L"?", L"--HELP", L"-Help"}) {
        auto b = build({help, L"-jumptokey=hkcu\\Software", L"-tb"});
        EXPECT_TRUE(b->settings.showHelp) << help;
        EXPECT_EQ(L"HKEY_CURRENT_USER\\Software", b->settings.jumpPath) << help;
        EXPECT_EQ(JumpKind::Key, b->settings.jumpKind);
        EXPECT_TRUE(b->settings.terminateIfOtherInstanceIsBlocking);
    }
}

TEST(CommandLine, BareWordsAreJoinedBySingleSpaces) {
    auto b = build({L"hklm\\Software\\My", L"Key"});
    EXPECT_EQ(L"HKEY_LOCAL_MACHINE\\Software\\My Key", b->settings.jumpPath);
    EXPECT_EQ(JumpKind::KeyOrValue, b->settings.jumpKind);
    EXPECT_FALSE(b->settings.showHelp);
}

TEST(CommandLine, UnrecognisedSwitchBecomesPartOfTheBarePath) {
    auto b = build({L"-unknown=1", L"hkcu\\x"});
    EXPECT_EQ(L"-unknown=1 hkcu\\x", b->settings.jumpPath);
}

TEST(CommandLine, EmptyQuotedWordGivesEmptyPathAndNoHelp) {
    auto b = build({L""});
    EXPECT_FALSE(b->settings.showHelp);
    EXPECT_EQ(L"", b->settings.jumpPath);
}

TEST(CommandLine, RecognisedSwitchMakesBareWordsIgnored) {
    auto b = build({L"-m", L"hklm\\Software"});
    EXPECT_EQ(L"", b->settings.jumpPath);
    EXPECT_EQ(1u, b->settings.useMultipleInstancesOfRegedit);

    auto clipboard = build({L"-Clipboard", L"hklm\\Software"});
    EXPECT_EQ(L"", clipboard->settings.jumpPath);
    EXPECT_TRUE(clipboard->settings.pathFromClipboard);
    EXPECT_FALSE(clipboard->settings.showHelp);

    auto unquoted = build({L"-jumpto=hklm\\Software\\My", L"Key"});
    EXPECT_EQ(L"HKEY_LOCAL_MACHINE\\Software\\My", unquoted->settings.jumpPath);
}

TEST(CommandLine, JumpSwitchPrecedenceIgnoresOrder) {
    auto b = build({L"-jumptokey=hklm\\A", L"-jumpto=hklm\\B"});
    EXPECT_EQ(L"HKEY_LOCAL_MACHINE\\A", b->settings.jumpPath);
    EXPECT_EQ(JumpKind::Key, b->settings.jumpKind);

    auto v = build({L"-jumptovalue=hkcu\\V", L"-jumptokey=hklm\\K", L"-jumpto=x"});
    EXPECT_EQ(L"HKEY_CURRENT_USER\\V", v->settings.jumpPath);
    EXPECT_EQ(JumpKind::Value, v->settings.jumpKind);

    auto overClipboard = build({L"-clipboard", L"-jumptokey="});
    EXPECT_FALSE(overClipboard->settings.pathFromClipboard);
}

TEST(CommandLine, SwitchNamesAreCaseInsensitiveAndValuesKeepCase) {
    auto b = build({L"-JumpToValue=HKCU\\Software\\MiXed", L"-LOGTOFILE=C:\\Log.TXT", L"-AppendLog"});
    EXPECT_EQ(L"HKEY_CURRENT_USER\\Software\\MiXed", b->settings.jumpPath);
    EXPECT_EQ(L"C:\\Log.TXT", b->settings.logFilePath);
    EXPECT_TRUE(b->settings.logToFile);
    EXPECT_TRUE(b->settings.appendLog);
}

TEST(CommandLine, JumpValuesKeepTrailingBlanksOthersAreTrimmed) {
    auto b = build({L" -jumpto =  hkcu\\Name  ", L"-logtofile= C:\\a b.log \t"});
    EXPECT_EQ(L"HKEY_CURRENT_USER\\Name  ", b->settings.jumpPath);
    EXPECT_EQ(L"C:\\a b.log", b->settings.logFilePath);
}

TEST(CommandLine, LaterSwitchWins) {
    auto b = build({L"-logtofile=first.log", L"-logtofile=second.log"});
    EXPECT_EQ(L"second.log", b->settings.logFilePath);
}

TEST(CommandLine, WordStartingWithEqualsIsAnEmptyNameAndValue) {
    JumpSettings s;
    EXPECT_FALSE(parseSwitchWord(s, L"=abc"));
    ASSERT_EQ(1u, s.switches.count(L""));
    EXPECT_EQ(L"", s.switches[L""]);
    EXPECT_TRUE(parseSwitchWord(s, L"-tb"));
    EXPECT_EQ(L"", s.switches[L"-tb"]);
}

TEST(CommandLine, BitnessCombinations) {
    auto none = build({L"-m"});
    EXPECT_EQ(0u, none->settings.use32BitRegedit);
    EXPECT_EQ(1u, none->settings.use64BitRegedit);
    auto x86 = build({L"-x86"});
    EXPECT_EQ(1u, x86->settings.use32BitRegedit);
    EXPECT_EQ(0u, x86->settings.use64BitRegedit);
    auto x64 = build({L"-Use64BitRegedit"});
    EXPECT_EQ(0u, x64->settings.use32BitRegedit);
    EXPECT_EQ(1u, x64->settings.use64BitRegedit);
    auto both = build({L"-32bit", L"-x64"});
    EXPECT_EQ(0u, both->settings.use32BitRegedit);
    EXPECT_EQ(0u, both->settings.use64BitRegedit);
    // A bitness switch alone is recognised, so bare words are not a path.
    EXPECT_EQ(L"", x86->settings.jumpPath);
}

TEST(CommandLine, OtherSwitchesAndTheirShortForms) {
    auto b = build({L"-tw", L"-tb", L"-m", L"-jumpto=hku"});
    EXPECT_EQ(1u, b->settings.terminateOtherWaitingInstances);
    EXPECT_TRUE(b->settings.terminateIfOtherInstanceIsBlocking);
    EXPECT_EQ(1u, b->settings.useMultipleInstancesOfRegedit);
    EXPECT_EQ(L"HKEY_USERS", b->settings.jumpPath);
    auto l = build({L"-terminateotherwaitinginstances", L"-terminateifotherinstanceisblocking",
                    L"-usemultipleinstancesofregedit"});
    EXPECT_EQ(1u, l->settings.terminateOtherWaitingInstances);
    EXPECT_TRUE(l->settings.terminateIfOtherInstanceIsBlocking);
    EXPECT_EQ(1u, l->settings.useMultipleInstancesOfRegedit);
    EXPECT_EQ(3000u, l->settings.waitTimeoutMs);
}

TEST(WaitTimeout, ReadsLikeAnUnsignedStreamExtraction) {
    EXPECT_EQ(1500u, readWaitTimeout(L"  1500  "));
    EXPECT_EQ(2500u, readWaitTimeout(L"2500ms"));
    EXPECT_EQ(4294967295u, readWaitTimeout(L"-1"));
    EXPECT_EQ(4294967295u, readWaitTimeout(L"4294967295"));
    EXPECT_EQ(7u, readWaitTimeout(L"+7"));
    EXPECT_EQ(0u, readWaitTimeout(L"4294967296"));
    // The sign negates modulo 2^32 what was read; a number beyond 32 bits is 0 signed or not.
    EXPECT_EQ(1u, readWaitTimeout(L"-4294967295"));
    EXPECT_EQ(0u, readWaitTimeout(L"-4294967296"));
    EXPECT_EQ(0u, readWaitTimeout(L"abc"));
    EXPECT_EQ(0u, readWaitTimeout(L""));
    EXPECT_EQ(0u, readWaitTimeout(L"-"));
}

TEST(WaitTimeout, SwitchWithoutValueGivesZero) {
    auto b = build({L"-waittimeout"});
    EXPECT_EQ(0u, b->settings.waitTimeoutMs);
    auto c = build({L"-waittimeout= 1500 "});
    EXPECT_EQ(1500u, c->settings.waitTimeoutMs);
}

TEST(Normalisation, CopiedFormsBecomePlainAndPlainPathsKeepTheirMeaning) {
    const struct {
        const wchar_t* given;
        const wchar_t* expected;
    } rows[] = {
        // Plain paths: blanks, controls and backslashes around them, short roots expanded.
        {L"\\ HKU\\S-1-5-18\\\\", L"HKEY_USERS\\S-1-5-18"},
        {L" \\ \t\\\\", L""},
        {L"\b\r\n\thkcc\\System\\", L"HKEY_CURRENT_CONFIG\\System"},
        {L"hkCR", L"HKEY_CLASSES_ROOT"},
        {L"Hkcu\\SoftWare\\HKLM", L"HKEY_CURRENT_USER\\SoftWare\\HKLM"},
        {L"hkey_local_machine\\x", L"hkey_local_machine\\x"},
        {L"HKLMX\\y", L"HKLMX\\y"},
        {L"hkcu\\Name  ", L"HKEY_CURRENT_USER\\Name  "},
        {L"HKEY_CLASSES_ROOT\\MIME\\Database\\Content Type\\text/plain",
         L"HKEY_CLASSES_ROOT\\MIME\\Database\\Content Type\\text/plain"},
        {L"HKLM\\HKCU\\x", L"HKEY_LOCAL_MACHINE\\HKCU\\x"},
        {L"HKLM\\REGISTRY\\MACHINE", L"HKEY_LOCAL_MACHINE\\REGISTRY\\MACHINE"},
        {L"HKCU\\[x]", L"HKEY_CURRENT_USER\\[x]"},
        // The editor's address bar or a status bar: a computer's name before a root key.
        {L"Computer\\HKEY_CURRENT_USER\\Software", L"HKEY_CURRENT_USER\\Software"},
        {L"My Computer\\HKEY_USERS\\.DEFAULT", L"HKEY_USERS\\.DEFAULT"},
        {L"Arbeitsplatz\\hklm\\Software", L"HKEY_LOCAL_MACHINE\\Software"},
        {L"Computer\\Software\\HKCU", L"Computer\\Software\\HKCU"},
        // PowerShell drives and provider paths.
        {L"HKCU:\\Software", L"HKEY_CURRENT_USER\\Software"},
        {L"HKLM:\\SOFTWARE\\Microsoft", L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft"},
        {L"hku:", L"HKEY_USERS"},
        {L"HKLMX:\\x", L"HKLMX:\\x"},
        {L"Registry::HKEY_CURRENT_USER\\Software", L"HKEY_CURRENT_USER\\Software"},
        {L"Microsoft.PowerShell.Core\\Registry::HKCU\\Software", L"HKEY_CURRENT_USER\\Software"},
        {L"microsoft.powershell.core\\REGISTRY::hkcu\\Software", L"HKEY_CURRENT_USER\\Software"},
        {L"Reg\u0130stry::HKCU\\x", L"Reg\u0130stry::HKCU\\x"},
        // .reg files.
        {L"[HKEY_CURRENT_USER\\Software\\App]", L"HKEY_CURRENT_USER\\Software\\App"},
        {L"[-HKEY_CURRENT_USER\\Software\\Old]", L"HKEY_CURRENT_USER\\Software\\Old"},
        {L"[HKCU\\Software\\App", L"[HKCU\\Software\\App"},
        // Kernel and event-trace paths.
        {L"\\REGISTRY\\MACHINE\\SOFTWARE", L"HKEY_LOCAL_MACHINE\\SOFTWARE"},
        {L"\\Registry\\User\\S-1-5-18\\Software", L"HKEY_USERS\\S-1-5-18\\Software"},
        {L"\\registry\\machine", L"HKEY_LOCAL_MACHINE"},
        {L"\\REGISTRY\\MACHINEX\\y", L"REGISTRY\\MACHINEX\\y"},
        // Anything pasted: quotes around it, a line end after it; blanks inside stay.
        {L"\"HKCU\\Software\\App\"", L"HKEY_CURRENT_USER\\Software\\App"},
        {L"HKCU\\Software\\App\r\n", L"HKEY_CURRENT_USER\\Software\\App"},
        {L" \"Computer\\HKEY_CURRENT_USER\\Name  \"\r\n", L"HKEY_CURRENT_USER\\Name  "},
        {L"\"HKCU\\Software", L"\"HKCU\\Software"},
    };
    for (const auto& row : rows) {
        std::wstring path = row.given;
        normaliseJumpPath(path);
        EXPECT_EQ(row.expected, path) << row.given;
    }
}

TEST(Normalisation, FirstNonEmptyLineOfPastedText) {
    EXPECT_EQ(L"HKCU\\A  ", firstNonEmptyLine(L"\r\n \t\r\nHKCU\\A  \r\nHKLM\\B"));
    EXPECT_EQ(L"x", firstNonEmptyLine(L"\n\rx"));
    EXPECT_EQ(L"", firstNonEmptyLine(L" \r\n\t"));
    EXPECT_EQ(L"", firstNonEmptyLine(L""));
}

TEST(Folding, OnlyAsciiLettersChange) {
    EXPECT_EQ(L"abc\u00C4\u00E4xyz[", foldToLower(L"ABC\u00C4\u00E4xYZ["));
    EXPECT_EQ(L"ABC\u00E4@", foldToUpper(L"abc\u00E4@"));
}

TEST(CommandLineText, SplitsWithTheSystemQuotingRules) {
    JumpSettings s(L"\"C:\\Program Files\\Hive scout.exe\" \"-jumpto=hkcu\\A B  \" -tb");
    EXPECT_EQ(L"Hive scout.exe", s.programFileName);
    EXPECT_EQ(L"HKEY_CURRENT_USER\\A B  ", s.jumpPath);
    EXPECT_TRUE(s.terminateIfOtherInstanceIsBlocking);
}

TEST(CommandLineText, EmptyTextBehavesAsAnEmptyCommandLine) {
    JumpSettings s(L"");
    EXPECT_TRUE(s.showHelp);
    EXPECT_EQ(L"", s.programPath);
}
