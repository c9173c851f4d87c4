// Every program on the display shares the screen, the cursor and the pop-up's
// resting place, so the test programs that bring the pop-up up take turns:
// each registers a ScreenTurn, which holds a system-wide mutex while the
// program's tests run.
//
//   [[maybe_unused]] testing::Environment* const kScreenTurn =
//       testing::AddGlobalTestEnvironment(new ScreenTurn);
#pragma once

#include "support/Handles.h"

#include <gtest/gtest.h>

namespace e2e {

class ScreenTurn : public testing::Environment {
  public:
    void SetUp() override;
    void TearDown() override;

  private:
    UniqueHandle m_turn;
};

} // namespace e2e
