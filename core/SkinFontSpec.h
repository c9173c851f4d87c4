#pragma once
// The font a skin may name for the pop-up's text ([SKIN] font=, fontsize=,
// fontweight=). Without a face the pop-up keeps the system font.

#include <optional>
#include <string>
#include <string_view>

struct SkinFontSpec {
    std::string face; // in the code page in force
    int points = 0;
    int weight = 0; // 1 (thin) to 1000 (heavy); 400 normal, 700 bold
};

constexpr int kDefaultSkinFontPoints = 10;
constexpr int kMaxSkinFontPoints = 72;
constexpr int kDefaultSkinFontWeight = 400;

// The font the three values name, nothing when `face` is empty. A size that
// is missing or not positive is the default size, a larger one than
// kMaxSkinFontPoints that maximum; a missing or zero weight is normal, others
// are held to 1..1000. Numbers read as the INI store reads them.
std::optional<SkinFontSpec> SkinFontFromKeys(std::string_view face, std::string_view size,
                                             std::string_view weight);

// The character height (negative, as a font request gives it) of a font of
// `points` points on a device of `dpi` dots per inch, rounded to the nearest pixel.
int FontHeightForPoints(int points, int dpi);
