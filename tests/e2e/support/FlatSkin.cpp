#include "support/FlatSkin.h"

#include "support/BitmapFile.h"
#include "support/Files.h"
#include "support/Paths.h"

namespace e2e {

void AddFlatSkin(const TestInstall& install, const std::string& name, const Rgb& tile,
                 const std::string& colourLines) {
    const std::string bitmap = name + ".bmp";
    WriteFileBytes(JoinPath(install.SkinFolder(), bitmap),
                   testbitmap::SolidBitmapFile(45, 64, {tile.r, tile.g, tile.b}));
    WriteFileBytes(JoinPath(install.SkinFolder(), name + ".ini"),
                   "[SKIN]\r\nimage=" + bitmap + "\r\nbgtype=0\r\n" + colourLines);
}

} // namespace e2e
