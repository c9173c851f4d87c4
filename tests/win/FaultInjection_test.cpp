// The pop-up window when the system refuses to create its animation
// threads: nothing moves, nothing breaks, the pop-up's state stays what it
// was, and once threads can be made again every animation runs as usual.
//
// The refusal is real: this program's import of kernel32's CreateThread is
// pointed at a stand-in that fails, so the framework's thread start meets
// the failure exactly as it would on a system out of resources.
#include "app/NowPlayingWnd.h"
#include "res/resource.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <ostream>

namespace {

// --- Refusing thread creation --------------------------------------------------

std::atomic<int> g_refusedThreads{0};

HANDLE WINAPI RefuseThread(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE, LPVOID, DWORD,
                           LPDWORD) {
    ++g_refusedThreads;
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
}

// The slot of this executable's import address table through which its
// calls to `function` of `dll` go; null when it imports no such function.
void** ImportSlot(const char* dll, const char* function) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0)
        return nullptr;
    for (auto* module =
             reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         module->Name != 0; ++module) {
        if (lstrcmpiA(reinterpret_cast<const char*>(base + module->Name), dll) != 0)
            continue;
        const auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(
            base + (module->OriginalFirstThunk ? module->OriginalFirstThunk : module->FirstThunk));
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            const auto* byName =
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) == 0)
                return reinterpret_cast<void**>(&slots->u1.Function);
        }
    }
    return nullptr;
}

void WriteSlot(void** slot, void* value) {
    DWORD protection = 0;
    VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection);
    *slot = value;
    VirtualProtect(slot, sizeof *slot, protection, &protection);
}

// While it lives, every thread the program's code starts is refused.
class RefusedThreadCreation {
  public:
    RefusedThreadCreation() : m_slot(ImportSlot("kernel32.dll", "CreateThread")) {
        if (m_slot) {
            m_original = *m_slot;
            WriteSlot(m_slot, reinterpret_cast<void*>(&RefuseThread));
        }
    }
    ~RefusedThreadCreation() {
        if (m_slot)
            WriteSlot(m_slot, m_original);
    }
    RefusedThreadCreation(const RefusedThreadCreation&) = delete;
    RefusedThreadCreation& operator=(const RefusedThreadCreation&) = delete;

    bool Active() const { return m_slot != nullptr; }

  private:
    void** m_slot;
    void* m_original = nullptr;
};

// --- The pop-up ---------------------------------------------------------------

// The pop-up window object with its (zero-sized, topmost) window but none of
// the program's start-up: no settings file, no skin, no poll timer. The
// window moves as usual but stays hidden, so that it never covers the pop-up
// of an end-to-end test reading the same screen meanwhile.
class BarePopup : public CNowPlayingWnd {
  public:
    BarePopup() : CNowPlayingWnd(nullptr) {
        Create(IDD_NOWPLAYING);
        ::ShowWindow(m_hWnd, SW_HIDE);
    }

  protected:
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOACTIVATE);
        return TRUE;
    }
};

struct Box {
    int x, y, width, height;
};

bool operator==(const Box& a, const Box& b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

std::ostream& operator<<(std::ostream& out, const Box& box) {
    return out << "(" << box.x << ", " << box.y << ") " << box.width << " x " << box.height;
}

Box WindowBox(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return Box{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

const Box kHidden{0, 0, 0, 0};
Box Rest(int width) {
    return Box{kRestX, kRestY, width, kPopupHeight};
}

// Handles this thread's messages (the animation threads' window moves wait
// for them) until `done` holds or the time is up; returns `done`.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 30000) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (!done()) {
        if (GetTickCount64() >= end)
            return false;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return true;
}

class ThreadsRefused : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(m_popup.m_hWnd, nullptr);
        ASSERT_EQ(WindowBox(m_popup.m_hWnd), kHidden);
        g_refusedThreads = 0;
    }

    void TearDown() override {
        // No animation may still need this thread when the window goes.
        EXPECT_TRUE(PumpUntil([&] { return Idle(); }));
    }

    HWND Window() const { return m_popup.m_hWnd; }
    bool Idle() const { return m_popup.Animator().State() == ANIM_IDLE; }
    bool Shown() const { return m_popup.Animator().IsShown(); }

    // Pumps for a while and expects the window not to have moved.
    void ExpectStill(const Box& box) {
        bool moved = false;
        PumpUntil(
            [&] {
                moved = moved || !(WindowBox(Window()) == box);
                return false;
            },
            600);
        EXPECT_FALSE(moved) << "the window moved; it is at " << WindowBox(Window());
    }

    // Brings the empty pop-up up with working threads and waits for it to rest.
    void BringUp() {
        m_popup.OnToggleNowPlaying();
        ASSERT_TRUE(PumpUntil([&] {
            return WindowBox(Window()) == Rest(kMinPopupWidth) && Idle();
        })) << WindowBox(Window());
        ASSERT_TRUE(Shown());
    }

    BarePopup m_popup;
};

} // namespace

