// The running program and a fake Winamp: which titles bring the pop-up up,
// the setting that switches watching Winamp on, and the Previous and Next
// commands the pop-up's buttons send — also to a player that has gone or
// hangs. Only the pop-up's rectangle and the commands are looked at here.
#include "support/CleanExit.h"
#include "support/E2e.h"
#include "support/Mouse.h"
#include "support/PopupPlace.h"
#include "support/ScreenTurn.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

using namespace e2e;

namespace {

// This program brings the pop-up up: it takes its turn on the screen.
[[maybe_unused]] testing::Environment* const kScreenTurn =
    testing::AddGlobalTestEnvironment(new ScreenTurn);

// Long enough for at least two polls (300 ms apart) to see a change.
constexpr DWORD kTwoPolls = 800;

std::string Settings(const std::string& keyLines) {
    return "[PREFERENCES]\r\nskin=Default Skin 1\r\n" + keyLines + "\r\n";
}

const std::string kWatchWinamp = Settings("enwinamp=1\r\nenwmp=0\r\n");

bool Untouched(const Box& b) {
    return b == Box{0, 0, 0, 0};
}

// Records the pop-up's rectangle for two polls and expects it not to move.
void ExpectNoMoveFor(HWND main, const std::string& what) {
    SCOPED_TRACE(what);
    const Box before = WindowBox(main);
    GeometryTrace trace(main);
    trace.RecordFor(kTwoPolls);
    EXPECT_EQ(trace.Boxes(), std::vector<Box>{before}) << Describe(trace.Boxes());
}

// Waits for the pop-up to come to rest and returns its width (0 if it never did).
int WaitForRest(HWND main) {
    GeometryTrace trace(main);
    return trace.RecordUntil(IsAtRest, kGenerousMs) ? trace.Last().width : 0;
}

// Clicks on the pop-up's Previous and Next buttons (a pop-up W wide), posted
// as the system delivers a click to the window under the cursor.
void ClickPrevious(HWND main, int width) {
    PostClick(main, POINT{width - 14, 14});
}
void ClickNext(HWND main, int width) {
    PostClick(main, POINT{width - 14, 33});
}

// A Winamp whose thread stops handling messages as soon as its window
// exists, until Release: a hung player.
class HungWinamp {
  public:
    explicit HungWinamp(const std::string& title)
        : m_created(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
          m_release(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
        m_thread = std::thread([this, title] {
            FakeWinamp fake(title);
            SetEvent(m_created.Get());
            WaitForSingleObject(m_release.Get(), INFINITE);
            // Awake again: whatever was sent meanwhile is handled now.
            PumpFor(500);
            m_received = fake.CommandIds();
        });
        WaitForSingleObject(m_created.Get(), kGenerousMs);
    }
    ~HungWinamp() { Release(); }
    HungWinamp(const HungWinamp&) = delete;
    HungWinamp& operator=(const HungWinamp&) = delete;

    // Lets the thread handle its messages, ends it and returns the commands
    // it received.
    std::vector<WPARAM> Release() {
        if (m_thread.joinable()) {
            SetEvent(m_release.Get());
            m_thread.join();
        }
        return m_received;
    }

  private:
    UniqueHandle m_created;
    UniqueHandle m_release;
    std::thread m_thread;
    std::vector<WPARAM> m_received;
};

} // namespace

TEST(Winamp, PausedStoppedIdleAndRepeatedTitlesShowNothing) {
    TestInstall install(kWatchWinamp);
    RunningProgram program(install);
    HWND main = program.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    ParkCursor();

    const std::string playing = "1. Artist - Song - Winamp";
    auto winamp = std::make_unique<FakeWinamp>(playing);
    ASSERT_GT(WaitForRest(main), 0) << WindowBox(main);

    // While it is up, the same title again, paused or stopped changes nothing.
    for (const std::string& title :
         {playing + " [Paused]", playing, playing + " [Stopped]", std::string("Winamp 5.94")}) {
        winamp->SetTitle(title);
        ExpectNoMoveFor(main, "up, title " + title);
    }

    // Hidden, neither does any of them; nor Winamp closing and coming back
    // with the same track.
    winamp->SetTitle(playing);
    program.PostCommand(kCommandToggle);
    ASSERT_TRUE(WaitUntil([&] { return IsSliver(WindowBox(main)); })) << WindowBox(main);
    for (const std::string& title :
         {playing + " [Paused]", playing, playing + " [Stopped]", std::string("Winamp 5.94"),
          std::string("Winamp 2.95 [Stopped]"), playing}) {
        winamp->SetTitle(title);
        ExpectNoMoveFor(main, "hidden, title " + title);
    }
    winamp.reset();
    ExpectNoMoveFor(main, "no Winamp");
    winamp = std::make_unique<FakeWinamp>(playing);
    ExpectNoMoveFor(main, "Winamp back with the same title");

    // All the while the program was polling: the next track comes up.
    winamp->SetTitle("2. Artist - Another Song - Winamp");
    ASSERT_GT(WaitForRest(main), 0) << WindowBox(main);

    // A track arriving while the pop-up collapses brings it back, and the
    // collapse it interrupted leaves it alone: it rests, and later hides on
    // its own as usual.
    program.PostCommand(kCommandToggle);
    GeometryTrace trace(main);
    ASSERT_TRUE(trace.RecordUntil([](const Box& b) { return b.height < kPopupAtRest.height; },
                                  kGenerousMs));
    winamp->SetTitle("3. Artist - Third Song - Winamp");
    trace.Clear();
    ASSERT_TRUE(trace.RecordUntil(IsAtRest, kGenerousMs)) << Describe(trace.Boxes());
    trace.Clear();
    trace.RecordFor(kTwoPolls);
    EXPECT_EQ(trace.Boxes().size(), 1u) << Describe(trace.Boxes());
    EXPECT_TRUE(trace.RecordUntil(IsSliver, kGenerousMs)) << "it never hid again";

    ExitCleanly(program);
}

TEST(Winamp, OnlyTheSettingOneWatchesWinamp) {
    struct Instance {
        const char* name;
        std::unique_ptr<TestInstall> install;
        std::unique_ptr<RunningProgram> program;
        HWND main = nullptr;
    };
    Instance instances[] = {
        {"enwinamp=1", std::make_unique<TestInstall>(Settings("enwinamp=1\r\n")), nullptr},
        {"enwinamp=0", std::make_unique<TestInstall>(Settings("enwinamp=0\r\nenwmp=0\r\n")),
         nullptr},
        {"enwinamp=2", std::make_unique<TestInstall>(Settings("enwinamp=2\r\nenwmp=0\r\n")),
         nullptr},
        {"no enwinamp", std::make_unique<TestInstall>(Settings("enwmp=0\r\n")), nullptr},
    };
    // Side by side, so one title change reaches them all at once.
    for (Instance& instance : instances) {
        instance.program = std::make_unique<RunningProgram>(*instance.install);
    }
    for (Instance& instance : instances) {
        instance.main = instance.program->WaitForMainWindow();
        ASSERT_NE(instance.main, nullptr) << instance.name;
    }
    ParkCursor();

    FakeWinamp winamp("4. Artist - Song - Winamp");
    EXPECT_GT(WaitForRest(instances[0].main), 0) << "the watching instance showed nothing";
    // Two more polls for the others.
    PumpFor(kTwoPolls);
    for (const Instance& instance : instances) {
        if (&instance != &instances[0]) {
            EXPECT_TRUE(Untouched(WindowBox(instance.main)))
                << instance.name << ": " << WindowBox(instance.main);
        }
    }
    for (Instance& instance : instances) {
        SCOPED_TRACE(instance.name);
        ExitCleanly(*instance.program);
    }
}

TEST(Winamp, PreviousAndNextReachWinampOnlyOnceItReportedATrack) {
    TestInstall install(kWatchWinamp);
    RunningProgram program(install);
    HWND main = program.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    ParkCursor();
    auto winamp = std::make_unique<FakeWinamp>("Winamp 5.94");

    // Before any track, the pop-up shown on demand has nothing to forward.
    program.PostCommand(kCommandToggle);
    const int empty = WaitForRest(main);
    ASSERT_EQ(empty, 317) << WindowBox(main);
    ClickPrevious(main, empty);
    ClickNext(main, empty);
    PumpFor(kTwoPolls);
    EXPECT_TRUE(winamp->Commands().empty());

    // A track: the buttons send Winamp's commands, each once, in order.
    winamp->SetTitle("5. Artist - Song - Winamp");
    GeometryTrace trace(main);
    ASSERT_TRUE(trace.RecordUntil([](const Box& b) { return !IsAtRest(b); }, kGenerousMs));
    const int width = WaitForRest(main);
    ASSERT_GT(width, 0) << WindowBox(main);
    ClickPrevious(main, width);
    ClickNext(main, width);
    ClickNext(main, width);
    ASSERT_TRUE(WaitUntil([&] { return winamp->Commands().size() >= 3; }));
    PumpFor(kTwoPolls);
    EXPECT_EQ(winamp->CommandIds(),
              (std::vector<WPARAM>{kWinampPrevious, kWinampNext, kWinampNext}));
    for (const ReceivedCommand& command : winamp->Commands()) {
        EXPECT_EQ(command.lParam, 0);
    }

    // Winamp gone: nothing to send to, and nothing breaks.
    winamp.reset();
    ClickNext(main, width);
    ClickPrevious(main, width);
    EXPECT_TRUE(program.IsResponsive());

    // A hung Winamp cannot hang the program: the command gives up on it, and
    // a toggle posted after the click is carried out while the player still
    // hangs. (Its title is read without asking it, so its track comes up.)
    HungWinamp hung("6. Artist - Yet Another Song - Winamp");
    trace.Clear();
    ASSERT_TRUE(trace.RecordUntil([](const Box& b) { return !IsAtRest(b); }, kGenerousMs));
    const int hungWidth = WaitForRest(main);
    ASSERT_GT(hungWidth, 0) << WindowBox(main);
    ClickNext(main, hungWidth);
    program.PostCommand(kCommandToggle);
    EXPECT_TRUE(WaitUntil([&] { return IsSliver(WindowBox(main)); }))
        << "the program waits for the hung player: " << WindowBox(main);
    // Whatever reaches it once it wakes up (the platform may have dropped the
    // abandoned message) is that one command.
    for (WPARAM id : hung.Release()) {
        EXPECT_EQ(id, kWinampNext);
    }

    ExitCleanly(program);
}
