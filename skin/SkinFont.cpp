// Making a skin's font: its face, or a stand-in when the face is missing.
#include "skin/SkinFont.h"
#include "framework/CodePage.h"
#include "framework/Dpi.h"
#include <cwchar>

namespace {

int CALLBACK NoteFamily(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0; // one is enough
}

} // namespace

bool IsFontFaceInstalled(const std::wstring& face) {
    if (face.empty() || face.size() >= LF_FACESIZE)
        return false; // no installed family has a name this long
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    std::wcsncpy(query.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    bool found = false;
    const CWindowDC screen(nullptr);
    if (screen)
        ::EnumFontFamiliesExW(screen, &query, NoteFamily, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

LOGFONTW SkinFontRequest(const SkinFontSpec& spec) {
    LOGFONTW font{};
    font.lfHeight = FontHeightForPoints(spec.points, SystemDpi());
    font.lfWeight = spec.weight;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfOutPrecision = OUT_TT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    const std::wstring face = AnsiToWide(spec.face);
    const std::wstring chosen = IsFontFaceInstalled(face) ? face : kFallbackFontFace;
    std::wcsncpy(font.lfFaceName, chosen.c_str(), LF_FACESIZE - 1);
    return font;
}