TEST_F(ThreadsRefused, AShowThatCannotStartMovesNothing) {
    {
        RefusedThreadCreation refused;
        ASSERT_TRUE(refused.Active()) << "the program imports no CreateThread to refuse";
        m_popup.OnToggleNowPlaying();
        ExpectStill(kHidden);
        EXPECT_GE(g_refusedThreads, 1) << "no thread was asked for";
        EXPECT_TRUE(Idle());
        EXPECT_FALSE(Shown());

        // Asking again is no different: nothing was left half started.
        m_popup.OnToggleNowPlaying();
        ExpectStill(kHidden);
        EXPECT_GE(g_refusedThreads, 2);
        EXPECT_TRUE(Idle());
    }
    // Threads again: the pop-up comes in as usual.
    BringUp();
}

TEST_F(ThreadsRefused, AHideThatCannotStartLeavesThePopupUp) {
    BringUp();
    {
        RefusedThreadCreation refused;
        ASSERT_TRUE(refused.Active());
        m_popup.OnToggleNowPlaying();
        ExpectStill(Rest(kMinPopupWidth));
        EXPECT_GE(g_refusedThreads, 1);
        EXPECT_TRUE(Idle());
        EXPECT_TRUE(Shown());
    }
    // The next request hides it, down to the sliver at the corner.
    m_popup.OnToggleNowPlaying();
    EXPECT_TRUE(PumpUntil([&] {
        return WindowBox(Window()) == (Box{0, 0, 1, 6}) && Idle();
    })) << WindowBox(Window());
    EXPECT_FALSE(Shown());
}

TEST_F(ThreadsRefused, TheHideTimerTriesAgainUntilAHideStarts) {
    // Up, and the cursor away from its buttons: five seconds after the show
    // the hide timer's ticks want it hidden, but no thread can be made.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2);
    BringUp();
    {
        RefusedThreadCreation refused;
        ASSERT_TRUE(refused.Active());
        ASSERT_TRUE(PumpUntil([] { return g_refusedThreads >= 2; }, 15000))
            << "the hide timer did not ask (again)";
        EXPECT_EQ(WindowBox(Window()), Rest(kMinPopupWidth));
        EXPECT_TRUE(Shown());
    }
    // Its next tick, with threads again, collapses the pop-up.
    EXPECT_TRUE(PumpUntil([&] {
        return WindowBox(Window()) == (Box{0, 0, 1, 6}) && Idle();
    })) << WindowBox(Window());
    EXPECT_FALSE(Shown());
}

TEST_F(ThreadsRefused, ASwitchThatCannotStartLetsTheRunningShowEnd) {
    // A show under way, then a new track whose switch cannot start.
    m_popup.OnToggleNowPlaying();
    ASSERT_TRUE(PumpUntil([&] { return WindowBox(Window()).x >= 16; })) << WindowBox(Window());
    const std::string wide = "An Artist Whose Name Needs A Much Wider Pop-up Than Before\n"
                             "And A Title To Match It\nWinamp";
    {
        RefusedThreadCreation refused;
        ASSERT_TRUE(refused.Active());
        m_popup.SetTrackText(wide);
        m_popup.LayoutPopup();
        EXPECT_FALSE(m_popup.StartAnimation(AnimationRoutine::Switch));
        EXPECT_GE(g_refusedThreads, 1);
        // The show goes on to its end, at the width it started with.
        EXPECT_TRUE(PumpUntil([&] {
            return WindowBox(Window()) == Rest(kMinPopupWidth) && Idle();
        })) << WindowBox(Window());
        EXPECT_TRUE(Shown());
    }
    // With threads the switch brings the new text in at its own width.
    ASSERT_TRUE(m_popup.StartAnimation(AnimationRoutine::Switch));
    const int width = m_popup.Animator().PopupWidth();
    EXPECT_GT(width, kMinPopupWidth);
    EXPECT_TRUE(PumpUntil([&] { return WindowBox(Window()) == Rest(width) && Idle(); }))
        << WindowBox(Window());
}
