#include "support/CleanExit.h"

#include <gtest/gtest.h>

#include <optional>

namespace e2e {

void ExitCleanly(RunningProgram& program) {
    program.PostCommand(kCommandExit);
    const std::optional<DWORD> code = program.WaitForExit();
    ASSERT_TRUE(code.has_value()) << "the program did not end after Exit";
    EXPECT_EQ(*code, 0u) << std::hex << "exit code 0x" << *code;
}

} // namespace e2e
