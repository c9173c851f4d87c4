// Leaks of the running program, counted from outside: its GDI objects, its
// kernel handles and its windows, after rounds of track changes, skin
// reloads, media player hosts made and torn down, and Preferences dialogs.
//
// Under Wine the platform's own counters (GetGuiResources,
// GetProcessHandleCount) are stubs that answer 0, so the driver counts for
// itself: GDI objects in the program's GDI handle table (which its PEB
// points to), handles in the system's handle list, and windows by
// enumerating them (top-level, children and message-only).
//
// The platform makes things of its own the first time something is used
// (the first Preferences dialog adds some eighty GDI objects of the common
// controls, for good), so each test first runs rounds of what it measures
// until the counts settle, takes them with no animation running (each round
// leaves the pop-up the same: up after a track or a skin, hidden otherwise),
// runs its rounds, lets the last animation end and compares. A few objects are
// made once at a moment no test can choose (the threads library gives a
// lock a kernel event the first time two threads meet at it; the platform
// makes a drawing object on first use), so the counts may end up to
// kMadeOnce above where they were. A leak of one object per round ends up
// thirty or more above.
//
// The poll timer is ticked by the driver (a WM_TIMER with the poll timer's
// identifier, which the program cannot tell from its own), so every track
// change and every player window change is seen at once instead of within
// 300 ms.
#include "support/BitmapFile.h"
#include "support/E2e.h"
#include "support/GdiHandleTable.h"
#include "support/MediaPlayerWindow.h"
#include "support/PopupPlace.h"
#include "support/SkinList.h"
#include "support/Session.h"
#include "tests/fakes/fakewmp/FakeWmpDriver.h"
#include "tests/fakes/fakewmp/FakeWmpRegistration.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

using namespace e2e;

namespace {

constexpr char kPreferencesTitle[] = "Preferences";

// ---------------------------------------------------------------------------
// Counting from outside

// Window DCs (GetDC, BeginPaint) come from the platform's cache, which
// grows by itself up to 64 entries whenever no free one fits (under Wine
// each such display DC brings an object of type 5 along, and its visible
// and clipping regions come and go with painting). Those are counted
// apart: `owned` holds every other GDI object (bitmaps, brushes, fonts,
// memory DCs), `windowDcs` the display DCs; -1 when the table cannot be read.
struct GdiCount {
    int owned = -1;
    int windowDcs = -1;
};

GdiCount CountGdiObjects(HANDLE process) {
    constexpr uint8_t kDc = 0x01, kDisplayDc = 0x01, kRegion = 0x04, kDisplayDcSurface = 0x05;
    const std::optional<std::vector<gditable::Entry>> entries = gditable::ReadGdiObjects(process);
    if (!entries) {
        return GdiCount{};
    }
    GdiCount count{0, 0};
    for (const gditable::Entry& entry : *entries) {
        if (entry.type == kDc && (entry.extType & 0x7F) == kDisplayDc) {
            ++count.windowDcs;
        } else if (entry.type != kRegion && entry.type != kDisplayDcSurface) {
            ++count.owned;
        }
    }
    return count;
}

// Open kernel handles of a process, from the system's list of all handles
// (SystemExtendedHandleInformation). -1 when the list cannot be read.
int CountHandles(DWORD processId) {
    struct Entry {
        void* object;
        ULONG_PTR processId;
        ULONG_PTR handle;
        ULONG access;
        USHORT creatorBackTrace;
        USHORT type;
        ULONG attributes;
        ULONG reserved;
    };
    struct Header {
        ULONG_PTR count;
        ULONG_PTR reserved;
    };
    constexpr ULONG kExtendedHandleInformation = 64;
    constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);

    using QuerySystemFn = LONG(WINAPI*)(ULONG, void*, ULONG, ULONG*);
    const auto query = reinterpret_cast<QuerySystemFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    if (query == nullptr) {
        return -1;
    }
    std::vector<uint8_t> buffer(1 << 20);
    LONG status = 0;
    while ((status = query(kExtendedHandleInformation, buffer.data(),
                           static_cast<ULONG>(buffer.size()), nullptr)) == kInfoLengthMismatch) {
        buffer.resize(buffer.size() * 2);
    }
    if (status != 0) {
        return -1;
    }
    const auto* header = reinterpret_cast<const Header*>(buffer.data());
    const auto* entries = reinterpret_cast<const Entry*>(header + 1);
    int count = 0;
    for (ULONG_PTR i = 0; i < header->count; ++i) {
        if (entries[i].processId == processId) {
            ++count;
        }
    }
    return count;
}

struct WindowCount {
    DWORD processId;
    int count;
};

BOOL CALLBACK CountChild(HWND, LPARAM context) {
    ++reinterpret_cast<WindowCount*>(context)->count;
    return TRUE;
}

