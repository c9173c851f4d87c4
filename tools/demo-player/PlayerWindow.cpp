#include "PlayerWindow.h"

#include <cwchar>
#include <string>

namespace demo {
namespace {

// The player is a Unicode window, so its title holds tracks in any script.
const wchar_t kClassName[] = L"Winamp v1.x"; // kWinampClass

constexpr UINT_PTR kTickTimer = 1;
constexpr unsigned kTickMs = 250;
// Each track "plays" this long, so a watcher sees a change every few breaths.
constexpr unsigned kTrackMs = 10000;

constexpr int kClientWidth = 360;
constexpr int kClientHeight = 132;
constexpr int kMargin = 12;
constexpr int kButtonWidth = 72;
constexpr int kButtonHeight = 26;

const COLORREF kBackground = RGB(28, 32, 44);
const COLORREF kArtistColour = RGB(255, 214, 102);
const COLORREF kTitleColour = RGB(236, 240, 248);
const COLORREF kDimColour = RGB(140, 150, 170);
const COLORREF kBarBackground = RGB(58, 64, 82);
const COLORREF kBarColour = RGB(94, 196, 160);

HFONT MakeFont(int height, int weight) {
    // Any character set, so that font linking supplies other scripts.
    return CreateFontW(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, L"Tahoma");
}

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

std::wstring MinutesSeconds(unsigned ms) {
    wchar_t text[16];
    std::swprintf(text, 16, L"%u:%02u", ms / 60000, ms / 1000 % 60);
    return text;
}

// Draws text in a rectangle with a font and colour, leaving the DC as it was.
void DrawLabel(HDC dc, const std::wstring& text, RECT rect, HFONT font, COLORREF colour,
               UINT format) {
    HGDIOBJ previous = SelectObject(dc, font);
    SetTextColor(dc, colour);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect,
              format | DT_NOPREFIX | DT_SINGLELINE | DT_END_ELLIPSIS);
    SelectObject(dc, previous);
}

} // namespace

PlayerWindow::PlayerWindow(HINSTANCE instance)
    : m_instance(instance), m_textFont(MakeFont(13, FW_NORMAL)),
      m_artistFont(MakeFont(16, FW_BOLD)), m_smallFont(MakeFont(11, FW_NORMAL)) {}

PlayerWindow::~PlayerWindow() {
    if (m_window) {
        DestroyWindow(m_window);
    }
    DeleteObject(m_textFont);
    DeleteObject(m_artistFont);
    DeleteObject(m_smallFont);
}

bool PlayerWindow::Create(int showCommand) {
    WNDCLASSW windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = &PlayerWindow::WindowProc;
    windowClass.hInstance = m_instance;
    windowClass.hIcon = LoadIconW(nullptr, MAKEINTRESOURCEW(32512));
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassW(&windowClass)) {
        return false;
    }

    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    RECT frame = {0, 0, kClientWidth, kClientHeight};
    AdjustWindowRect(&frame, style, FALSE);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    // Top right of the screen, clear of the pop-up's place at the top left.
    const int x = GetSystemMetrics(SM_CXSCREEN) - width - 48;
    const int y = 96;
    m_window = CreateWindowExW(0, kClassName, m_playlist.WindowTitle(false).c_str(), style, x, y,
                               width, height, nullptr, nullptr, m_instance, this);
    if (!m_window) {
        return false;
    }
    ShowWindow(m_window, showCommand);
    UpdateWindow(m_window);
    return true;
}

LRESULT CALLBACK PlayerWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* self = static_cast<PlayerWindow*>(create->lpCreateParams);
        self->m_window = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<PlayerWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->Handle(message, wParam, lParam);
}

LRESULT PlayerWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        OnCreate();
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam));
        return 0;
    case WM_TIMER:
        if (wParam == kTickTimer) {
            OnTick();
        }
        return 0;
    case WM_ERASEBKGND:
        return 1; // the paint covers everything
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_DESTROY:
        KillTimer(m_window, kTickTimer);
        m_window = nullptr;
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(m_window, message, wParam, lParam);
    }
}

