#include "support/SkinList.h"

#include "support/Wait.h"

#include <algorithm>

namespace e2e {

std::vector<std::wstring> SkinEntriesW(HWND dialog) {
    HWND list = GetDlgItem(dialog, kSkinList);
    std::vector<std::wstring> entries;
    const LRESULT count = SendMessageW(list, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(list, CB_GETLBTEXTLEN, i, 0);
        std::wstring wide(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
        SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(wide.data()));
        entries.push_back(wide.c_str());
    }
    return entries;
}

std::vector<std::string> SkinEntries(HWND dialog) {
    std::vector<std::string> entries;
    for (const std::wstring& wide : SkinEntriesW(dialog)) {
        char narrow[1024] = {};
        WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, narrow, sizeof narrow, nullptr, nullptr);
        entries.push_back(narrow);
    }
    return entries;
}

int SelectedSkin(HWND dialog) {
    return static_cast<int>(SendMessageW(GetDlgItem(dialog, kSkinList), CB_GETCURSEL, 0, 0));
}

void ChooseSkin(HWND dialog, int index) {
    HWND list = GetDlgItem(dialog, kSkinList);
    DWORD_PTR result = 0;
    SendMessageTimeoutW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0, SMTO_NORMAL, kGenerousMs,
                        &result);
    SendMessageTimeoutW(dialog, WM_COMMAND, MAKEWPARAM(kSkinList, CBN_SELCHANGE),
                        reinterpret_cast<LPARAM>(list), SMTO_NORMAL, kGenerousMs, &result);
}

bool ChooseSkin(HWND dialog, const std::wstring& name) {
    const std::vector<std::wstring> entries = SkinEntriesW(dialog);
    const auto entry = std::find(entries.begin(), entries.end(), name);
    if (entry == entries.end()) {
        return false;
    }
    ChooseSkin(dialog, static_cast<int>(entry - entries.begin()));
    return true;
}

bool ChooseSkin(HWND dialog, const std::string& name) {
    const std::vector<std::string> entries = SkinEntries(dialog);
    const auto entry = std::find(entries.begin(), entries.end(), name);
    if (entry == entries.end()) {
        return false;
    }
    ChooseSkin(dialog, static_cast<int>(entry - entries.begin()));
    return true;
}

testing::AssertionResult ChooseSkinWithPreferences(const RunningProgram& program,
                                                   const std::string& skin) {
    program.PostCommand(kCommandPreferences);
    HWND dialog = program.WaitForDialog("Preferences");
    if (dialog == nullptr) {
        return testing::AssertionFailure() << "Preferences did not open";
    }
    if (!ChooseSkin(dialog, skin)) {
        return testing::AssertionFailure() << skin << " is not listed";
    }
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    if (!WaitUntil([&] { return !IsWindow(dialog); })) {
        return testing::AssertionFailure() << "Preferences did not close";
    }
    return testing::AssertionSuccess();
}

} // namespace e2e