void CountWindowAndChildren(HWND window, WindowCount& counter) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == counter.processId) {
        ++counter.count;
        EnumChildWindows(window, CountChild, reinterpret_cast<LPARAM>(&counter));
    }
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM context) {
    CountWindowAndChildren(window, *reinterpret_cast<WindowCount*>(context));
    return TRUE;
}

// Every window of the process: top-level ones, message-only ones (COM's,
// for instance) and all their descendants.
int CountWindows(DWORD processId) {
    WindowCount counter{processId, 0};
    EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&counter));
    for (HWND window = FindWindowExA(HWND_MESSAGE, nullptr, nullptr, nullptr); window != nullptr;
         window = FindWindowExA(HWND_MESSAGE, window, nullptr, nullptr)) {
        CountWindowAndChildren(window, counter);
    }
    return counter.count;
}

// What the tests compare. Window DCs are the platform's cache; they only
// have to stay within it.
struct Counts {
    int gdiObjects = 0;
    int handles = 0;
    int windows = 0;
    int windowDcs = 0;
};

bool operator==(const Counts& a, const Counts& b) {
    return a.gdiObjects == b.gdiObjects && a.handles == b.handles && a.windows == b.windows;
}

std::ostream& operator<<(std::ostream& out, const Counts& counts) {
    return out << "{GDI objects " << counts.gdiObjects << ", handles " << counts.handles
               << ", windows " << counts.windows << ", window DCs " << counts.windowDcs << "}";
}

Counts CountsOf(const RunningProgram& program) {
    const GdiCount gdi = CountGdiObjects(program.Process());
    return Counts{gdi.owned, CountHandles(program.ProcessId()), CountWindows(program.ProcessId()),
                  gdi.windowDcs};
}

// The platform's cache of window DCs holds at most this many; a DC that is
// taken and never given back makes it grow past that.
constexpr int kWindowDcCache = 64;

// Objects the platform or the threads library may make once, late.
constexpr int kMadeOnce = 3;

// Whether `now` is where `before` was: no more GDI objects and handles than
// what may be made once, the same windows, and window DCs within the cache
// (beside those a window may own, which were there at start).
testing::AssertionResult SameAs(const Counts& now, const Counts& before, const Counts& atStart) {
    if (now.gdiObjects > before.gdiObjects + kMadeOnce ||
        now.handles > before.handles + kMadeOnce || now.windows != before.windows) {
        return testing::AssertionFailure() << "the program holds " << now << ", it held " << before;
    }
    if (now.windowDcs > kWindowDcCache + atStart.windowDcs) {
        return testing::AssertionFailure() << now.windowDcs << " window DCs: more than the cache";
    }
    return testing::AssertionSuccess();
}

// The counts once they hold still: painting makes device contexts and
// regions that live for a moment.
Counts SteadyCounts(const RunningProgram& program) {
    Counts last = CountsOf(program);
    int unchanged = 0;
    WaitUntil(
        [&] {
            const Counts now = CountsOf(program);
            unchanged = now == last ? unchanged + 1 : 0;
            last = now;
            return unchanged >= 3;
        },
        10000, 100);
    return last;
}

// Whether the counts come back to where they were; anything that leaked
// never does.
testing::AssertionResult ComesBackTo(const RunningProgram& program, const Counts& before,
                                     const Counts& atStart) {
    testing::AssertionResult same = testing::AssertionFailure();
    WaitUntil([&] { return same = SameAs(CountsOf(program), before, atStart); }, 10000, 100);
    return same;
}

// ---------------------------------------------------------------------------
// The install

// Two skins that use every bitmap a skin can have (end tiles and buttons of
// their own), so each reload loads and releases six bitmaps and a brush.
const char* const kSkins[] = {"Leak Red", "Leak Blue"};

void AddSkins(const TestInstall& install) {
    const std::string folder = install.SkinFolder();
    for (int i = 0; i < 2; ++i) {
        const std::string prefix = i == 0 ? "red" : "blue";
        const uint8_t r = i == 0 ? 200 : 20;
        const uint8_t b = i == 0 ? 20 : 200;
        for (const char* tile : {"_left.bmp", "_mid.bmp", "_right.bmp"}) {
            WriteFileBytes(JoinPath(folder, prefix + tile),
                           testbitmap::SolidBitmapFile(45, 64, {r, 90, b}));
        }
        for (const char* button : {"prev.bmp", "next.bmp", "lyr.bmp"}) {
            WriteFileBytes(JoinPath(folder, prefix + "_" + button),
                           testbitmap::SolidBitmapFile(13, 16, {b, 250, r}));
        }
        WriteFileBytes(JoinPath(folder, std::string(kSkins[i]) + ".ini"),
                       "[SKIN]\r\nimage=" + prefix + "_mid.bmp\r\nbgtype=1\r\nimagel=" + prefix +
                           "_left.bmp\r\nimager=" + prefix + "_right.bmp\r\nicons=" + prefix +
                           "_\r\ntext=00FFFFFF\r\nborder=0000FF00\r\n");
    }
}

