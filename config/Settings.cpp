#include "config/Settings.h"
#include <windows.h>

CIniFile g_settingsIni(AnsiLeadByte, ReplaceFileAtomically);

std::string DirectoryOf(const std::string& path) {
    const size_t separator = path.find_last_of("\\/");
    return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

std::string GetExeDir() {
    char path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    // A path that does not fit is cut by the call; treat it as unusable
    // rather than building paths from a truncated directory.
    if (length == 0 || length >= MAX_PATH)
        return {};
    return DirectoryOf(std::string(path, length));
}

bool AnsiLeadByte(unsigned char byte) { return ::IsDBCSLeadByte(byte) != FALSE; }

bool ReplaceFileAtomically(const char* from, const char* to) {
    return ::MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}
