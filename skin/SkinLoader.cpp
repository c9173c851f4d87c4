// Loading a skin definition and its bitmaps.
#include "core/IniFile.h"
#include "core/SkinName.h"
#include "framework/CodePage.h"
#include "skin/SkinFont.h"
#include "skin/SkinInfo.h"

CIniFile LoadSkinDefinition(const std::string& folder, const std::string& name) {
    CIniFile skin(AnsiCharRule(), nullptr, LegacyToAnsi);
    // A name that leads out of the folder is a missing skin, and no file is
    // created for it anywhere.
    if (!IsSkinNameInsideFolder(name, AnsiCharRule()))
        return skin;
    skin.Load(folder + name + ".ini"); // a missing definition reads as an empty one
    return skin;
}

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

    font.DeleteObject();
    const std::optional<SkinFontSpec> named = SkinFontFromKeys(
        skin.GetString(kSkinSection, "font"), skin.GetString(kSkinSection, "fontsize"),
        skin.GetString(kSkinSection, "fontweight"));
    if (named)
        font.CreateFontIndirect(SkinFontRequest(*named));
}

void SkinInfo::ReleaseBitmaps() {
    hbmBackground.DeleteObject();
    hbmRightEnd.DeleteObject();
    hbmLeftEnd.DeleteObject();
    hbmPrev.DeleteObject();
    hbmNext.DeleteObject();
    hbmLyrics.DeleteObject();
}

void SkinInfo::Load(const std::string& name) {
    const std::string directory = SkinDirectory();
    const CIniFile skin = LoadSkinDefinition(directory, name);

    ReleaseBitmaps();
    SkinBackground::Load(skin, directory);
    // The icons prefix is glued to the file names as it stands: "abc" gives
    // abcprev.bmp, "abc\" the sub-folder abc.
    const std::string icons = directory + skin.GetString(kSkinSection, "icons");
    hbmPrev.LoadFromFile((icons + "prev.bmp").c_str());
    hbmNext.LoadFromFile((icons + "next.bmp").c_str());
    hbmLyrics.LoadFromFile((icons + "lyr.bmp").c_str());
}
