#include "regedit/regedit_instance.h"

RegeditInstance regeditInstance;
