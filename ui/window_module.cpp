#include "ui/window_module.h"

namespace {
HINSTANCE moduleInstance = nullptr;
}

HRESULT initialiseWindowModule(HINSTANCE instance) {
    moduleInstance = instance;
    return S_OK;
}

void shutdownWindowModule() { moduleInstance = nullptr; }
