#include "PreferencesDriver.h"

#include "support/Wait.h"

#include <vector>

namespace bench {
namespace {

constexpr int kSkinList = 1000;
constexpr char kPreferencesTitle[] = "Preferences";

HWND WaitForPreferences(const e2e::RunningProgram& program) {
    HWND found = nullptr;
    e2e::WaitUntil(
        [&] {
            for (HWND dialog : program.OtherDialogs()) {
                char title[64] = {};
                GetWindowTextA(dialog, title, sizeof title);
                if (std::string(title) == kPreferencesTitle)
                    found = dialog;
            }
            return found != nullptr;
        },
        e2e::kGenerousMs, 2);
    return found;
}

// The list's entries. Across processes Wine answers the A form of
// CB_GETLBTEXT in UTF-16, so they are read in the W form.
std::vector<std::string> SkinEntries(HWND list) {
    std::vector<std::string> entries;
    const LRESULT count = SendMessageW(list, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(list, CB_GETLBTEXTLEN, i, 0);
        std::wstring wide(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
        SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(wide.data()));
        char narrow[1024] = {};
        WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, narrow, sizeof narrow, nullptr, nullptr);
        entries.push_back(narrow);
    }
    return entries;
}

} // namespace

bool ChooseSkinInPreferences(const e2e::RunningProgram& program, const std::string& skin) {
    program.PostCommand(e2e::kCommandPreferences);
    HWND dialog = WaitForPreferences(program);
    if (!dialog)
        return false;
    HWND list = GetDlgItem(dialog, kSkinList);
    const std::vector<std::string> entries = SkinEntries(list);
    WPARAM index = 0;
    while (index < entries.size() && entries[index] != skin)
        ++index;
    if (index == entries.size())
        return false;

    // As the user's choice reaches the dialog: the selection, then the
    // list's notification, then OK.
    DWORD_PTR result = 0;
    SendMessageTimeoutW(list, CB_SETCURSEL, index, 0, SMTO_NORMAL, e2e::kGenerousMs, &result);
    SendMessageTimeoutW(dialog, WM_COMMAND, MAKEWPARAM(kSkinList, CBN_SELCHANGE),
                        reinterpret_cast<LPARAM>(list), SMTO_NORMAL, e2e::kGenerousMs, &result);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    return e2e::WaitUntil([&] { return !IsWindow(dialog); }, e2e::kGenerousMs, 2);
}

} // namespace bench
