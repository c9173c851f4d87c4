#include "support/Png.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace e2e {
namespace {

std::uint32_t Crc32(const std::string& bytes, size_t from) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            }
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = from; i < bytes.size(); ++i) {
        crc = table[(crc ^ static_cast<std::uint8_t>(bytes[i])) & 0xFF] ^ (crc >> 8);
    }
    return crc ^ 0xFFFFFFFFu;
}

std::uint32_t Adler32(const std::string& bytes) {
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (char c : bytes) {
        a = (a + static_cast<std::uint8_t>(c)) % 65521u;
        b = (b + a) % 65521u;
    }
    return (b << 16) | a;
}

void PutBigEndian32(std::string& out, std::uint32_t value) {
    out += static_cast<char>(value >> 24);
    out += static_cast<char>(value >> 16);
    out += static_cast<char>(value >> 8);
    out += static_cast<char>(value);
}

void PutChunk(std::string& png, const char* type, const std::string& data) {
    PutBigEndian32(png, static_cast<std::uint32_t>(data.size()));
    const size_t typeStart = png.size();
    png.append(type, 4);
    png += data;
    PutBigEndian32(png, Crc32(png, typeStart));
}

// A zlib stream of stored (uncompressed) deflate blocks of at most 65535 bytes.
std::string StoredZlib(const std::string& raw) {
    std::string out("\x78\x01", 2);
    size_t done = 0;
    do {
        const size_t length = std::min<size_t>(raw.size() - done, 65535);
        const bool last = done + length == raw.size();
        out += static_cast<char>(last ? 1 : 0);
        out += static_cast<char>(length & 0xFF);
        out += static_cast<char>(length >> 8);
        out += static_cast<char>(~length & 0xFF);
        out += static_cast<char>((~length >> 8) & 0xFF);
        out.append(raw, done, length);
        done += length;
    } while (done < raw.size());
    PutBigEndian32(out, Adler32(raw));
    return out;
}

} // namespace

std::string EncodePng(int width, int height, const std::vector<std::uint8_t>& rgb) {
    if (width <= 0 || height <= 0 || rgb.size() != static_cast<size_t>(width) * height * 3) {
        throw std::invalid_argument("EncodePng: size and pixel count do not match");
    }
    // Each row starts with its filter type, 0 (none).
    std::string raw;
    raw.reserve(static_cast<size_t>(height) * (1 + width * 3));
    for (int y = 0; y < height; ++y) {
        raw += '\0';
        raw.append(reinterpret_cast<const char*>(rgb.data()) + static_cast<size_t>(y) * width * 3,
                   static_cast<size_t>(width) * 3);
    }

    std::string header;
    PutBigEndian32(header, static_cast<std::uint32_t>(width));
    PutBigEndian32(header, static_cast<std::uint32_t>(height));
    header += '\x08';       // bit depth
    header += '\x02';       // colour type: RGB
    header.append(3, '\0'); // deflate, adaptive filtering, no interlace

    std::string png("\x89PNG\r\n\x1a\n", 8);
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", StoredZlib(raw));
    PutChunk(png, "IEND", std::string());
    return png;
}

} // namespace e2e
