// The end most tests give the program: its own Exit command.
#pragma once

#include "support/RunningProgram.h"

namespace e2e {

// Posts the Exit command and expects the program to end in time with exit
// code 0 (a GoogleTest failure otherwise).
void ExitCleanly(RunningProgram& program);

} // namespace e2e
