// CPopupView: one track text as the pop-up shows it — the skin it wears, the
// DPI it is laid out for, where the text, the buttons and the hover caption
// go, its painting and which button a point is on. The pop-up window owns one;
// the Preferences preview owns another.
#pragma once
#include "core/PopupLayout.h"
#include "skin/SkinInfo.h"
#include <string>

enum HoverValue { HOVER_NONE = 0, HOVER_LYRICS = 1, HOVER_NEXT = 2, HOVER_PREVIOUS = 3 };

class CPopupView {
  public:
    // LoadSkin: wears the skin "<name>.ini" of the skin directory (a missing
    // or unreadable definition gives a bare skin).
    void LoadSkin(const std::string& name);
    void ReleaseSkinBitmaps() { m_skin.ReleaseBitmaps(); }
    const SkinInfo& Skin() const { return m_skin; }

    // LayoutPopup's work: measures `text` in the skin's font as the system
    // scales it for `dpi`, and places everything for a pop-up just wide
    // enough for it (whole background tiles, at least seven).
    void Layout(std::string text, int dpi);
    // The narrowest pop-up at `dpi`, whatever the text measures.
    void LayoutNarrowest(std::string text, int dpi);
    const std::string& Text() const { return m_text; }
    int Dpi() const { return m_layout.dpi; }
    // The pop-up's size on the screen.
    int Width() const { return m_layout.layout.Width(); }
    int Height() const { return m_layout.layout.Height(); }

    // The button under `point` (the pop-up's own coordinates), if any.
    HoverValue HitTest(POINT point) const;
    HoverValue Hover() const { return m_hover; }
    // True when the hovered button changed; the caption then needs repainting.
    bool SetHover(HoverValue hover);
    RECT CaptionRect() const;

    // Frame, tiles, (buttons and hover caption,) text, with the pop-up's
    // top-left corner at `origin` of `dc`.
    void Paint(HDC dc, POINT origin = POINT{0, 0}, bool buttons = true) const;

  private:
    void Place(std::string text, int textWidth, int dpi);

    SkinInfo m_skin;
    PopupLayout m_layout = ComputePopupLayout(0);
    std::string m_text;
    HoverValue m_hover = HOVER_NONE;
};
