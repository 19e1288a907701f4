#pragma once
#include <windows.h>

// The window framework's module state: the module that holds the dialog template, the
// icon and the rich-edit control. Set up by the main flow before any window is shown.
HRESULT initialiseWindowModule(HINSTANCE instance);
void shutdownWindowModule();
