// The pop-up window's animation threads, in-process: when the system refuses
// to create them nothing moves, nothing breaks, the pop-up's state stays what
// it was, and once threads can be made again every animation runs as usual;
// and Exit in the middle of each animation, while its thread waits for this
// one to move the window, ends it and returns.
//
// The refusal is real: this program's import of kernel32's CreateThread is
// pointed at a stand-in that fails, so the framework's thread start meets
// the failure exactly as it would on a system out of resources.
#include "app/NowPlayingWnd.h"
#include "res/resource.h"
#include "support/Geometry.h"
#include "support/Wait.h"

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

using e2e::Box;
using e2e::WaitUntil;
using e2e::WindowBox;

const Box kHidden{0, 0, 0, 0};
Box Rest(int width) {
    return Box{kRestX, kRestY, width, kPopupHeight};
}

// Brings the empty pop-up up and waits for it to rest.
testing::AssertionResult BringUp(CNowPlayingWnd& popup) {
    popup.OnToggleNowPlaying();
    if (!WaitUntil([&] {
            return WindowBox(popup.m_hWnd) == Rest(kMinPopupWidth) &&
                   popup.Animator().State() == ANIM_IDLE;
        })) {
        return testing::AssertionFailure()
               << "it did not come to rest: " << WindowBox(popup.m_hWnd);
    }
    return testing::AssertionSuccess();
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
        EXPECT_TRUE(WaitUntil([&] { return Idle(); }));
    }

    HWND Window() const { return m_popup.m_hWnd; }
    bool Idle() const { return m_popup.Animator().State() == ANIM_IDLE; }
    bool Shown() const { return m_popup.Animator().IsShown(); }

    // No thread was made, so nothing can move the window: once the messages
    // that are there have been handled it is where it was.
    void ExpectStill(const Box& box) {
        e2e::PumpMessages();
        EXPECT_EQ(WindowBox(Window()), box);
    }

    BarePopup m_popup;
};

} // namespace

TEST_F(ThreadsRefused, AShowOrHideThatCannotStartMovesNothingAndTheNextRequestWorks) {
    {
        RefusedThreadCreation refused;
        ASSERT_TRUE(refused.Active()) << "the program imports no CreateThread to refuse";
        m_popup.OnToggleNowPlaying();
        ExpectStill(kHidden);
        EXPECT_GE(g_refusedThreads, 1) << "no thread was asked for";
        EXPECT_TRUE(Idle());
        EXPECT_FALSE(Shown());
    }
    ASSERT_TRUE(BringUp(m_popup)); // nothing was left half started
    {
        RefusedThreadCreation refused;
        m_popup.OnToggleNowPlaying();
        ExpectStill(Rest(kMinPopupWidth));
        EXPECT_GE(g_refusedThreads, 2);
        EXPECT_TRUE(Idle());
        EXPECT_TRUE(Shown());
    }
    m_popup.OnToggleNowPlaying();
    EXPECT_TRUE(WaitUntil([&] {
        return WindowBox(Window()) == (Box{0, 0, 1, 6}) && Idle();
    })) << WindowBox(Window());
    EXPECT_FALSE(Shown());
}

TEST_F(ThreadsRefused, TheHideTimerTriesAgainUntilAHideStarts) {
    // Up, and the cursor away from its buttons: five seconds after the show
    // the hide timer's ticks want it hidden, but no thread can be made.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2);
    ASSERT_TRUE(BringUp(m_popup));
    {
        RefusedThreadCreation refused;
        ASSERT_TRUE(refused.Active());
        ASSERT_TRUE(WaitUntil([] { return g_refusedThreads >= 2; }, 15000))
            << "the hide timer did not ask (again)";
        EXPECT_EQ(WindowBox(Window()), Rest(kMinPopupWidth));
        EXPECT_TRUE(Shown());
    }
    // Its next tick, with threads again, collapses the pop-up.
    EXPECT_TRUE(WaitUntil([&] {
        return WindowBox(Window()) == (Box{0, 0, 1, 6}) && Idle();
    })) << WindowBox(Window());
    EXPECT_FALSE(Shown());
}