const std::string kSettings = "[PREFERENCES]\r\nskin=Leak Red\r\nenwinamp=1\r\nenwmp=1\r\n\r\n";

// ---------------------------------------------------------------------------
// Driving the program

// Waits for the Preferences dialog, looking often: the tests open hundreds.
HWND WaitForPreferences(const RunningProgram& program) {
    HWND dialog = nullptr;
    WaitUntil(
        [&] {
            const std::vector<HWND> found = program.DialogsTitled(kPreferencesTitle);
            dialog = found.empty() ? nullptr : found.front();
            return dialog != nullptr;
        },
        kGenerousMs, 2);
    return dialog;
}

enum class Close { Ok, Cancel, CloseBox };

// One Preferences dialog: opened from the tray command, the skin `skin`
// chosen in its list, closed with `how`. False when it did not open or close.
bool RunPreferences(const RunningProgram& program, const std::string& skin, Close how) {
    program.PostCommand(kCommandPreferences);
    HWND dialog = WaitForPreferences(program);
    if (dialog == nullptr) {
        return false;
    }
    if (!ChooseSkin(dialog, skin)) {
        return false;
    }
    switch (how) {
    case Close::Ok:
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
        break;
    case Close::Cancel:
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
        break;
    case Close::CloseBox:
        PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    }
    return WaitUntil([&] { return !IsWindow(dialog); }, kGenerousMs, 2);
}

size_t CountOf(const std::vector<std::string>& lines, const std::string& line) {
    return static_cast<size_t>(std::count(lines.begin(), lines.end(), line));
}

// One program watching both players, with the fake media player control
// registered (not yet playing) and a fake Winamp (idle).
class Leaks : public testing::Test {
  protected:
    // One round of what a test repeats; false when the program did not do it.
    using Round = std::function<bool(int)>;

    void SetUp() override {
        ASSERT_TRUE(m_registration.Active()) << "could not register the fake control";
        m_driver.SetNoMedia(1);
        m_session = std::make_unique<Session>(kSettings, AddSkins);
        m_afterStart = SteadyCounts(Program());
        ASSERT_GT(m_afterStart.gdiObjects, 0) << "the program's GDI handle table cannot be read";
        ASSERT_GT(m_afterStart.windowDcs, 0);
        ASSERT_GT(m_afterStart.handles, 0) << "the system's handle list cannot be read";
        ASSERT_GT(m_afterStart.windows, 0);
    }

    RunningProgram& Program() { return m_session->Program(); }

    // Runs `count` rounds numbered from m_nextRound on; false (with the
    // failing round's number recorded) when one of them failed.
    testing::AssertionResult RunRounds(const Round& round, int count) {
        for (int i = 0; i < count; ++i, ++m_nextRound) {
            if (!round(m_nextRound)) {
                return testing::AssertionFailure() << "round " << m_nextRound << " failed";
            }
        }
        return testing::AssertionSuccess();
    }

    // The counts to come back to: batches of rounds run until one leaves
    // the counts where the one before left them, with the pop-up hidden.
    // By then the platform has made what it makes on first use. Unbounded
    // growth never settles and fails the comparison later.
    Counts Baseline(const Round& round, int batch) {
        Counts previous{-1, -1, -1, -1};
        for (int i = 0; i < 8; ++i) {
            EXPECT_TRUE(RunRounds(round, batch));
            EXPECT_TRUE(m_session->WaitUntilStill());
            const Counts now = SteadyCounts(Program());
            if (now == previous) {
                break;
            }
            previous = now;
        }
        RecordProperty("after_start", testing::PrintToString(m_afterStart));
        RecordProperty("baseline", testing::PrintToString(previous));
        return previous;
    }

    // `rounds` rounds after the baseline, then the counts must come back.
    void ExpectNoLeak(const Round& round, int rounds, int warmUpBatch) {
        const Counts baseline = Baseline(round, warmUpBatch);
        ASSERT_TRUE(RunRounds(round, rounds));
        ASSERT_TRUE(m_session->WaitUntilStill());
        EXPECT_TRUE(ComesBackTo(Program(), baseline, m_afterStart));
    }

    CFakeWmpRegistration m_registration;
    CFakeWmpDriver m_driver;
    FakeWinamp m_winamp{"Winamp 5.9"};
    std::unique_ptr<Session> m_session;
    Counts m_afterStart;
    int m_nextRound = 0;
};

