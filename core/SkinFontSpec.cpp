#include "core/SkinFontSpec.h"

#include "core/IniFile.h"

#include <algorithm>

std::optional<SkinFontSpec> SkinFontFromKeys(std::string_view face, std::string_view size,
                                             std::string_view weight) {
    if (face.empty())
        return std::nullopt;
    SkinFontSpec spec;
    spec.face = std::string(face);
    const int points = ParseIniInt(size);
    spec.points = points <= 0 ? kDefaultSkinFontPoints : std::min(points, kMaxSkinFontPoints);
    const int boldness = ParseIniInt(weight);
    spec.weight = boldness == 0 ? kDefaultSkinFontWeight : std::clamp(boldness, 1, 1000);
    return spec;
}

int FontHeightForPoints(int points, int dpi) {
    const long long scaled = static_cast<long long>(points) * dpi;
    return -static_cast<int>((scaled + 36) / 72);
}
