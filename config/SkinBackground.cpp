// Loading and painting a skin's frame and background tiles, shared by the
// pop-up and the Preferences preview.
#include "app/PopupLayout.h"
#include "config/IniFile.h"
#include "config/SkinInfo.h"

void SkinBackground::Load(const CIniFile& skin, const std::string& folder) {
    hbmBackground.DeleteObject();
    hbmRightEnd.DeleteObject();
    hbmLeftEnd.DeleteObject();
    hbmBackground.LoadFromFile((folder + skin.GetString(kSkinSection, "image")).c_str());
    // End tiles only for a three-piece background; otherwise their keys are not read.
    if (skin.GetInt(kSkinSection, "bgtype") != 0) {
        hbmRightEnd.LoadFromFile((folder + skin.GetString(kSkinSection, "imager")).c_str());
        hbmLeftEnd.LoadFromFile((folder + skin.GetString(kSkinSection, "imagel")).c_str());
    }
    crText = skin.GetHex(kSkinSection, "text");
    brBorder.DeleteObject();
    brBorder.CreateSolidBrush(skin.GetHex(kSkinSection, "border"));
}

void SkinBackground::Paint(HDC dc, CMemoryDC& memory, POINT origin, int width) const {
    memory.SelectBitmap(hbmBackground);
    RECT frame{origin.x, origin.y, origin.x + width, origin.y + kPopupHeight};
    if (brBorder)
        ::FrameRect(dc, &frame, brBorder);

    // A three-piece background needs its right end; without it every tile is
    // the middle tile. A bitmap that did not load cannot be selected, so the
    // one before it stays: a missing left end shows the middle tile.
    const int tiles = PopupTileCount(width);
    for (int i = 0; i < tiles; ++i) {
        if (hbmRightEnd) {
            if (i == 0)
                memory.SelectBitmap(hbmLeftEnd);
            else if (i == 1)
                memory.SelectBitmap(hbmBackground);
            else if (i == tiles - 1)
                memory.SelectBitmap(hbmRightEnd);
        }
        ::BitBlt(dc, origin.x + 1 + kTileWidth * i, origin.y + 1, kTileWidth, kTileHeight, memory,
                 0, 0, SRCCOPY);
    }
}