// Titles of different lengths, so the pop-up's width changes too.
std::string TrackArtist(int n) {
    return "Artist " + std::to_string(n) + std::string(static_cast<size_t>(n % 40), '*');
}

} // namespace

TEST_F(Leaks, TheCountersSeeTheProgramsObjectsComeAndGo) {
    const Counts before = SteadyCounts(Program());
    Program().PostCommand(kCommandPreferences);
    HWND dialog = WaitForPreferences(Program());
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(ChooseSkin(dialog, kSkins[1]));
    const Counts open = SteadyCounts(Program());
    // The dialog and its controls, its preview's brush and bitmaps.
    EXPECT_GT(open.windows, before.windows);
    EXPECT_GT(open.gdiObjects, before.gdiObjects);

    // The handle list sees the driver's own handles come and go.
    const int mine = CountHandles(GetCurrentProcessId());
    {
        UniqueHandle event(CreateEventA(nullptr, TRUE, FALSE, nullptr));
        EXPECT_EQ(CountHandles(GetCurrentProcessId()), mine + 1);
    }
    EXPECT_EQ(CountHandles(GetCurrentProcessId()), mine);

    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    const Counts closed = SteadyCounts(Program());
    EXPECT_EQ(closed.windows, before.windows);
    EXPECT_LT(closed.gdiObjects, open.gdiObjects);
}

// The rounds below are far more than the objects the platform may make
// once (kMadeOnce), so a leak of one object in every round, or in every
// few rounds, cannot hide.

TEST_F(Leaks, TrackChanges) {
    // Each tick sees a new title: the pop-up is laid out again and a switch
    // takes over from the one before.
    const Round change = [&](int n) {
        m_winamp.SetTitle(std::to_string(n) + ". " + TrackArtist(n) + " - Song - Winamp");
        return Program().TickPoll();
    };
    const Counts baseline = Baseline(change, 20);
    ASSERT_TRUE(RunRounds(change, 100));

    // The last track is the one that came to rest.
    const std::string last = TrackArtist(m_nextRound - 1) + "\nSong\nWinamp";
    ASSERT_TRUE(m_session->WaitUntilStill());
    EXPECT_EQ(WindowBox(m_session->Main()), PopupAtRest(RestingWidth(last)));
    EXPECT_TRUE(ComesBackTo(Program(), baseline, m_afterStart));
}

TEST_F(Leaks, SkinReloads) {
    // OK with the other skin chosen stores it and reloads the pop-up's skin
    // (six bitmaps and a brush released and loaded again), and the pop-up
    // comes in to show it.
    const Round reload = [&](int n) { return RunPreferences(Program(), kSkins[n % 2], Close::Ok); };
    ExpectNoLeak(reload, 40, 5);
    const std::string stored = std::string("skin=") + kSkins[(m_nextRound - 1) % 2] + "\r\n";
    EXPECT_NE(m_session->Install().ReadSettings()->find(stored), std::string::npos)
        << "the last choice was not stored: " << *m_session->Install().ReadSettings();
}

TEST_F(Leaks, MediaPlayerHostsMadeAndTornDown) {
    // The player's window comes and goes; each time a host embeds the
    // control and is torn down with it.
    MediaPlayerWindow player(false);
    ASSERT_NE(player.Get(), nullptr);
    m_driver.SetMedia(3, "Leak Author", "Leak Song");
    const Round host = [&](int) {
        player.Show(true);
        Program().TickPoll();
        const bool made = (PlayerHostWindow(Program()) != nullptr);
        player.Show(false);
        Program().TickPoll();
        return made && !(PlayerHostWindow(Program()) != nullptr);
    };
    const Counts baseline = Baseline(host, 5);
    m_driver.ClearLog();
    ASSERT_TRUE(RunRounds(host, 30));

    // Each of them embedded the control in remote mode and released it.
    const std::vector<std::string> log = m_driver.LogLines();
    EXPECT_EQ(CountOf(log, "remote"), 30u);
    EXPECT_EQ(CountOf(log, "released"), 30u);
    ASSERT_TRUE(m_session->WaitUntilStill());
    EXPECT_TRUE(ComesBackTo(Program(), baseline, m_afterStart));
}

TEST_F(Leaks, PreferencesDialogs) {
    // Each dialog previews a skin and is closed in one of the three ways;
    // OK with the stored skin saves the settings without a reload.
    const Round dialog = [&](int n) {
        switch (n % 3) {
        case 0:
            return RunPreferences(Program(), kSkins[1], Close::Cancel);
        case 1:
            return RunPreferences(Program(), kSkins[n % 2], Close::CloseBox);
        default:
            return RunPreferences(Program(), kSkins[0], Close::Ok);
        }
    };
    ExpectNoLeak(dialog, 30, 6);
}
