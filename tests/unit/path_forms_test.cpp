#include <gtest/gtest.h>

#include "app/path_forms.h"

using namespace hivescout;

TEST(Normalisation, CopiedFormsBecomePlainAndPlainPathsKeepTheirMeaning) {
    const std::pair<const wchar_t*, const wchar_t*> rows[] = {
        // Plain paths: blanks, controls and backslashes around them, short roots expanded.
        {L"\\ HKU\\S-1-5-18\\\\", L"HKEY_USERS\\S-1-5-18"},
        {L"\b\r\n\thkcc\\System\\", L"HKEY_CURRENT_CONFIG\\System"},
        {L"hkCR", L"HKEY_CLASSES_ROOT"},
        {L"Hkcu\\SoftWare\\HKLM", L"HKEY_CURRENT_USER\\SoftWare\\HKLM"},
        {L"hkey_local_machine\\x", L"hkey_local_machine\\x"},
        {L"HKLMX\\y", L"HKLMX\\y"},
        {L"HKLM\\REGISTRY\\MACHINE", L"HKEY_LOCAL_MACHINE\\REGISTRY\\MACHINE"},
        {L"HKCU\\[x]", L"HKEY_CURRENT_USER\\[x]"},
        // The editor's address bar or a status bar: a computer's name before a root key.
        {L"Arbeitsplatz\\hklm\\Software", L"HKEY_LOCAL_MACHINE\\Software"},
        {L"Computer\\Software\\HKCU", L"Computer\\Software\\HKCU"},
        // PowerShell drives and provider paths.
        {L"HKCU:\\Software", L"HKEY_CURRENT_USER\\Software"},
        {L"hku:", L"HKEY_USERS"},
        {L"HKLMX:\\x", L"HKLMX:\\x"},
        {L"Registry::HKEY_CURRENT_USER\\Software", L"HKEY_CURRENT_USER\\Software"},
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
        {L" \"Computer\\HKEY_CURRENT_USER\\Name  \"\r\n", L"HKEY_CURRENT_USER\\Name  "},
        {L"\"HKCU\\Software", L"\"HKCU\\Software"},
    };
    for (const auto& [given, expected] : rows) {
        std::wstring path = given;
        normaliseJumpPath(path);
        EXPECT_EQ(expected, path) << given;
    }
}

// Lone line feeds and carriage returns end lines too (CR LF is the end-to-end tests'); blanks at the end stay.
TEST(Normalisation, FirstNonEmptyLineOfPastedText) {
    EXPECT_EQ(L"HKCU\\A  ", firstNonEmptyLine(L"\n \t\rHKCU\\A  \nHKLM\\B"));
}
