// Text in the code page in force (the process's ANSI code page: UTF-8 where
// the manifest's activeCodePage is honoured, the system's legacy code page
// before that): its character rule for the text helpers, the conversions
// from UTF-16 (what COM hands us) and to UTF-8 (what the web expects), and
// the reading of text older versions wrote in the legacy code page.
#pragma once
#include "core/Mbcs.h"
#include <string>
#include <string_view>

// How the code page in force measures its characters.
CharRule AnsiCharRule();

// UTF-16 text (null-terminated, or `length` units) in the code page in force;
// a null pointer is the empty text.
std::string WideToAnsi(const wchar_t* text, int length = -1);

// Text in the code page in force, as UTF-16.
std::wstring AnsiToWide(std::string_view ansi);

// Text in the code page in force, as UTF-8 (unchanged when that is UTF-8).
std::string AnsiToUtf8(std::string_view ansi);

// The system's legacy ANSI code page (the registry's code-page settings, or
// the system locale's default): what the process code page was before UTF-8.
unsigned LegacyAnsiCodePage();

// Text in the legacy code page, in the code page in force. Unchanged when
// the two are the same, the legacy one is not known, or it is UTF-8 itself.
std::string LegacyToAnsi(std::string_view legacy);
// The same, for the legacy code page `codePage`.
std::string LegacyToAnsi(std::string_view legacy, unsigned codePage);
