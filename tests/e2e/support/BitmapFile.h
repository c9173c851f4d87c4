// The bytes of 24-bit bitmap files of known colours, for tests that write
// skins of their own. Header only and without <windows.h>, so that the
// Windows-level tests and the end-to-end driver share it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace testbitmap {

struct Colour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
};

namespace detail {

template <class T> void AppendLittleEndian(std::string& bytes, T value) {
    for (std::size_t i = 0; i < sizeof value; ++i)
        bytes.push_back(static_cast<char>((static_cast<std::uint64_t>(value) >> (8 * i)) & 0xFF));
}

} // namespace detail

// A width × height bitmap whose pixel (x, y), y counted from the top, has the
// Colour colourAt(x, y). Rows are stored bottom-up, as usual, each padded to
// a multiple of four bytes.
template <class ColourAt> std::string BitmapFile(int width, int height, ColourAt colourAt) {
    using detail::AppendLittleEndian;
    const int stride = (width * 3 + 3) & ~3;
    std::string bytes = "BM";
    AppendLittleEndian<std::uint32_t>(bytes, static_cast<std::uint32_t>(54 + stride * height));
    AppendLittleEndian<std::uint32_t>(bytes, 0);  // reserved
    AppendLittleEndian<std::uint32_t>(bytes, 54); // where the pixels start
    AppendLittleEndian<std::uint32_t>(bytes, 40); // BITMAPINFOHEADER
    AppendLittleEndian<std::int32_t>(bytes, width);
    AppendLittleEndian<std::int32_t>(bytes, height);
    AppendLittleEndian<std::uint16_t>(bytes, 1);  // planes
    AppendLittleEndian<std::uint16_t>(bytes, 24); // bits per pixel
    for (int i = 0; i < 6; ++i)                   // no compression, sizes and palette unset
        AppendLittleEndian<std::uint32_t>(bytes, 0);
    for (int y = height - 1; y >= 0; --y) {
        std::string row;
        for (int x = 0; x < width; ++x) {
            const Colour colour = colourAt(x, y);
            row += {static_cast<char>(colour.blue), static_cast<char>(colour.green),
                    static_cast<char>(colour.red)};
        }
        row.resize(static_cast<std::size_t>(stride), '\0');
        bytes += row;
    }
    return bytes;
}

inline std::string SolidBitmapFile(int width, int height, Colour colour) {
    return BitmapFile(width, height, [colour](int, int) { return colour; });
}

} // namespace testbitmap
