// Text in the code page in force (the process's ANSI code page): its
// lead-byte test for the character-aware text helpers, and the conversions
// from UTF-16 (what COM hands us) and to UTF-8 (what the web expects).
#pragma once
#include <string>
#include <string_view>

// True when `byte` opens a double-byte character in the code page in force.
bool AnsiLeadByte(unsigned char byte);

// UTF-16 text (null-terminated, or `length` units) in the code page in force;
// a null pointer is the empty text.
std::string WideToAnsi(const wchar_t* text, int length = -1);

// Text in the code page in force, as UTF-8.
std::string AnsiToUtf8(std::string_view ansi);
