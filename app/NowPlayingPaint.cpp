// The pop-up's layout (its width in whole background tiles and the places of
// text, buttons and caption) and its painting from the skin.
#include "app/NowPlayingWnd.h"

namespace {

constexpr UINT kMeasureFlags = DT_CALCRECT | DT_NOPREFIX | DT_NOCLIP;
constexpr UINT kTrackFlags = DT_NOPREFIX | DT_NOCLIP;
constexpr UINT kCaptionFlags = DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP;

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
    // Measured in the font the text is drawn in: the skin's, or the window's
    // default font. A window DC (rather than BeginPaint) leaves a pending
    // repaint alone.
    RECT measured{0, 0, 0, 0};
    if (HDC dc = ::GetDC(m_hWnd)) {
        {
            CSelectObject font(dc, m_skin.font);
            DrawAnsiText(dc, m_strTrack, &measured, kMeasureFlags);
        }
        ::ReleaseDC(m_hWnd, dc);
    }
    const PopupLayout layout = ComputePopupLayout(measured.right - measured.left);
    m_rcLayout = ToRECT(layout.layout);
    m_rcText = ToRECT(layout.text);
    m_rcPrev = ToRECT(layout.prev);
    m_rcNext = ToRECT(layout.next);
    m_rcLyrics = ToRECT(layout.lyrics);
    m_rcCaption = ToRECT(layout.caption);
    m_animator.SetPopupWidth(m_rcLayout.right);
}

void CNowPlayingWnd::OnPaint() {
    CPaintDC dc(m_hWnd);
    PaintPopup(dc);
}

void CNowPlayingWnd::PaintPopup(HDC dc) const {
    CMemoryDC memory;
    m_skin.Paint(dc, memory, POINT{0, 0}, m_rcLayout.right - m_rcLayout.left);

    // A button whose bitmap did not load shows what the memory context still holds.
    const std::pair<HBITMAP, const RECT*> buttons[] = {
        {m_skin.hbmPrev, &m_rcPrev}, {m_skin.hbmNext, &m_rcNext}, {m_skin.hbmLyrics, &m_rcLyrics}};
    for (const auto& [bitmap, rect] : buttons) {
        memory.SelectBitmap(bitmap);
        ::BitBlt(dc, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top,
                 memory, 0, 0, SRCCOPY);
    }

    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, m_skin.crText);
    CSelectObject font(dc, m_skin.font);
    if (const char* caption = HoverCaption(m_nHover)) {
        RECT captionRect = m_rcCaption;
        ::DrawTextA(dc, caption, -1, &captionRect, kCaptionFlags);
    }
    RECT textRect = m_rcText;
    DrawAnsiText(dc, m_strTrack, &textRect, kTrackFlags);
}
