#include "framework/CodePage.h"
#include <windows.h>
#include <cstdlib>

namespace {

bool AnsiLeadByte(unsigned char byte) {
    return ::IsDBCSLeadByte(byte) != FALSE;
}

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

bool IsUtf8Process() {
    return ::GetACP() == CP_UTF8;
}

// The "ACP" value of the registry's code-page settings; 0 when unreadable.
unsigned RegistryAnsiCodePage() {
    wchar_t value[16] = {};
    DWORD size = sizeof value - sizeof value[0];
    if (::RegGetValueW(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\Nls\\CodePage",
                       L"ACP", RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return 0;
    return static_cast<unsigned>(std::wcstoul(value, nullptr, 10));
}

unsigned LocaleAnsiCodePage() {
    wchar_t value[16] = {};
    if (::GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, value, 16) <= 0)
        return 0;
    return static_cast<unsigned>(std::wcstoul(value, nullptr, 10));
}

} // namespace

CharRule AnsiCharRule() {
    // GetACP cannot change while the process runs.
    static const CharRule rule = IsUtf8Process() ? CharRule::Utf8() : CharRule(AnsiLeadByte);
    return rule;
}

std::string WideToAnsi(const wchar_t* text, int length) {
    if (!text)
        return {};
    return WideTo(CP_ACP, text, length < 0 ? ::lstrlenW(text) : length);
}

std::wstring AnsiToWide(std::string_view ansi) {
    return ToWide(CP_ACP, ansi);
}

std::string AnsiToUtf8(std::string_view ansi) {
    if (IsUtf8Process())
        return std::string(ansi); // exactly as it is, malformed bytes included
    const std::wstring wide = ToWide(CP_ACP, ansi);
    return WideTo(CP_UTF8, wide.data(), static_cast<int>(wide.size()));
}

unsigned LegacyAnsiCodePage() {
    const unsigned registry = RegistryAnsiCodePage();
    return registry != 0 ? registry : LocaleAnsiCodePage();
}

std::string LegacyToAnsi(std::string_view legacy) {
    return LegacyToAnsi(legacy, LegacyAnsiCodePage());
}

std::string LegacyToAnsi(std::string_view legacy, unsigned codePage) {
    // Where the system's own code page is UTF-8 (or the one in force) there
    // is no older code page to read in: the bytes stay as they are.
    if (codePage == 0 || codePage == CP_UTF8 || codePage == ::GetACP() ||
        !::IsValidCodePage(codePage))
        return std::string(legacy);
    const std::wstring wide = ToWide(codePage, legacy);
    return WideTo(CP_ACP, wide.data(), static_cast<int>(wide.size()));
}
