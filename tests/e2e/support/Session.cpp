#include "support/Session.h"

#include "support/CleanExit.h"
#include "support/Mouse.h"
#include "support/PopupPlace.h"
#include "support/Screen.h"

#include <stdexcept>

namespace e2e {

bool IsHidden(const Box& box) {
    return box == Box{0, 0, 0, 0} || IsSliver(box);
}

Session::Session(const std::optional<std::string>& settings, const Prepare& prepare)
    : m_install(settings ? std::make_unique<TestInstall>(*settings)
                         : std::make_unique<TestInstall>()) {
    if (prepare) {
        prepare(*m_install);
    }
    ParkCursor();
    m_program = std::make_unique<RunningProgram>(*m_install);
    m_main = m_program->WaitForMainWindow();
    if (m_main == nullptr) {
        throw std::runtime_error("the program's main window did not come up");
    }
    // The program's tray icon brings Wine's tray window up at (0, 0).
    const testing::AssertionResult trayAway = MoveWineSystemTrayAway();
    if (!trayAway) {
        throw std::runtime_error(trayAway.message());
    }
}

Session::~Session() {
    if (!m_exited && m_program->IsRunning()) {
        Exit();
    }
}

void Session::Exit() {
    m_exited = true;
    ExitCleanly(*m_program);
}

int Session::WaitForRest(int width) const {
    Box box;
    const bool rests = WaitUntil([&] {
        box = WindowBox(m_main);
        return width == 0 ? IsAtRest(box) : box == PopupAtRest(width);
    });
    return rests ? box.width : 0;
}

testing::AssertionResult Session::WaitUntilStill() const {
    if (WaitUntil([&] { return m_program->AnimationThreads() == 0; })) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure()
           << m_program->AnimationThreads() << " animation threads still run; the pop-up is at "
           << WindowBox(m_main);
}

testing::AssertionResult Session::WaitForHidden() const {
    if (!WaitUntil([&] { return IsHidden(WindowBox(m_main)); })) {
        return testing::AssertionFailure() << "the pop-up did not hide: " << WindowBox(m_main);
    }
    return WaitUntilStill();
}

testing::AssertionResult Session::HideNow() const {
    const bool started = WaitUntil(
        [&] {
            if (WindowBox(m_main).height < kPopupAtRest.height) {
                return true;
            }
            m_program->SendCommand(kCommandToggle);
            return false;
        },
        kGenerousMs, 50);
    if (!started) {
        return testing::AssertionFailure()
               << "the pop-up did not start to hide: " << WindowBox(m_main);
    }
    return WaitForHidden();
}

testing::AssertionResult Session::PollShowsNothing() const {
    const Box before = WindowBox(m_main);
    if (!m_program->TickPoll()) {
        return testing::AssertionFailure() << "the poll did not return";
    }
    const int animations = m_program->AnimationThreads();
    const Box after = WindowBox(m_main);
    if (animations != 0 || after != before) {
        return testing::AssertionFailure()
               << "the poll started " << animations << " animations; the pop-up went from "
               << before << " to " << after;
    }
    return testing::AssertionSuccess();
}

} // namespace e2e
