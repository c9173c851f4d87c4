#include "support/RunningProgram.h"

#include "support/TestInstall.h"

#include <tlhelp32.h>

namespace e2e {
namespace {

const char kDialogClass[] = "#32770";
const char kMenuClass[] = "#32768";

struct EnumContext {
    DWORD processId;
    std::vector<WindowInfo>* windows;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM context) {
    auto* wanted = reinterpret_cast<EnumContext*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == wanted->processId) {
        wanted->windows->push_back(DescribeWindow(window));
    }
    return TRUE;
}

} // namespace

WindowInfo DescribeWindow(HWND window) {
    WindowInfo info;
    info.window = window;
    char text[512] = {};
    GetClassNameA(window, text, sizeof text);
    info.className = text;
    text[0] = '\0';
    // For another process's window this reads the stored title; it sends
    // no message, so a hung program cannot block the driver here.
    GetWindowTextA(window, text, sizeof text);
    info.title = text;
    info.style = GetWindowLongA(window, GWL_STYLE);
    info.exStyle = GetWindowLongA(window, GWL_EXSTYLE);
    GetWindowRect(window, &info.rect);
    info.visible = IsWindowVisible(window) != FALSE;
    return info;
}

RunningProgram::RunningProgram(const TestInstall& install)
    : m_process("\"" + install.ExePath() + "\"", install.Folder()) {}

std::vector<WindowInfo> RunningProgram::Windows() const {
    std::vector<WindowInfo> windows;
    EnumContext context{m_process.ProcessId(), &windows};
    EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&context));
    return windows;
}

HWND RunningProgram::WaitForMainWindow(DWORD timeoutMs) {
    if (m_mainWindow != nullptr) {
        return m_mainWindow;
    }
    // The modal dialog becomes visible once its initialisation has run.
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (const WindowInfo& info : Windows()) {
                if (info.className == kDialogClass && info.visible) {
                    found = info.window;
                    return true;
                }
            }
            return !IsRunning();
        },
        timeoutMs, 20);
    if (found == nullptr) {
        return nullptr;
    }
    m_mainWindow = found;
    return IsResponsive(timeoutMs) ? m_mainWindow : nullptr;
}

HWND RunningProgram::FindTrayWindow() const {
    for (const WindowInfo& info : Windows()) {
        const bool popup = (info.style & WS_POPUP) != 0;
        const bool tenByTen =
            info.rect.right - info.rect.left == 10 && info.rect.bottom - info.rect.top == 10;
        if (popup && tenByTen && !info.visible && info.className != kDialogClass) {
            return info.window;
        }
    }
    return nullptr;
}

std::vector<HWND> RunningProgram::OtherDialogs() const {
    std::vector<HWND> dialogs;
    for (const WindowInfo& info : Windows()) {
        if (info.className == kDialogClass && info.visible && info.window != m_mainWindow) {
            dialogs.push_back(info.window);
        }
    }
    return dialogs;
}

std::vector<HWND> RunningProgram::DialogsTitled(const std::string& title) const {
    std::vector<HWND> dialogs;
    for (HWND dialog : OtherDialogs()) {
        if (DescribeWindow(dialog).title == title) {
            dialogs.push_back(dialog);
        }
    }
    return dialogs;
}

HWND RunningProgram::WaitForDialog(const std::string& title, DWORD timeoutMs) const {
    return WaitForWindow(
        [&](const WindowInfo& info) {
            return info.className == kDialogClass && info.visible && info.window != m_mainWindow &&
                   info.title == title;
        },
        timeoutMs);
}

HWND RunningProgram::WaitForWindow(const std::function<bool(const WindowInfo&)>& match,
                                   DWORD timeoutMs) const {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (const WindowInfo& info : Windows()) {
                if (match(info)) {
                    found = info.window;
                    return true;
                }
            }
            return false;
        },
        timeoutMs, 20);
    return found;
}

HWND RunningProgram::WaitForPopupMenu(DWORD timeoutMs) const {
    return WaitForWindow(
        [](const WindowInfo& info) { return info.className == kMenuClass && info.visible; },
        timeoutMs);
}

bool RunningProgram::IsResponsive(DWORD timeoutMs) const {
    if (m_mainWindow == nullptr) {
        return false;
    }
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(m_mainWindow, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
}

void RunningProgram::PostCommand(UINT id) const {
    PostMessageA(m_mainWindow, WM_COMMAND, id, 0);
}

bool RunningProgram::SendCommand(UINT id, DWORD timeoutMs) const {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(m_mainWindow, WM_COMMAND, id, 0, SMTO_NORMAL, timeoutMs, &result) !=
           0;
}

void RunningProgram::PostTrayNotify(UINT mouseMessage, WPARAM iconId, HWND target) const {
    PostMessageA(target ? target : m_mainWindow, kTrayCallback, iconId, mouseMessage);
}

bool RunningProgram::SendTrayNotify(UINT mouseMessage, WPARAM iconId, HWND target) const {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(target ? target : m_mainWindow, kTrayCallback, iconId, mouseMessage,
                               SMTO_NORMAL, kGenerousMs, &result) != 0;
}

bool RunningProgram::TickPoll() const {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(m_mainWindow, WM_TIMER, kPollTimer, 0, SMTO_NORMAL, kGenerousMs,
                               &result) != 0;
}

bool RunningProgram::TickHideTimer() const {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(m_mainWindow, WM_TIMER, kHideTimer, 0, SMTO_NORMAL, kGenerousMs,
                               &result) != 0;
}

int RunningProgram::AnimationThreads() const {
    // The program's image: where its own threads start.
    UniqueHandle modules(CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, ProcessId()));
    MODULEENTRY32 image{};
    image.dwSize = sizeof image;
    if (!modules.Valid() || !Module32First(modules.Get(), &image)) {
        return -1;
    }
    const auto imageStart = reinterpret_cast<ULONG_PTR>(image.modBaseAddr);
    const ULONG_PTR imageEnd = imageStart + image.modBaseSize;

    using QueryThreadFn = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    constexpr int kWin32StartAddress = 9;
    const auto query = reinterpret_cast<QueryThreadFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationThread")));
    UniqueHandle threads(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    THREADENTRY32 thread{};
    thread.dwSize = sizeof thread;
    if (query == nullptr || !threads.Valid() || !Thread32First(threads.Get(), &thread)) {
        return -1;
    }
    const DWORD uiThread = m_mainWindow ? GetWindowThreadProcessId(m_mainWindow, nullptr) : 0;
    int count = 0;
    do {
        if (thread.th32OwnerProcessID != ProcessId() || thread.th32ThreadID == uiThread) {
            continue;
        }
        UniqueHandle opened(OpenThread(THREAD_QUERY_INFORMATION, FALSE, thread.th32ThreadID));
        ULONG_PTR start = 0;
        if (opened.Valid() &&
            query(opened.Get(), kWin32StartAddress, &start, sizeof start, nullptr) == 0 &&
            start >= imageStart && start < imageEnd) {
            ++count;
        }
    } while (Thread32Next(threads.Get(), &thread));
    return count;
}

} // namespace e2e
