#include "regedit/regedit_instance.h"

namespace hivescout {

RegeditInstance regeditInstance;

}  // namespace hivescout
