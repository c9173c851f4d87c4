// Changing the running program's skin as a user does: the Preferences
// command, another skin chosen in the dialog's list, OK.
#pragma once

#include "support/RunningProgram.h"

#include <string>

namespace bench {

// Opens Preferences, selects `skin` and presses OK; true once the dialog
// has closed. The program then loads the skin for its pop-up.
bool ChooseSkinInPreferences(const e2e::RunningProgram& program, const std::string& skin);

} // namespace bench
