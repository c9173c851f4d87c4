// Times one full repaint of the pop-up: the program's own CNowPlayingWnd,
// one per skin of a skin folder, paints an eight-tile (362-pixel)
// pop-up with a three-line track text into a memory DC, as it paints the
// screen on WM_PAINT.
//
//   bench-paint.exe <skin folder>
//
// Prints "paint.width <pixels>" and, per skin, "paint.<skin>.median_us <µs>"
// (blanks in skin names become underscores).
#include "app/NowPlayingWnd.h"
#include "config/Settings.h"
#include "res/resource.h"
#include "support/Handles.h"

#include "../driver/Statistics.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kWarmUpPaints = 50;
constexpr int kTimedPaints = 2000;
constexpr int kEightTiles = 2 + 8 * kTileWidth;

// The pop-up object with a window but none of the program's start-up: no
// settings file, no timer, no player.
class BenchPopup : public CNowPlayingWnd {
  public:
    BenchPopup() : CNowPlayingWnd(nullptr) { Create(IDD_NOWPLAYING); }

  protected:
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE);
        return TRUE;
    }
};

// Measured as the program measures it: in the window's font.
int TextWidth(HWND window, const std::string& text) {
    RECT rect{0, 0, 0, 0};
    HDC dc = GetDC(window);
    DrawTextA(dc, text.c_str(), -1, &rect, DT_CALCRECT | DT_NOPREFIX | DT_NOCLIP);
    ReleaseDC(window, dc);
    return rect.right - rect.left;
}

// A track text that makes the pop-up eight tiles wide.
std::string EightTileText(HWND window) {
    std::string title = "Bench Song";
    std::string text;
    do {
        title += " la";
        text = "Bench Artist\n" + title + "\nWinamp";
    } while (ComputePopupLayout(TextWidth(window, text)).layout.Width() < kEightTiles);
    return text;
}

std::vector<std::string> SkinNames(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*.ini").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::string name = found.cFileName;
        names.push_back(name.substr(0, name.size() - 4));
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

// Times every pop-up's repaints in turn, round after round, so that a change
// in the machine's load falls on all skins alike. Returns each one's median.
std::vector<double> MedianPaintUs(const std::vector<std::unique_ptr<BenchPopup>>& popups, HDC dc) {
    for (int i = 0; i < kWarmUpPaints; ++i) {
        for (const auto& popup : popups)
            popup->PaintPopup(dc);
    }
    std::vector<std::vector<double>> times(popups.size());
    for (int i = 0; i < kTimedPaints; ++i) {
        for (size_t p = 0; p < popups.size(); ++p) {
            bench::Stopwatch clock;
            popups[p]->PaintPopup(dc);
            GdiFlush();
            times[p].push_back(clock.ElapsedMs() * 1000.0);
        }
    }
    std::vector<double> medians;
    for (const std::vector<double>& samples : times)
        medians.push_back(bench::Median(samples));
    return medians;
}

std::string ReportName(std::string skin) {
    for (char& c : skin) {
        if (c == ' ')
            c = '_';
    }
    return skin;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench-paint <skin folder>\n");
        return 2;
    }
    std::string folder = argv[1];
    if (folder.back() != '\\' && folder.back() != '/')
        folder += '\\';
    SetSkinDirectory(folder);

    // One pop-up per skin, each with the skin loaded as the program loads it.
    const std::vector<std::string> skins = SkinNames(folder);
    std::vector<std::unique_ptr<BenchPopup>> popups;
    for (const std::string& skin : skins) {
        g_settingsIni.SetString(kPreferencesSection, kSkinKey, skin, true);
        popups.push_back(std::make_unique<BenchPopup>());
        popups.back()->LoadSkin();
    }
    if (popups.empty()) {
        std::fprintf(stderr, "bench-paint: no skins in %s\n", folder.c_str());
        return 1;
    }
    const std::string text = EightTileText(*popups.front());
    const int width = ComputePopupLayout(TextWidth(*popups.front(), text)).layout.Width();
    for (const auto& popup : popups) {
        popup->SetTrackText(text);
        popup->LayoutPopup();
    }
    std::printf("paint.width %d\n", width);

    // A bitmap the pop-up's size, compatible with the screen, as a repaint's target.
    e2e::ScreenDc screen;
    e2e::MemoryDc memory(screen.Get());
    e2e::GdiObject canvas(CreateCompatibleBitmap(screen.Get(), width, kPopupHeight));
    e2e::SelectGuard selected(memory.Get(), canvas.Get());

    const std::vector<double> medians = MedianPaintUs(popups, memory.Get());
    for (size_t i = 0; i < skins.size(); ++i)
        std::printf("paint.%s.median_us %.1f\n", ReportName(skins[i]).c_str(), medians[i]);
    return 0;
}
