#pragma once
// A Shift-JIS-like double-byte code page for tests: 0x81-0x9F and 0xE0-0xFC
// open a two-byte character whose trail byte may look like ASCII.

inline bool ShiftJisLead(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}
