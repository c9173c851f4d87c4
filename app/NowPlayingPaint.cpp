// The pop-up's layout (its width in whole background tiles and the places of
// text, buttons and caption) and its painting from the skin.
#include "app/NowPlayingWnd.h"
#include "framework/Dpi.h"

namespace {

constexpr UINT kMeasureFlags = DT_CALCRECT | DT_NOPREFIX | DT_NOCLIP;
constexpr UINT kTrackFlags = DT_NOPREFIX | DT_NOCLIP;
constexpr UINT kCaptionFlags = DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP;
constexpr int kButtonWidth = 13, kButtonHeight = 16; // the buttons' bitmaps, at 96 DPI

RECT ToRECT(const Rect& rect) {
    return RECT{rect.left, rect.top, rect.right, rect.bottom};
}

const char* HoverCaption(HoverValue hover) {
    switch (hover) {
    case HOVER_LYRICS:
        return "Lyrics";
    case HOVER_NEXT:
        return "Next";
    case HOVER_PREVIOUS:
        return "Previous";
    default:
        return nullptr;
    }
}

} // namespace

void CNowPlayingWnd::LayoutPopup() {
    // From now on the buttons act on this track's player.
    m_pShownSource = m_pSource;
    LayoutText(m_strTrack);
}

void CNowPlayingWnd::LayoutText(std::string text) {
    // Measured in the font the text is drawn in: the skin's, or the window's
    // default font, as the system scales it for the pop-up's DPI. A window DC
    // (rather than BeginPaint) leaves a pending repaint alone.
    RECT measured{0, 0, 0, 0};
    if (HDC dc = ::GetDC(m_hWnd)) {
        {
            const CSelectObject skinFont(dc, m_skin.font);
            const CDpiFont font(dc, m_nDpi);
            DrawAnsiText(dc, text, &measured, kMeasureFlags);
        }
        ::ReleaseDC(m_hWnd, dc);
    }
    const PopupLayout layout = ComputePopupLayout(measured.right - measured.left, m_nDpi);
    m_nBaseWidth = layout.baseWidth;
    m_strShown = std::move(text);
    m_rcLayout = ToRECT(layout.layout);
    m_rcText = ToRECT(layout.text);
    m_rcPrev = ToRECT(layout.prev);
    m_rcNext = ToRECT(layout.next);
    m_rcLyrics = ToRECT(layout.lyrics);
    m_rcCaption = ToRECT(layout.caption);
    m_animator.SetPopupGeometry({m_rcLayout.right, m_nDpi});
}

POINT CNowPlayingWnd::RestPoint() const {
    return POINT{ScaleForDpi(kRestX, m_nDpi), ScaleForDpi(kRestY, m_nDpi)};
}

void CNowPlayingWnd::ApplyDpi(int dpi) {
    m_nDpi = UsableDpi(dpi);
    LayoutText(m_strShown);
    // Up and still: it takes its new size in place (a moving pop-up ends its
    // move in the size it started with; the next one has the new size).
    if (m_animator.State() == ANIM_IDLE && m_animator.IsShown()) {
        const POINT rest = RestPoint();
        SetWindowPos(nullptr, rest.x, rest.y, m_rcLayout.right, m_rcLayout.bottom,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        InvalidateRect(nullptr, TRUE);
    }
}

LRESULT CNowPlayingWnd::OnDpiChanged(WPARAM, LPARAM) {
    // The message speaks of the monitor the window is on now, which during
    // an animation may be any the path crosses: the pop-up is laid out for
    // the monitor it rests on.
    ApplyDpi(MonitorDpiAt(POINT{kRestX, kRestY}));
    return 0;
}

LRESULT CNowPlayingWnd::OnDisplayChange(WPARAM, LPARAM) {
    ApplyDpi(MonitorDpiAt(POINT{kRestX, kRestY}));
    return 0;
}

void CNowPlayingWnd::OnPaint() {
    CPaintDC dc(m_hWnd);
    PaintPopup(dc);
}

void CNowPlayingWnd::PaintPopup(HDC dc) const {
    CMemoryDC memory;
    m_skin.Paint(dc, memory, POINT{0, 0}, m_nBaseWidth, m_nDpi);

    // A button whose bitmap did not load shows what the memory context still holds.
    const std::pair<HBITMAP, const RECT*> buttons[] = {
        {m_skin.hbmPrev, &m_rcPrev}, {m_skin.hbmNext, &m_rcNext}, {m_skin.hbmLyrics, &m_rcLyrics}};
    for (const auto& [bitmap, rect] : buttons) {
        memory.SelectBitmap(bitmap);
        DrawSkinPiece(dc, *rect, memory, kButtonWidth, kButtonHeight);
    }

    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, m_skin.crText);
    const CSelectObject skinFont(dc, m_skin.font);
    const CDpiFont font(dc, m_nDpi);
    if (const char* caption = HoverCaption(m_nHover)) {
        RECT captionRect = m_rcCaption;
        ::DrawTextA(dc, caption, -1, &captionRect, kCaptionFlags);
    }
    RECT textRect = m_rcText;
    DrawAnsiText(dc, m_strShown, &textRect, kTrackFlags);
}
