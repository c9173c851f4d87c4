#include "support/ScreenTurn.h"

namespace e2e {

void ScreenTurn::SetUp() {
    m_turn.Reset(CreateMutexA(nullptr, FALSE, "Trackglow end-to-end screen turn"));
    // Abandoned by a program that was killed: the turn is ours all the same.
    WaitForSingleObject(m_turn.Get(), 5 * 60 * 1000);
}

void ScreenTurn::TearDown() {
    ReleaseMutex(m_turn.Get());
}

} // namespace e2e
