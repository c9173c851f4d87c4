// Leaks of the running program, counted from outside: its GDI objects, its
// kernel handles and its windows, after 500 track changes, 500 skin reloads,
// 100 media player hosts made and torn down, and 100 Preferences dialogs.
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
// until the counts settle, takes them with the pop-up hidden and still,
// runs its rounds, hides the pop-up again and compares. A few objects are
// made once at a moment no test can choose (the threads library gives a
// lock a kernel event the first time two threads meet at it; the platform
// makes a drawing object on first use), so the counts may end up to
// kMadeOnce above where they were. A leak of one object per round ends up a
// hundred or more above.
//
// The poll timer is ticked by the driver (a WM_TIMER with the poll timer's
// identifier, which the program cannot tell from its own), so every track
// change and every player window change is seen at once instead of within
// 300 ms.
#include "support/BitmapFile.h"
#include "support/E2e.h"

#include "app/PopupLayout.h"
#include "tests/fakes/fakewmp/FakeWmpDriver.h"
#include "tests/fakes/fakewmp/FakeWmpRegistration.h"

#include <gtest/gtest.h>
#include <winternl.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

using namespace e2e;

namespace {

constexpr UINT_PTR kPollTimer = 0;
constexpr int kSkinList = 1000;
constexpr char kPreferencesTitle[] = "Preferences";
constexpr char kMediaPlayerTitle[] = "Windows Media Player";

// ---------------------------------------------------------------------------
// Counting from outside

using QueryProcessFn = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
using QuerySystemFn = LONG(WINAPI*)(ULONG, void*, ULONG, ULONG*);

template <class Fn> Fn NtdllFunction(const char* name) {
    return reinterpret_cast<Fn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), name)));
}

// The GDI objects of a process, read from its GDI handle table: the PEB's
// GdiSharedHandleTable (offset 0xF8 in a 64-bit PEB) points to 65536
// entries of 24 bytes, in use while their type byte is non-zero. Wine keeps
// one table per process and leaves the owner 0; Windows shares one per
// session and names the owner.
//
// Window DCs (GetDC, BeginPaint) come from the platform's cache, which
// grows by itself up to 64 entries whenever no free one fits (under Wine
// each such display DC brings an object of type 5 along, and its visible
// and clipping regions come and go with painting). Those are counted
// apart: `owned` holds everything else (bitmaps, brushes, fonts, memory
// DCs), `windowDcs` the display DCs.
struct GdiCount {
    int owned = -1;
    int windowDcs = -1;
};

