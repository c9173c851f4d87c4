#pragma once
// A lead-byte table that each fuzz input fills itself, so that the text
// helpers meet every kind of double-byte code page, real or not.

#include <cstddef>
#include <cstdint>

inline bool g_fuzzLeadBytes[256];

inline bool FuzzLeadByte(unsigned char byte) {
    return g_fuzzLeadBytes[byte];
}

// Takes up to 32 bytes (one bit per byte value) from the front of the input.
inline void TakeLeadTable(const uint8_t*& data, size_t& size) {
    for (int i = 0; i < 256; ++i)
        g_fuzzLeadBytes[i] = false;
    const size_t used = size < 32 ? size : 32;
    for (size_t i = 0; i < used * 8; ++i)
        g_fuzzLeadBytes[i] = (data[i / 8] >> (i % 8)) & 1;
    data += used;
    size -= used;
}