void PlayerWindow::OnCreate() {
    struct Button {
        const wchar_t* label;
        WORD id;
    };
    const Button buttons[] = {
        {L"<<  Prev", kCommandPrevious}, {L"Pause", kCommandPause}, {L"Next  >>", kCommandNext}};
    const int top = kClientHeight - kMargin - kButtonHeight;
    int left = (kClientWidth - 3 * kButtonWidth - 2 * 8) / 2;
    for (const Button& button : buttons) {
        HWND control = CreateWindowExW(
            0, L"BUTTON", button.label, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, left,
            top, kButtonWidth, kButtonHeight, m_window,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(button.id)), m_instance, nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(m_textFont), FALSE);
        if (button.id == kCommandPause) {
            m_pauseButton = control;
        }
        left += kButtonWidth + 8;
    }
    SetTimer(m_window, kTickTimer, kTickMs, nullptr);
}

void PlayerWindow::OnCommand(WORD id) {
    switch (id) {
    case kCommandPrevious:
        m_playlist.Previous();
        StartTrack();
        break;
    case kCommandNext:
        m_playlist.Next();
        StartTrack();
        break;
    case kCommandPlay:
        SetPaused(false);
        break;
    case kCommandPause:
        SetPaused(!m_paused);
        break;
    default:
        break;
    }
}

void PlayerWindow::OnTick() {
    if (m_paused) {
        return;
    }
    m_elapsedMs += kTickMs;
    if (m_elapsedMs >= kTrackMs) {
        m_playlist.Next();
        StartTrack();
    } else {
        InvalidateRect(m_window, nullptr, FALSE);
    }
}

// Previous and Next start the new track playing, as Winamp does.
void PlayerWindow::StartTrack() {
    m_elapsedMs = 0;
    m_paused = false;
    Refresh();
}

void PlayerWindow::SetPaused(bool paused) {
    m_paused = paused;
    Refresh();
}

void PlayerWindow::Refresh() {
    SetWindowTextW(m_window, m_playlist.WindowTitle(m_paused).c_str());
    AnnounceTitle();
    SetWindowTextW(m_pauseButton, m_paused ? L"Play" : L"Pause");
    InvalidateRect(m_window, nullptr, FALSE);
}

// Windows announces a new window title to accessibility hooks, which is how
// Trackglow hears of a new track at once; Wine does not, so the player does.
void PlayerWindow::AnnounceTitle() {
    // Wine notes which hooks exist only when a thread retrieves a message:
    // retrieve one first, so a hook set since the last one hears this.
    MSG msg;
    PostThreadMessageA(GetCurrentThreadId(), WM_NULL, 0, 0);
    PeekMessageA(&msg, reinterpret_cast<HWND>(-1), WM_NULL, WM_NULL, PM_REMOVE);
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, m_window, OBJID_WINDOW, CHILDID_SELF);
}

void PlayerWindow::OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_window, &paint);
    RECT client;
    GetClientRect(m_window, &client);
    // Drawn off screen first, so the once-a-tick repaint does not flicker.
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, client.right, client.bottom);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    Paint(memory, client);
    BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    EndPaint(m_window, &paint);
}

void PlayerWindow::Paint(HDC dc, const RECT& client) {
    FillSolid(dc, client, kBackground);
    SetBkMode(dc, TRANSPARENT);

    const Track& track = m_playlist.CurrentTrack();
    const int right = client.right - kMargin;
    const std::wstring position = L"Track " + std::to_wstring(m_playlist.Current() + 1) + L" of " +
                                  std::to_wstring(Playlist::Size()) +
                                  (m_paused ? L"  \u2022  paused" : L"  \u2022  playing");
    DrawLabel(dc, position, RECT{kMargin, 8, right, 22}, m_smallFont, kDimColour, DT_LEFT);
    DrawLabel(dc, track.artist, RECT{kMargin, 24, right, 44}, m_artistFont, kArtistColour, DT_LEFT);
    DrawLabel(dc, track.title, RECT{kMargin, 46, right, 64}, m_textFont, kTitleColour, DT_LEFT);

    // Progress bar with the elapsed and total time beside it.
    const int barTop = 72;
    const int barRight = right - 76;
    FillSolid(dc, RECT{kMargin, barTop, barRight, barTop + 6}, kBarBackground);
    const int filled = kMargin + static_cast<int>(static_cast<long long>(barRight - kMargin) *
                                                  m_elapsedMs / kTrackMs);
    FillSolid(dc, RECT{kMargin, barTop, filled, barTop + 6}, kBarColour);
    DrawLabel(dc, MinutesSeconds(m_elapsedMs) + L" / " + MinutesSeconds(kTrackMs),
              RECT{barRight + 8, barTop - 4, right, barTop + 10}, m_smallFont, kDimColour,
              DT_RIGHT);
}

} // namespace demo
