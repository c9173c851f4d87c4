#include "support/FlatSkin.h"

#include "support/BitmapFile.h"
#include "support/Files.h"
#include "support/Paths.h"

namespace e2e {
namespace {

const Rgb kFlatTile{24, 40, 96};
const Rgb kFlatText{255, 230, 0}; // "text=0000E6FF"
const Rgb kFlatBorder{0, 255, 0}; // "border=0000FF00"
constexpr char kFlatColours[] = "text=0000E6FF\r\nborder=0000FF00\r\n";

} // namespace

void AddFlatSkin(const TestInstall& install, const std::string& name, const Rgb& tile,
                 const std::string& colourLines) {
    const std::string bitmap = name + ".bmp";
    WriteFileBytes(JoinPath(install.SkinFolder(), bitmap),
                   testbitmap::SolidBitmapFile(45, 64, {tile.r, tile.g, tile.b}));
    WriteFileBytes(JoinPath(install.SkinFolder(), name + ".ini"),
                   "[SKIN]\r\nimage=" + bitmap + "\r\nbgtype=0\r\n" + colourLines);
}

void InstallFlatSkin(const TestInstall& install) {
    AddFlatSkin(install, kFlatSkin, kFlatTile, kFlatColours);
}

SkinLook FlatLook() {
    return SkinLook{std::string(kFlatSkin) + ".bmp", "", "", "", kFlatText, kFlatBorder};
}

} // namespace e2e
