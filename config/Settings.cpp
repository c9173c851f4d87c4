#include "config/Settings.h"
#include "framework/CodePage.h"
#include <windows.h>

namespace {
// A failed save must never leave a truncated settings file: the new file is
// written beside it and moved over it in one step.
bool ReplaceFileAtomically(const char* from, const char* to) {
    return ::MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}
} // namespace

CIniFile g_settingsIni(AnsiCharRule(), ReplaceFileAtomically, LegacyToAnsi);

std::string GetExeDir() {
    // The call cuts a path that does not fit: grow until it fits (paths can
    // be far longer than MAX_PATH).
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            return DirectoryOf(path, AnsiCharRule());
        }
        if (path.size() >= 0x10000 * 4)
            return {}; // no file system allows a longer path
        path.resize(path.size() * 2);
    }
}