// (A switch that cannot start lets the running show end: the animator's
// decision, tests/unit/PopupAnimatorTest.cpp.)

// --- Exit during an animation --------------------------------------------------

// Whether an animation thread waits for this thread to move the window (it
// sent the move): polled without handling any message.
bool AWorkerWaitsForThisThread() {
    const ULONGLONG end = GetTickCount64() + e2e::kGenerousMs;
    while (HIWORD(GetQueueStatus(QS_SENDMESSAGE)) == 0) {
        if (GetTickCount64() >= end)
            return false;
        Sleep(1);
    }
    return true;
}

TEST(ExitDuringAnimation, EndsEachAnimationWhoseThreadWaitsForTheWindow) {
    enum class During { Show, Switch, Hide };
    for (During during : {During::Show, During::Switch, During::Hide}) {
        SCOPED_TRACE("animation " + std::to_string(static_cast<int>(during)));
        BarePopup popup;
        if (during != During::Show) {
            ASSERT_TRUE(BringUp(popup));
        }
        switch (during) {
        case During::Show:
            popup.OnToggleNowPlaying();
            break;
        case During::Switch:
            popup.SetTrackText(
                "A Text Wider Than The Empty Pop-up, For A Switch To Show It\nWinamp");
            popup.LayoutPopup();
            ASSERT_TRUE(popup.StartAnimation(AnimationRoutine::Switch));
            break;
        case During::Hide:
            popup.OnToggleNowPlaying();
            break;
        }
        const Box before = WindowBox(popup.m_hWnd);
        ASSERT_TRUE(AWorkerWaitsForThisThread()) << "no animation thread moves the window";
        // Exit handles that move while it waits for the thread, which then
        // stops at its next step: the animation does not run to its end.
        // What was posted meanwhile (a timer, a second Exit, a click) waits.
        constexpr UINT kPosted = WM_APP + 50;
        ::PostThreadMessageA(::GetCurrentThreadId(), kPosted, 0, 0);
        popup.OnExit();
        MSG posted;
        HWND threadMessages = reinterpret_cast<HWND>(-1);
        EXPECT_TRUE(::PeekMessageA(&posted, threadMessages, kPosted, kPosted, PM_REMOVE))
            << "Exit's wait handled a posted message";
        const Box after = WindowBox(popup.m_hWnd);
        e2e::PumpMessages();
        EXPECT_EQ(WindowBox(popup.m_hWnd), after) << "a thread still moves the window";
        const Box end =
            during == During::Hide ? Box{0, 0, 1, 6} : Rest(popup.Animator().PopupWidth());
        EXPECT_NE(after, end) << "the animation ran to its end from " << before;
    }
}

// --- The hold timer --------------------------------------------------------------

TEST(HoldTimer, AHideFromTheTrayJustAfterAShowLeavesNoTimerBehind) {
    BarePopup popup;
    // The show ends and asks for its hold timer; before that request is
    // handled the tray hides the pop-up. Only the moves are handled meanwhile.
    popup.OnToggleNowPlaying();
    const auto resting = [&] {
        return popup.Animator().State() == ANIM_IDLE && popup.Animator().IsShown();
    };
    for (const ULONGLONG end = GetTickCount64() + e2e::kGenerousMs;
         !resting() && GetTickCount64() < end;) {
        MSG msg;
        ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_SENDMESSAGE);
    }
    ASSERT_TRUE(resting()) << WindowBox(popup.m_hWnd);
    popup.OnToggleNowPlaying();
    ASSERT_EQ(popup.Animator().State(), ANIM_HIDING);
    ASSERT_TRUE(WaitUntil([&] { return popup.Animator().State() == ANIM_IDLE; }));
    // KillTimer says whether there was a timer to kill.
    EXPECT_FALSE(::KillTimer(popup.m_hWnd, IDT_HIDE)) << "a hold timer ticks for a hidden pop-up";
}
