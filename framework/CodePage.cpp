#include "framework/CodePage.h"
#include <windows.h>
#include <vector>

bool AnsiLeadByte(unsigned char byte) {
    return ::IsDBCSLeadByte(byte) != FALSE;
}

namespace {

std::string WideTo(UINT codePage, const wchar_t* text, int length) {
    if (length <= 0)
        return {};
    const int bytes =
        ::WideCharToMultiByte(codePage, 0, text, length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return {};
    std::string out(static_cast<size_t>(bytes), '\0');
    ::WideCharToMultiByte(codePage, 0, text, length, out.data(), bytes, nullptr, nullptr);
    return out;
}

std::wstring ToWide(UINT codePage, std::string_view text) {
    const int size = static_cast<int>(text.size());
    const int units =
        size > 0 ? ::MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0) : 0;
    if (units <= 0)
        return {};
    std::wstring wide(static_cast<size_t>(units), L'\0');
    ::MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), units);
    return wide;
}

} // namespace

std::string WideToAnsi(const wchar_t* text, int length) {
    if (!text)
        return {};
    return WideTo(CP_ACP, text, length < 0 ? ::lstrlenW(text) : length);
}

std::string AnsiToUtf8(std::string_view ansi) {
    const std::wstring wide = ToWide(CP_ACP, ansi);
    return WideTo(CP_UTF8, wide.data(), static_cast<int>(wide.size()));
}
