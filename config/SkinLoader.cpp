// Loads the skin named in the settings into the pop-up's SkinInfo.
#include "app/NowPlayingWnd.h"
#include "config/Settings.h"

namespace {
std::string& ChosenSkinDirectory() {
    static std::string directory;
    return directory;
}
} // namespace

std::string SkinDirectory() {
    const std::string& chosen = ChosenSkinDirectory();
    return chosen.empty() ? GetExeDir() + kSkinDirectory : chosen;
}

void SetSkinDirectory(const std::string& directory) {
    ChosenSkinDirectory() = directory;
}

void CNowPlayingWnd::ReleaseSkinBitmaps() {
    m_skin.hbmBackground.DeleteObject();
    m_skin.hbmRightEnd.DeleteObject();
    m_skin.hbmLeftEnd.DeleteObject();
    m_skin.hbmPrev.DeleteObject();
    m_skin.hbmNext.DeleteObject();
    m_skin.hbmLyrics.DeleteObject();
}

void CNowPlayingWnd::LoadSkin() {
    std::string name = g_settingsIni.GetString(kPreferencesSection, kSkinKey);
    if (name.empty()) {
        name = kDefaultSkinName;
        g_settingsIni.SetString(kPreferencesSection, kSkinKey, kDefaultSkinName, true);
        g_settingsIni.Save();
    }

    const std::string directory = SkinDirectory();
    CIniFile skin(AnsiLeadByte);
    skin.Load(directory + name + ".ini"); // a missing definition reads as an empty one

    ReleaseSkinBitmaps();
    m_skin.Load(skin, directory);
    // The icons prefix is glued to the file names as it stands: "abc" gives
    // abcprev.bmp, "abc\" the sub-folder abc.
    const std::string icons = directory + skin.GetString(kSkinSection, "icons");
    m_skin.hbmPrev.LoadFromFile((icons + "prev.bmp").c_str());
    m_skin.hbmNext.LoadFromFile((icons + "next.bmp").c_str());
    m_skin.hbmLyrics.LoadFromFile((icons + "lyr.bmp").c_str());
}
