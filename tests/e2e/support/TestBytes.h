// Hostile test data as bytes: a string literal with the NULs inside it, and
// random bytes that are the same on every run. Header only and without
// <windows.h>, so that the Windows-level and end-to-end tests share it.
#pragma once

#include <cstddef>
#include <random>
#include <string>

namespace testbytes {

// A string literal's bytes, NULs included.
template <std::size_t N> std::string Bytes(const char (&literal)[N]) {
    return std::string(literal, N - 1);
}

// `size` bytes drawn from a generator started with `seed`.
inline std::string RandomBytes(std::size_t size, unsigned seed) {
    std::mt19937 generator(seed);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string bytes(size, '\0');
    for (char& c : bytes) {
        c = static_cast<char>(byte(generator));
    }
    return bytes;
}

} // namespace testbytes
