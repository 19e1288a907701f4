#include "tools/standin/knobs.h"

#include <cwchar>
#include <string>

#include "tools/standin/standin_channel.h"

namespace {

std::wstring readText(const wchar_t* name) {
    wchar_t buffer[64] = {};
    const DWORD length = ::GetEnvironmentVariableW(name, buffer, static_cast<DWORD>(std::size(buffer)));
    if (length == 0 || length >= std::size(buffer)) return std::wstring();
    return buffer;
}

DWORD readNumber(const wchar_t* name) {
    const std::wstring text = readText(name);
    return text.empty() ? 0 : static_cast<DWORD>(std::wcstoul(text.c_str(), nullptr, 10));
}

bool readSwitch(const wchar_t* name) { return readNumber(name) != 0; }

}  // namespace

Knobs readKnobs() {
    using namespace standin::knob;
    Knobs knobs;
    knobs.windowDelayMs = readNumber(kWindowDelayMs);
    knobs.controlsDelayMs = readNumber(kControlsDelayMs);
    knobs.twoChildren = readSwitch(kTwoChildren);
    const std::wstring placement = readText(kListPlacement);
    if (_wcsicmp(placement.c_str(), L"none") == 0) knobs.listPlacement = ListPlacement::None;
    else if (_wcsicmp(placement.c_str(), L"before") == 0) knobs.listPlacement = ListPlacement::BeforeTree;
    const std::wstring second = readText(kSecondWindow);
    if (_wcsicmp(second.c_str(), L"before") == 0) knobs.secondWindow = SecondWindow::Before;
    else if (_wcsicmp(second.c_str(), L"after") == 0) knobs.secondWindow = SecondWindow::After;
    knobs.itemReadDelayMs = readNumber(kItemReadDelayMs);
    knobs.listFillDelayMs = readNumber(kListFillDelayMs);
    knobs.exitAfterMs = readNumber(kExitAfterMs);
    knobs.exitAfterMessages = readNumber(kExitAfterMessages);
    const std::wstring itemRead = readText(kExitOnItemRead);
    knobs.exitOnListRead = itemRead.compare(0, 5, L"list:") == 0;
    if (itemRead.size() > 5) knobs.exitOnItemRead = static_cast<DWORD>(std::wcstoul(itemRead.c_str() + 5, nullptr, 10));
    return knobs;
}
