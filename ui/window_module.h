#pragma once
#include <windows.h>

namespace hivescout {

class DialogWindow;

// The window framework's module state: the module that holds the dialog template, the
// icon and the rich-edit control, and the dialog objects whose modal run is starting,
// each with the thread that runs it. Set up by the main flow before any window is shown.
HRESULT initialiseWindowModule(HINSTANCE instance);
void shutdownWindowModule();

// The program's module; the executable's own module when the state is not set up.
HINSTANCE windowModuleInstance();

// A modal run announces its dialog object for the calling thread; false when it cannot.
bool announceDialog(DialogWindow* dialog);
// The dialog's first message takes its own thread's object back; null when there is none.
DialogWindow* takeAnnouncedDialog();

}  // namespace hivescout
