#include "app/process_state.h"

#include "app/report.h"

// Static initialisation runs these in the order written, before wWinMain; the
// teardown at exit runs in reverse and ends with the settings, which release the lock.
const std::array<RootKeyAlias, 5> rootKeyAliases = {{
    {L"HKLM", L"HKEY_LOCAL_MACHINE"},
    {L"HKCU", L"HKEY_CURRENT_USER"},
    {L"HKCC", L"HKEY_CURRENT_CONFIG"},
    {L"HKCR", L"HKEY_CLASSES_ROOT"},
    {L"HKU", L"HKEY_USERS"},
}};

JumpSettings jumpSettings(::GetCommandLineW());
std::wstring targetKindWord = L"key/value";
std::wstring passedPath;
HANDLE mainThreadHandle = ::OpenThread(THREAD_ALL_ACCESS, FALSE, ::GetCurrentThreadId());
DWORD ownProcessId = ::GetCurrentProcessId();
std::wostringstream reportStream;

StandardStream standardOutput(STD_OUTPUT_HANDLE);
StandardStream standardError(STD_ERROR_HANDLE);
std::wostream* outputStream = &standardOutput;
std::wostream* errorStream = &standardError;

std::atomic<std::uint32_t> exitFlags{0};