GdiCount CountGdiObjects(HANDLE process, DWORD processId) {
    struct Entry {
        uint64_t object;
        uint16_t ownerId;
        uint16_t count;
        uint8_t extType; // the full type's high byte; bit 7 marks stock objects
        uint8_t generation;
        uint8_t type;
        uint8_t flags;
        uint64_t user;
    };
    static_assert(sizeof(Entry) == 24, "GDI handle table entry");
    constexpr size_t kPebGdiTable = 0xF8;
    constexpr size_t kEntries = 0x10000;
    constexpr uint8_t kDc = 0x01, kDisplayDc = 0x01, kRegion = 0x04, kDisplayDcSurface = 0x05;

    GdiCount count;
    const auto query = NtdllFunction<QueryProcessFn>("NtQueryInformationProcess");
    PROCESS_BASIC_INFORMATION basic{};
    if (query == nullptr ||
        query(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0) {
        return count;
    }
    uint64_t table = 0;
    SIZE_T read = 0;
    const auto* peb = static_cast<const uint8_t*>(static_cast<const void*>(basic.PebBaseAddress));
    if (!ReadProcessMemory(process, peb + kPebGdiTable, &table, sizeof table, &read) ||
        table == 0) {
        return count;
    }
    std::vector<Entry> entries(kEntries);
    if (!ReadProcessMemory(process, reinterpret_cast<const void*>(table), entries.data(),
                           entries.size() * sizeof(Entry), &read)) {
        return count;
    }
    const uint16_t owner = static_cast<uint16_t>(processId);
    count = GdiCount{0, 0};
    for (const Entry& entry : entries) {
        if (entry.type == 0 || (entry.ownerId != 0 && entry.ownerId != owner)) {
            continue;
        }
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

    const auto query = NtdllFunction<QuerySystemFn>("NtQuerySystemInformation");
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
    const GdiCount gdi = CountGdiObjects(program.Process(), program.ProcessId());
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

// Delivers a tick of the poll timer now and waits until it has been handled.
void TickPoll(HWND main) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(main, WM_TIMER, kPollTimer, 0, SMTO_NORMAL, kGenerousMs, &result);
}

// Where the pop-up rests with this text: the text as the program measures
// it (the default font of a window DC), laid out in whole tiles.
Box RestingBox(const std::string& text) {
    RECT measured{0, 0, 0, 0};
    ScreenDc screen;
    DrawTextA(screen.Get(), text.c_str(), -1, &measured, DT_CALCRECT | DT_NOPREFIX | DT_NOCLIP);
    return Box{kRestX, kRestY, ComputePopupLayout(measured.right - measured.left).layout.Width(),
               kPopupHeight};
}

bool AtRest(const Box& box) {
    return box.x == 64 && box.y == 32 && box.height == 66 && box.width >= 317;
}

bool Hidden(const Box& box) {
    return box.x == 0 && box.y == 0 && box.width <= 1 && (box.height == 6 || box.height == 0);
}

// A box that stays the same for a while (no animation is moving the window).
bool HoldsStill(HWND main, const std::function<bool(const Box&)>& wanted) {
    Box last = WindowBox(main);
    ULONGLONG since = GetTickCount64();
    return WaitUntil([&] {
        const Box now = WindowBox(main);
        if (now != last) {
            last = now;
            since = GetTickCount64();
        }
        return wanted(now) && GetTickCount64() - since >= 400;
    });
}

// Brings the pop-up to the same state every time before counting: hidden
// and still, with no animation running.
testing::AssertionResult HidePopup(const RunningProgram& program) {
    HWND main = program.MainWindow();
    if (!HoldsStill(main, [](const Box& b) { return AtRest(b) || Hidden(b); })) {
        return testing::AssertionFailure() << "the pop-up never came to rest: " << WindowBox(main);
    }
    if (AtRest(WindowBox(main))) {
        program.PostCommand(kCommandToggle);
    }
    if (!HoldsStill(main, Hidden)) {
        return testing::AssertionFailure() << "the pop-up did not hide: " << WindowBox(main);
    }
    return testing::AssertionSuccess();
}

std::string Title(HWND window) {
    char title[256] = {};
    GetWindowTextA(window, title, sizeof title);
    return title;
}

HWND WaitForPreferences(const RunningProgram& program) {
    HWND dialog = nullptr;
    WaitUntil(
        [&] {
            for (HWND candidate : program.OtherDialogs()) {
                if (Title(candidate) == kPreferencesTitle) {
                    dialog = candidate;
                }
            }
            return dialog != nullptr;
        },
        kGenerousMs, 2);
    return dialog;
}

// Selects an entry of the skin list as the user would: the preview follows.
void ChooseSkin(HWND dialog, int index) {
    HWND list = GetDlgItem(dialog, kSkinList);
    DWORD_PTR result = 0;
    SendMessageTimeoutW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0, SMTO_NORMAL, kGenerousMs,
                        &result);
    SendMessageTimeoutW(dialog, WM_COMMAND, MAKEWPARAM(kSkinList, CBN_SELCHANGE),
                        reinterpret_cast<LPARAM>(list), SMTO_NORMAL, kGenerousMs, &result);
}

// The list's entry of a skin (the list reads back in UTF-16 across processes).
int SkinIndex(HWND dialog, const std::string& name) {
    HWND list = GetDlgItem(dialog, kSkinList);
    const std::wstring wide(name.begin(), name.end());
    return static_cast<int>(SendMessageW(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(wide.c_str())));
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
    const int index = SkinIndex(dialog, skin);
    if (index < 0) {
        return false;
    }
    ChooseSkin(dialog, index);
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

// A stand-in for the media player's main window, out of the pop-up's way.
class MediaPlayerWindow {
  public:
    MediaPlayerWindow() {
        static const ATOM atom = [] {
            WNDCLASSA wc{};
            wc.lpfnWndProc = DefWindowProcA;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = "TrackglowLeakTestMediaPlayer";
            return RegisterClassA(&wc);
        }();
        m_window =
            CreateWindowExA(0, MAKEINTATOM(atom), kMediaPlayerTitle, WS_OVERLAPPEDWINDOW, 900, 600,
                            240, 120, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~MediaPlayerWindow() {
        if (m_window) {
            DestroyWindow(m_window);
        }
    }
    MediaPlayerWindow(const MediaPlayerWindow&) = delete;
    MediaPlayerWindow& operator=(const MediaPlayerWindow&) = delete;

    HWND Get() const { return m_window; }
    void Show(bool visible) { ShowWindow(m_window, visible ? SW_SHOWNOACTIVATE : SW_HIDE); }

  private:
    HWND m_window = nullptr;
};

bool HasPlayerHost(const RunningProgram& program) {
    for (const WindowInfo& info : program.Windows()) {
        if (info.className == "#32770" && info.title == "ActiveX") {
            return true;
        }
    }
    return false;
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
        AddSkins(m_install);
        m_program = std::make_unique<RunningProgram>(m_install);
        m_main = m_program->WaitForMainWindow();
        ASSERT_NE(m_main, nullptr) << "the program did not start";
        m_afterStart = SteadyCounts(*m_program);
        ASSERT_GT(m_afterStart.gdiObjects, 0) << "the program's GDI handle table cannot be read";
        ASSERT_GT(m_afterStart.windowDcs, 0);
        ASSERT_GT(m_afterStart.handles, 0) << "the system's handle list cannot be read";
        ASSERT_GT(m_afterStart.windows, 0);
    }

    void TearDown() override {
        if (m_program && m_program->IsRunning()) {
            m_program->PostCommand(kCommandExit);
            const std::optional<DWORD> code = m_program->WaitForExit();
            ASSERT_TRUE(code.has_value()) << "the program did not end after Exit";
            EXPECT_EQ(*code, 0u);
        }
    }

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
            EXPECT_TRUE(HidePopup(*m_program));
            const Counts now = SteadyCounts(*m_program);
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
        ASSERT_TRUE(HidePopup(*m_program));
        EXPECT_TRUE(ComesBackTo(*m_program, baseline, m_afterStart));
    }

    CFakeWmpRegistration m_registration;
    CFakeWmpDriver m_driver;
    FakeWinamp m_winamp{"Winamp 5.9"};
    TestInstall m_install{kSettings};
    std::unique_ptr<RunningProgram> m_program;
    HWND m_main = nullptr;
    Counts m_afterStart;
    int m_nextRound = 0;
};

// Titles of different lengths, so the pop-up's width changes too.
std::string TrackArtist(int n) {
    return "Artist " + std::to_string(n) + std::string(static_cast<size_t>(n % 40), '*');
}

} // namespace

TEST_F(Leaks, TheCountersSeeTheProgramsObjectsComeAndGo) {
    const Counts before = SteadyCounts(*m_program);
    m_program->PostCommand(kCommandPreferences);
    HWND dialog = WaitForPreferences(*m_program);
    ASSERT_NE(dialog, nullptr);
    ChooseSkin(dialog, SkinIndex(dialog, kSkins[1]));
    const Counts open = SteadyCounts(*m_program);
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
    const Counts closed = SteadyCounts(*m_program);
    EXPECT_EQ(closed.windows, before.windows);
    EXPECT_LT(closed.gdiObjects, open.gdiObjects);
}

TEST_F(Leaks, FiveHundredTrackChanges) {
    // Each tick sees a new title: the pop-up is laid out again and a switch
    // takes over from the one before.
    const Round change = [&](int n) {
        m_winamp.SetTitle(std::to_string(n) + ". " + TrackArtist(n) + " - Song - Winamp");
        TickPoll(m_main);
        return true;
    };
    const Counts baseline = Baseline(change, 50);
    ASSERT_TRUE(RunRounds(change, 500));

    // The last track is the one that came to rest.
    const std::string last = TrackArtist(m_nextRound - 1) + "\nSong\nWinamp";
    EXPECT_TRUE(HoldsStill(m_main, [&](const Box& b) { return b == RestingBox(last); }))
        << WindowBox(m_main) << " is not " << RestingBox(last);
    ASSERT_TRUE(HidePopup(*m_program));
    EXPECT_TRUE(ComesBackTo(*m_program, baseline, m_afterStart));
}

TEST_F(Leaks, FiveHundredSkinReloads) {
    // OK with the other skin chosen stores it and reloads the pop-up's skin
    // (six bitmaps and a brush released and loaded again), and the pop-up
    // comes in to show it.
    const Round reload = [&](int n) {
        return RunPreferences(*m_program, kSkins[n % 2], Close::Ok);
    };
    ExpectNoLeak(reload, 500, 10);
    const std::string stored = std::string("skin=") + kSkins[(m_nextRound - 1) % 2] + "\r\n";
    EXPECT_TRUE(WaitUntil([&] {
        return m_install.ReadSettings()->find(stored) != std::string::npos;
    })) << "the last choice was not stored: "
        << *m_install.ReadSettings();
}

TEST_F(Leaks, AHundredMediaPlayerHostsMadeAndTornDown) {
    // The player's window comes and goes; each time a host embeds the
    // control and is torn down with it.
    MediaPlayerWindow player;
    ASSERT_NE(player.Get(), nullptr);
    m_driver.SetMedia(3, "Leak Author", "Leak Song");
    const Round host = [&](int) {
        player.Show(true);
        TickPoll(m_main);
        const bool made = HasPlayerHost(*m_program);
        player.Show(false);
        TickPoll(m_main);
        return made && !HasPlayerHost(*m_program);
    };
    const Counts baseline = Baseline(host, 5);
    m_driver.ClearLog();
    ASSERT_TRUE(RunRounds(host, 100));

    // Each of them embedded the control in remote mode and released it.
    const std::vector<std::string> log = m_driver.LogLines();
    EXPECT_EQ(CountOf(log, "remote"), 100u);
    EXPECT_EQ(CountOf(log, "released"), 100u);
    ASSERT_TRUE(HidePopup(*m_program));
    EXPECT_TRUE(ComesBackTo(*m_program, baseline, m_afterStart));
}

TEST_F(Leaks, AHundredPreferencesDialogs) {
    // Each dialog previews a skin and is closed in one of the three ways;
    // OK with the stored skin saves the settings without a reload.
    const Round dialog = [&](int n) {
        switch (n % 3) {
        case 0:
            return RunPreferences(*m_program, kSkins[1], Close::Cancel);
        case 1:
            return RunPreferences(*m_program, kSkins[n % 2], Close::CloseBox);
        default:
            return RunPreferences(*m_program, kSkins[0], Close::Ok);
        }
    };
    ExpectNoLeak(dialog, 100, 9);
}
