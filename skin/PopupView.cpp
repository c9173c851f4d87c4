#include "skin/PopupView.h"
#include "framework/Dpi.h"

namespace {

constexpr UINT kMeasureFlags = DT_CALCRECT | DT_NOPREFIX | DT_NOCLIP;
constexpr UINT kTrackFlags = DT_NOPREFIX | DT_NOCLIP;
constexpr UINT kCaptionFlags = DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP;

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

void CPopupView::LoadSkin(const std::string& name) {
    m_skin.Load(name);
}

void CPopupView::Layout(std::string text, int dpi) {
    // Measured in the font the text is drawn in: the skin's, or the system
    // font, as the system scales it for the pop-up's DPI.
    RECT measured{0, 0, 0, 0};
    const CMemoryDC dc;
    if (dc) {
        const CSelectObject skinFont(dc, m_skin.font);
        const CDpiFont font(dc, dpi);
        DrawAnsiText(dc, text, &measured, kMeasureFlags);
    }
    Place(std::move(text), measured.right - measured.left, dpi);
}

void CPopupView::LayoutNarrowest(std::string text, int dpi) {
    Place(std::move(text), 0, dpi);
}

void CPopupView::Place(std::string text, int textWidth, int dpi) {
    m_layout = ComputePopupLayout(textWidth, dpi);
    m_text = std::move(text);
}

HoverValue CPopupView::HitTest(POINT point) const {
    if (m_layout.prev.Contains(point.x, point.y))
        return HOVER_PREVIOUS;
    if (m_layout.next.Contains(point.x, point.y))
        return HOVER_NEXT;
    if (m_layout.lyrics.Contains(point.x, point.y))
        return HOVER_LYRICS;
    return HOVER_NONE;
}

bool CPopupView::SetHover(HoverValue hover) {
    if (hover == m_hover)
        return false;
    m_hover = hover;
    return true;
}

RECT CPopupView::CaptionRect() const {
    return ToRECT(m_layout.caption);
}

void CPopupView::Paint(HDC dc, POINT origin, bool buttons) const {
    CMemoryDC memory;
    m_skin.Paint(dc, memory, origin, m_layout.baseWidth, m_layout.dpi);
    if (buttons) {
        // A button whose bitmap did not load shows what the memory context still holds.
        const std::pair<HBITMAP, const Rect*> pieces[] = {{m_skin.hbmPrev, &m_layout.prev},
                                                          {m_skin.hbmNext, &m_layout.next},
                                                          {m_skin.hbmLyrics, &m_layout.lyrics}};
        for (const auto& [bitmap, rect] : pieces) {
            memory.SelectBitmap(bitmap);
            DrawSkinPiece(dc, ToRECT(*rect, origin), memory, kButtonWidth, kButtonHeight);
        }
    }

    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, m_skin.crText);
    const CSelectObject skinFont(dc, m_skin.font);
    const CDpiFont font(dc, m_layout.dpi);
    if (const char* caption = buttons ? HoverCaption(m_hover) : nullptr) {
        RECT captionRect = ToRECT(m_layout.caption, origin);
        ::DrawTextA(dc, caption, -1, &captionRect, kCaptionFlags);
    }
    RECT textRect = ToRECT(m_layout.text, origin);
    DrawAnsiText(dc, m_text, &textRect, kTrackFlags);
}
