// A minimal PNG encoder for screenshots: 8-bit RGB, no compression (stored
// deflate blocks), so it needs no zlib. Files are large but any viewer
// opens them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace e2e {

// `rgb` holds width × height pixels, rows top to bottom, 3 bytes (R, G, B)
// per pixel. Returns the PNG file's bytes.
std::string EncodePng(int width, int height, const std::vector<std::uint8_t>& rgb);

} // namespace e2e
