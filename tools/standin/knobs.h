#pragma once
#include <windows.h>

// The fault knobs of the stand-in, read once from the environment at start (the names
// and their meaning are in standin_channel.h).
enum class ListPlacement { AfterTree, BeforeTree, None };
enum class SecondWindow { None, Before, After };

struct Knobs {
    DWORD windowDelayMs = 0;
    DWORD controlsDelayMs = 0;
    bool twoChildren = false;
    ListPlacement listPlacement = ListPlacement::AfterTree;
    SecondWindow secondWindow = SecondWindow::None;
    DWORD itemReadDelayMs = 0;
    DWORD listFillDelayMs = 0;
    DWORD exitAfterMs = 0;
    DWORD exitAfterMessages = 0;
    bool exitOnListRead = false;  // which control exitOnItemRead counts
    DWORD exitOnItemRead = 0;
};

Knobs readKnobs();
